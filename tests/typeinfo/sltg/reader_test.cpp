// The SLTG test libraries read back: their dumps, from a bare file and from a
// PE module alike, equal the golden dumps in this directory (regenerate with
// VELBROOK_REGENERATE_GOLDENS=1); and the help string decoder on its own.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sltg_writer.h"
#include "typeinfo/dump.h"
#include "typeinfo/msft/portable_opener.h"
#include "typeinfo/msft/sltg_help.h"

namespace velbrook::typeinfo::msft {
namespace {

using sltg_testing::Library;

std::string Golden(const std::string& name) {
  return std::string(VELBROOK_SOURCE_DIR) + "/tests/typeinfo/sltg/" + name + ".dump";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

struct GoldenCase {
  const char* name;
  Library (*library)();
  bool in_pe;
};

void PrintTo(const GoldenCase& c, std::ostream* out) {
  *out << c.name << (c.in_pe ? " in a PE module" : "");
}

class SltgGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(SltgGolden, DumpMatchesGoldenFile) {
  const GoldenCase& c = GetParam();
  std::vector<uint8_t> bytes = sltg_testing::WriteSltg(c.library());
  if (c.in_pe) bytes = sltg_testing::WrapInPe(bytes, 1);
  PortableOpener opener;
  opener.SetSearchPaths({});
  auto library = opener.OpenLibraryBytes(bytes, std::string("/nonexistent/") + c.name);
  ASSERT_TRUE(library.ok()) << library.error().message;
  Result<std::string> dumped = DumpLibrary(**library);
  ASSERT_TRUE(dumped.ok()) << dumped.error().message;
  const std::string actual = dumped.value();
  if (std::getenv("VELBROOK_REGENERATE_GOLDENS") != nullptr && !c.in_pe) {
    WriteText(Golden(c.name), actual);
  }
  const std::string expected = ReadText(Golden(c.name));
  if (actual == expected) return;
  const std::string out = std::string(VELBROOK_BINARY_DIR) + "/sltg_" + c.name + ".dump";
  WriteText(out, actual);
  size_t at = 0, line = 1;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
    if (actual[at++] == '\n') ++line;
  }
  ADD_FAILURE() << "dump differs from " << Golden(c.name) << " at line " << line << "; actual in "
                << out << " (VELBROOK_REGENERATE_GOLDENS=1 rewrites it)";
}

INSTANTIATE_TEST_SUITE_P(Libraries, SltgGolden,
                         ::testing::Values(GoldenCase{"old", sltg_testing::FeaturesLibrary, false},
                                           GoldenCase{"old", sltg_testing::FeaturesLibrary, true},
                                           GoldenCase{"plain", sltg_testing::PlainLibrary, false},
                                           GoldenCase{"plain", sltg_testing::PlainLibrary, true}));

// A tree of "big", "red" and the end word: 1 -> "big", 01 -> "red", 00 -> end.
const uint8_t kTree[] = {0x80, 0x00, 0x08, 0x00, 'b', 'i', 'g', 0,    0x80,
                         0x00, 0x10, 0x00, 'r',  'e', 'd', 0,   0x00, 0x00};

struct DecodeCase {
  const char* what;
  std::vector<uint8_t> tree;
  std::vector<uint8_t> bits;
  bool ok;
  std::string text;
};

TEST(SltgHelpTable, Decodes) {
  const std::vector<uint8_t> tree(std::begin(kTree), std::end(kTree));
  const DecodeCase cases[] = {
      {"two words and the end", tree, {0xA0}, true, "big red"},  // 1 01 00
      {"the end word at once", tree, {0x00}, true, ""},
      {"bits run out", tree, {0xFF}, true, "big big big big big big big big"},
      {"no bits", tree, {}, true, ""},
      {"a lone leaf gives its word once", {0x00, 'o', 'n', 'e', 0}, {0xFF}, true, "one"},
      {"an empty tree", {}, {0xFF}, true, ""},
      {"a branch leading backwards", {0x80, 0x00, 0x00, 0x00, 'x', 0}, {0x00}, false, ""},
      {"a word without its NUL", {0x80, 0x00, 0x03, 0x00, 'x'}, {0x80}, true, ""},
  };
  for (const DecodeCase& c : cases) {
    SltgHelpTable table(ByteReader(c.tree.data(), c.tree.size()));
    uint64_t steps = 0;
    size_t bad = 0;
    std::string text;
    EXPECT_EQ(table.Decode(ByteReader(c.bits.data(), c.bits.size()), &steps, &text, &bad), c.ok)
        << c.what;
    EXPECT_EQ(text, c.text) << c.what;
  }
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
