// Golden include files for the IDL fixtures: every list checked or a
// selection, both styles, with and without the generic block, and a
// re-sorted object classes list.
#include <gtest/gtest.h>

#include <vector>

#include "generate/contents_list.h"
#include "generate/generator.h"
#include "generate/generic_block_hook.h"
#include "generate/row_maps.h"
#include "golden_support.h"

namespace velbrook::generate::testing {
namespace {

struct GoldenCase {
  const char* golden;
  const char* fixture;
  bool use_invoke;
  bool generics;
  std::vector<std::string> selects;  // empty: every row of every list
  int sort_column = -1;              // object classes list, descending
};

void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.golden; }

class GenerateGoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GenerateGoldenTest, MatchesGoldenFile) {
  const GoldenCase& c = GetParam();
  std::unique_ptr<typeinfo::Library> library = OpenFixture(c.fixture);
  ASSERT_NE(library, nullptr) << "cannot open " << FixturePath(c.fixture);
  CheckedRows rows = CheckRows(*library, c.selects);
  if (c.sort_column >= 0) rows.lists.classes.SortByColumn(c.sort_column, true);

  GenerationInputs inputs = InputsOver(*library, rows);
  inputs.library_path = std::string("C:\\Fixtures\\") + c.fixture + ".tlb";
  inputs.output_path = std::string("C:\\Out\\") + c.fixture + ".inc";
  inputs.date_text = [] { return std::string("31/12/2007"); };
  const bool invoke = c.use_invoke, generics = c.generics;
  inputs.use_invoke = [invoke] { return invoke; };
  inputs.include_generics = [generics] { return generics; };
  inputs.generic_block = LinkedGenericBlock();
  std::vector<std::string> warnings;
  inputs.warn = [&warnings](const std::string& text) { warnings.push_back(text); };
  Result<std::string> generated = GenerateIncludeText(inputs);
  ASSERT_TRUE(generated.ok()) << generated.error().message;
  std::string text = std::move(generated).value();
  // Warnings are part of the expected result: appended after a marker line
  // so the golden file pins them too.
  for (const std::string& warning : warnings) text += "==== warning: " + warning + "\r\n";
  EXPECT_TRUE(MatchesGolden(c.golden, text));
}

const GoldenCase kCases[] = {
    {"shapes_all_invoke", "shapes", true, false, {}},
    {"shapes_all_vtable", "shapes", false, false, {}},
    {"shapes_all_invoke_generics", "shapes", true, true, {}},
    {"shapes_all_vtable_generics", "shapes", false, true, {}},
    {"shapes_events_only_vtable", "shapes", false, false, {"DShapeEvents", "Rect"}},
    {"types_all_invoke", "types", true, false, {}},
    {"types_all_vtable", "types", false, false, {}},
    {"inherit_all_invoke", "inherit", true, false, {}},
    {"inherit_all_vtable", "inherit", false, false, {}},
    {"inherit_resorted_vtable", "inherit", false, false, {}, 1},
    {"inherit_events_only_invoke", "inherit", true, false, {"DEventsA", "DEventsB", "DShared"}},
    {"inherit_gadget_vtable", "inherit", false, false, {"Gadget", "IMiddle", "DShared"}},
    {"records_all_invoke", "records", true, false, {}},
    {"records_all_vtable", "records", false, false, {}},
    // impbase.tlb, which it imports, lies in another folder: not found.
    {"impuser_all_vtable", "impuser", false, false, {}},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, GenerateGoldenTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           return std::string(info.param.golden);
                         });

// records64 is the records library built for 64-bit Windows, its layouts
// stored for 8-byte pointers: the 32-bit layouts worked out from its field
// types are the ones the 32-bit build stores, so both give the same file.
TEST(GenerateLayoutTest, SixtyFourBitLibraryGivesTheLayoutsOfThe32BitBuild) {
  std::string texts[2];
  const char* fixtures[] = {"records", "records64"};
  const int32_t sys_kinds[] = {typeinfo::kSysKindWin32, typeinfo::kSysKindWin64};
  for (int i = 0; i < 2; ++i) {
    std::unique_ptr<typeinfo::Library> library = OpenFixture(fixtures[i]);
    ASSERT_NE(library, nullptr) << fixtures[i];
    EXPECT_EQ(library->SysKind(), sys_kinds[i]);
    const CheckedRows rows = CheckRows(*library, {});
    GenerationInputs inputs = InputsOver(*library, rows);
    inputs.use_invoke = [] { return false; };
    std::vector<std::string> warnings;
    inputs.warn = [&warnings](const std::string& text) { warnings.push_back(text); };
    texts[i] = GenerateIncludeText(inputs).value();
    EXPECT_TRUE(warnings.empty()) << fixtures[i] << ": " << warnings.front();
  }
  EXPECT_NE(texts[0].find("     info_pad1(0 TO 1) as BYTE 'padding\r\n"), std::string::npos);
  EXPECT_EQ(texts[0], texts[1]);
}

// Progress walks every row of the four lists once, in the file's order,
// checked or not, and does not touch the output.
TEST(GenerateProgressTest, ReportsEveryRowOfEachListInSectionOrder) {
  std::unique_ptr<typeinfo::Library> library = OpenFixture("shapes");
  ASSERT_NE(library, nullptr);
  const CheckedRows rows = CheckRows(*library, {"Rect"});
  const VectorContentsLists& lists = rows.lists;
  GenerationInputs inputs = InputsOver(*library, rows);
  const std::string quiet = GenerateIncludeText(inputs).value();

  std::vector<std::string> seen;
  inputs.progress = [&seen](const char* list, size_t done, size_t total) {
    seen.push_back(std::string(list) + " " + std::to_string(done) + "/" + std::to_string(total));
  };
  EXPECT_EQ(GenerateIncludeText(inputs).value(), quiet);

  std::vector<std::string> expected;
  const std::pair<const char*, size_t> order[] = {{"Types", lists.types.RowCount()},
                                                  {"Enumerations", lists.enumerations.RowCount()},
                                                  {"Object classes", lists.classes.RowCount()},
                                                  {"Event interfaces", lists.events.RowCount()}};
  for (const auto& [list, total] : order) {
    ASSERT_GT(total, 0u) << list;
    for (size_t done = 1; done <= total; ++done) {
      expected.push_back(std::string(list) + " " + std::to_string(done) + "/" +
                         std::to_string(total));
    }
  }
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace velbrook::generate::testing
