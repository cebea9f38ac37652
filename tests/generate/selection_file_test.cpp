// Selection files: a saved text reads back as it was written, and every
// kind of damage is an error naming its line.
#include "generate/selection_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace velbrook::generate {
namespace {

const std::string kHeader =
    "velbrook selection 1\n"
    "library {B2ABFF04-1B1B-4128-A4F6-F4CE4E231C20}\n"
    "version 1.0\n"
    "lcid 1033\n"
    "path /lib/shapes.tlb\n"
    "style vtable\n"
    "generics off\n";

TEST(SelectionFileTest, ReadsBackWhatWasWritten) {
  const std::string text = kHeader +
                           "type Point\n"
                           "enumeration Colors\n"
                           "class Shape\n"
                           "event DShapeEvents\n";
  // CR LF line ends, blank lines and comments are read too.
  Result<Selection> read = ParseSelection(
      "velbrook selection 1\r\n# saved by hand\r\n\r\n" + text.substr(text.find('\n') + 1), "x");
  ASSERT_TRUE(read.ok()) << read.error().message;
  EXPECT_EQ(read->lcid, 1033u);
  EXPECT_FALSE(read->use_invoke);
  EXPECT_FALSE(read->include_generics);
  EXPECT_EQ(SelectionText(read.value()), text);
}

struct BadCase {
  std::string text;
  std::string error;  // the message after "sel:"
};

class BadSelectionTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadSelectionTest, IsAnErrorNamingTheLine) {
  Result<Selection> read = ParseSelection(GetParam().text, "sel");
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().kind, ErrorKind::kMalformedFile);
  EXPECT_EQ(read.error().message, "sel:" + GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, BadSelectionTest,
    ::testing::Values(
        BadCase{"", "1: the file is empty"},
        BadCase{"MSFT\x02\x01garbage", "1: the line holds control characters: not a text"},
        BadCase{"hello\n",
                "1: not a Velbrook selection file (it must start with \"velbrook selection 1\")"},
        BadCase{"velbrook selection 2\n",
                "1: format \"velbrook selection 2\" is not \"velbrook selection 1\": written by "
                "another version of Velbrook"},
        BadCase{kHeader + "type Point\n\x01\x02\n",
                "9: the line holds control characters: not a text"},
        BadCase{kHeader + "colour red\n", "8: unknown line \"colour\""},
        BadCase{kHeader + "type\n", "8: \"type\" without a name"},
        BadCase{kHeader + "style invoke\n", "8: a second \"style\" line (the first is line 6)"},
        BadCase{"velbrook selection 1\nlibrary shapes\n", "2: \"shapes\" is no library GUID"},
        BadCase{"velbrook selection 1\nversion 1\n", "2: \"1\" is no version MAJOR.MINOR"},
        BadCase{"velbrook selection 1\nlcid -1\n", "2: \"-1\" is no LCID"},
        BadCase{"velbrook selection 1\nstyle fast\n",
                "2: style \"fast\" is neither invoke nor vtable"},
        BadCase{"velbrook selection 1\ngenerics yes\n",
                "2: generics \"yes\" is neither on nor off"},
        BadCase{"velbrook selection 1\nlibrary {B2ABFF04-1B1B-4128-A4F6-F4CE4E231C20}\n",
                "2: no \"version\" line"},
        BadCase{kHeader + "type " + std::string(40000, 'x') + "\n",
                "8: the line is longer than any selection needs"}));

TEST(SelectionFileTest, RefusesAHugeFileUnread) {
  const std::string path = std::string(VELBROOK_BINARY_DIR) + "/test_output/huge.sel";
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  {
    std::ofstream out(path, std::ios::binary);
    out << kHeader << std::string(kMaxSelectionBytes, '#');
  }
  Result<Selection> read = ReadSelectionFile(path);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error().kind, ErrorKind::kTooLarge);
  EXPECT_NE(read.error().message.find("is too large for a selection file"), std::string::npos);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace velbrook::generate
