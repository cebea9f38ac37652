// The closure over dependencies on the fixtures: the rows it adds and why,
// what it reports, and that the include file of the closed selection defines
// every type of its library it names and names every row added.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/backends.h"
#include "generate/dependency_closure.h"
#include "generate/generator.h"
#include "golden_support.h"
#include "include_references.h"

namespace velbrook::generate::testing {
namespace {

struct ClosureCase {
  const char* name;
  const char* fixture;
  std::vector<std::string> selects;  // empty: every row
  std::vector<std::string> added;
  std::vector<std::string> warnings;
};

void PrintTo(const ClosureCase& c, std::ostream* out) { *out << c.name; }

std::string VtableInclude(const typeinfo::Library& library, const CheckedRows& rows) {
  GenerationInputs inputs = InputsOver(library, rows);
  inputs.use_invoke = [] { return false; };
  inputs.include_generics = [] { return false; };
  Result<std::string> text = GenerateIncludeText(inputs);
  return text.ok() ? text.value() : std::string();
}

// Every added row is named by the include file, and every type of the
// library the file names is defined in it.
void ExpectClosed(const typeinfo::Library& library, CheckedRows* rows, const Closure& closure) {
  CheckAddedRows(closure.added, &rows->lists);
  const std::string text = VtableInclude(library, *rows);
  ASSERT_FALSE(text.empty());
  EXPECT_THAT(UndefinedTypes(text, library), ::testing::IsEmpty());
  const std::set<std::string> used = UsedTypeNames(text, library);
  for (const AddedRow& row : closure.added) {
    EXPECT_EQ(used.count(row.name), 1u) << row.what << " is named nowhere";
  }
}

class ClosureTest : public ::testing::TestWithParam<ClosureCase> {};

TEST_P(ClosureTest, AddsWhatTheIncludeFileNames) {
  const ClosureCase& c = GetParam();
  std::unique_ptr<typeinfo::Library> library = OpenFixture(c.fixture);
  ASSERT_NE(library, nullptr);
  CheckedRows rows = CheckRows(*library, c.selects);
  const Closure closure = CloseSelection(InputsOver(*library, rows));
  std::vector<std::string> added;
  for (const AddedRow& row : closure.added) added.push_back(AddedRowText(row));
  EXPECT_EQ(added, c.added);
  EXPECT_EQ(closure.warnings, c.warnings);
  ExpectClosed(*library, &rows, closure);
}

const ClosureCase kCases[] = {
    {"MethodParametersAndRecordFields",
     "records",
     {"RecordUser"},
     {"added record Rect: used by IRecords.Inflate", "added record Point: used by IRecords.Centre",
      "added record Buffer: used by IRecords.Store",
      "added record Identity: used by IRecords.Store", "added record Mixed: used by IRecords.ById",
      "added enumeration Fill: used by Mixed.fillStyle"},
     {}},
    {"RecordFieldsOnly",
     "records",
     {"Frame"},
     {"added record Rect: used by Frame.outer", "added enumeration Fill: used by Frame.fillStyle",
      "added record Point: used by Rect.topLeft"},
     {}},
    {"BaseAliasAndAnotherLibrary",
     "records",
     {"IFramedArea"},
     {"added record Rect: used by IFramedArea.Outline through alias Rectangle",
      "added record Point: used by Rect.topLeft", "added record Frame: used by IFramed.GetFrame",
      "added enumeration Fill: used by Frame.fillStyle"},
     {"needs IFont from stdole (used by IFramed.SetFont)"}},
    {"ObjectClassWithEvents",
     "shapes",
     {"Shape"},
     {"added enumeration Colors: used by IShape.Color", "added record Rect: used by IShape.Bounds",
      "added record Point: used by IShape.MoveTo"},
     {}},
    {"EveryRowAddsNothing",
     "records",
     {},
     {},
     {"needs IFont from stdole (used by IFramed.SetFont)"}},
};

INSTANTIATE_TEST_SUITE_P(Fixtures, ClosureTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ClosureCase>& info) {
                           return std::string(info.param.name);
                         });

// Without the closure the check finds what is missing.
TEST(IncludeReferencesTest, FindsTheTypesAnOpenSelectionLeavesUndefined) {
  std::unique_ptr<typeinfo::Library> library = OpenFixture("records");
  ASSERT_NE(library, nullptr);
  const CheckedRows rows = CheckRows(*library, {"Frame"});
  EXPECT_THAT(UndefinedTypes(VtableInclude(*library, rows), *library),
              ::testing::ElementsAre("enum Fill", "type Rect"));
}

// The browser's library: one interface pulls in a large part of it.
TEST(ClosureCorpusTest, OneInterfaceOfMshtml) {
  const std::string path = std::string(VELBROOK_WINE_CORPUS_DIR) + "/mshtml.tlb";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not installed";
  auto opened = cli::MakeOpener(cli::DefaultBackend())->OpenLibraryFile(path);
  ASSERT_TRUE(opened.ok()) << opened.error().message;
  const typeinfo::Library& library = *opened.value();
  CheckedRows rows = CheckRows(library, {"IHTMLDocument2"});
  const Closure closure = CloseSelection(InputsOver(library, rows));
  EXPECT_GT(closure.added.size(), 10u);
  ExpectClosed(library, &rows, closure);
}

}  // namespace
}  // namespace velbrook::generate::testing
