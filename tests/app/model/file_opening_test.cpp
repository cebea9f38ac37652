// What a library file's path opens, over the fixture libraries: a bare
// library, modules with one TYPELIB resource (the first, or another), a
// module with two, one of its resources named by "\N", and files that open
// nothing. The portable reader reads them on every platform.
#include "app/model/file_opening.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "sltg_writer.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::app {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr char kShapes[] = "Velbrook example: shapes with events";
constexpr char kShapesGuid[] = "{B2ABFF04-1B1B-4128-A4F6-F4CE4E231C20}";
constexpr char kTypes[] = "Velbrook fixture: parameter and constant variety";
constexpr char kTypesGuid[] = "{4B544B10-9065-4F51-93DB-59B397FF148F}";

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

// A path as the program receives it: under Windows the Wine Z: drive.
std::string ProgramPath(const fs::path& path) {
  std::string text = path.generic_string();
#ifdef _WIN32
  if (!text.empty() && text[0] == '/') text = "Z:" + text;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
#endif
  return text;
}

struct Expected {
  const char* file;
  const char* description;
  const char* guid;
  const char* path_suffix;  // after the file's own path
};

struct FileCase {
  const char* name;    // of the file in the test folder
  const char* suffix;  // appended to its path when opened
  FileOpeningKind kind;
  std::vector<Expected> libraries;
  const char* error_part;  // for kError: a part of the reader's message
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name << c.suffix; }

class FileOpeningTest : public ::testing::TestWithParam<FileCase> {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() /
           ("velbrook_file_opening_" +
            std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    const std::vector<uint8_t> shapes = ReadBytes(VELBROOK_IDL_FIXTURE_SHAPES);
    const std::vector<uint8_t> types = ReadBytes(VELBROOK_IDL_FIXTURE_TYPES);
    ASSERT_FALSE(shapes.empty());
    ASSERT_FALSE(types.empty());
    using typeinfo::msft::sltg_testing::WrapInPe;
    WriteBytes(dir_ / "shapes.tlb", shapes);
    WriteBytes(dir_ / "one.dll", WrapInPe(shapes, 1));
    WriteBytes(dir_ / "third.ocx", WrapInPe(types, 3));
    WriteBytes(dir_ / "two.dll", WrapInPe({{2, types}, {1, shapes}}));
    WriteBytes(dir_ / "notes.txt", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b', '\n'});
    std::vector<uint8_t> cut = WrapInPe(shapes, 1);
    cut.resize(0x210);  // headers whole, the resource directory cut short
    WriteBytes(dir_ / "cut.dll", cut);
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  static fs::path dir_;
};

fs::path FileOpeningTest::dir_;

TEST_P(FileOpeningTest, DecidesWhatThePathOpens) {
  const FileCase& c = GetParam();
  const std::string path = ProgramPath(dir_ / c.name) + c.suffix;
  typeinfo::msft::PortableOpener opener;
  const FileOpening opening = InspectLibraryFile(opener, path);
  ASSERT_EQ(opening.kind, c.kind) << opening.error;
  if (c.kind == FileOpeningKind::kError) {
    EXPECT_TRUE(opening.libraries.empty());
    EXPECT_THAT(opening.error, HasSubstr(c.error_part));
    return;
  }
  EXPECT_EQ(opening.error, "");
  ASSERT_EQ(opening.libraries.size(), c.libraries.size());
  for (size_t i = 0; i < c.libraries.size(); ++i) {
    const LibraryEntry& entry = opening.libraries[i];
    EXPECT_EQ(entry.file, c.libraries[i].file);
    EXPECT_EQ(entry.description, c.libraries[i].description);
    EXPECT_EQ(entry.clsid, c.libraries[i].guid);
    EXPECT_EQ(entry.path, ProgramPath(dir_ / c.name) + c.libraries[i].path_suffix);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileOpeningTest,
    ::testing::Values(FileCase{"shapes.tlb",
                               "",
                               FileOpeningKind::kOneLibrary,
                               {{"SHAPES.TLB", kShapes, kShapesGuid, ""}},
                               ""},
                      FileCase{"one.dll",
                               "",
                               FileOpeningKind::kOneLibrary,
                               {{"ONE.DLL", kShapes, kShapesGuid, ""}},
                               ""},
                      // The only resource is not the first: its number is needed.
                      FileCase{"third.ocx",
                               "",
                               FileOpeningKind::kOneLibrary,
                               {{"THIRD.OCX\\3", kTypes, kTypesGuid, "\\3"}},
                               ""},
                      FileCase{"two.dll",
                               "",
                               FileOpeningKind::kSeveralLibraries,
                               {{"TWO.DLL\\1", kShapes, kShapesGuid, "\\1"},
                                {"TWO.DLL\\2", kTypes, kTypesGuid, "\\2"}},
                               ""},
                      FileCase{"two.dll",
                               "\\2",
                               FileOpeningKind::kOneLibrary,
                               {{"TWO.DLL\\2", kTypes, kTypesGuid, "\\2"}},
                               ""},
                      FileCase{
                          "two.dll", "\\7", FileOpeningKind::kError, {}, "no TYPELIB resource 7"},
                      FileCase{"notes.txt", "", FileOpeningKind::kError, {}, "notes.txt"},
                      FileCase{"cut.dll", "", FileOpeningKind::kError, {}, "cut.dll"},
                      FileCase{"missing.tlb", "", FileOpeningKind::kError, {}, "missing.tlb"}));

TEST(WithoutResourceNumberTest, DropsOnlyATrailingNumber) {
  EXPECT_EQ(WithoutResourceNumber("C:\\a\\b.dll\\2"), "C:\\a\\b.dll");
  EXPECT_EQ(WithoutResourceNumber("C:\\a\\b.dll\\"), "C:\\a\\b.dll\\");
  EXPECT_EQ(WithoutResourceNumber("C:\\a\\b.dll"), "C:\\a\\b.dll");
  EXPECT_EQ(WithoutResourceNumber("C:\\a\\b2x"), "C:\\a\\b2x");
  EXPECT_EQ(WithoutResourceNumber("\\2"), "\\2");
}

TEST(FileOpeningStatusTextTest, SaysWhichFileToPickFromAndWhatWasIgnored) {
  FileOpening several;
  several.kind = FileOpeningKind::kSeveralLibraries;
  several.libraries.resize(2);
  EXPECT_EQ(FileOpeningStatusText(several, "C:\\x\\two.dll", 0),
            "TWO.DLL holds 2 type libraries: pick one in the list and open it.");
  FileOpening one;
  one.kind = FileOpeningKind::kOneLibrary;
  EXPECT_EQ(FileOpeningStatusText(one, "C:\\x\\a.tlb", 0), "");
  EXPECT_EQ(FileOpeningStatusText(one, "C:\\x\\a.tlb", 1),
            "Only the first dropped file was opened; 1 other was ignored.");
  EXPECT_EQ(FileOpeningStatusText(several, "two.dll", 3),
            "TWO.DLL holds 2 type libraries: pick one in the list and open it. Only the first "
            "dropped file was opened; 3 others were ignored.");
}

}  // namespace
}  // namespace velbrook::app
