// The library list model: rows in File order with adding numbers, header
// sorting, selection and focus that stay with their rows, type-ahead.
#include "app/model/library_list_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/model/scan_status.h"

namespace velbrook::app {
namespace {

using ::testing::ElementsAre;

// Added out of File order, descriptions out of order too.
LibraryListModel Sample() {
  LibraryListModel model;
  model.Add({"C.TLB", "gamma library", "c:\\libs\\c.tlb", "{C}"});
  model.Add({"A.TLB", "Delta library", "c:\\libs\\a.tlb", "{A}"});
  model.Add({"D.TLB", "alpha library", "C:\\Libs\\D.tlb", "{D}"});
  model.Add({"B.TLB", "Beta library", "c:\\libs\\b.tlb", "{B}"});
  return model;
}

std::vector<std::string> Column(const LibraryListModel& model, int column) {
  std::vector<std::string> cells;
  for (size_t row = 0; row < model.size(); ++row) cells.push_back(model.CellText(row, column));
  return cells;
}

TEST(LibraryListModelTest, RowsInFileOrderWithAddingOrderInHidden) {
  LibraryListModel model = Sample();
  EXPECT_THAT(Column(model, LibraryListModel::kFileColumn),
              ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB"));
  EXPECT_THAT(Column(model, LibraryListModel::kHiddenColumn), ElementsAre("1", "3", "0", "2"));
  EXPECT_EQ(model.CellText(3, LibraryListModel::kPathColumn), "C:\\Libs\\D.tlb");
  EXPECT_EQ(model.CellText(0, LibraryListModel::kClsidColumn), "{A}");
  EXPECT_EQ(model.CellText(4, LibraryListModel::kFileColumn), "");
  EXPECT_EQ(model.CellText(0, LibraryListModel::kColumnCount), "");
  EXPECT_THAT(model.Paths(), ElementsAre("c:\\libs\\a.tlb", "c:\\libs\\b.tlb", "c:\\libs\\c.tlb",
                                         "C:\\Libs\\D.tlb"));
}

TEST(LibraryListModelTest, BitsAndProblemColumnsAndTheProblemCount) {
  LibraryListModel model;
  LibraryEntry missing{"M.TLB", "missing", "c:\\m.tlb", "{M}"};
  missing.problem = catalogue::RowProblem::kFileNotFound;
  LibraryEntry corrupt{"C.TLB", "corrupt", "c:\\c.tlb", "{C}"};
  corrupt.bits = 64;
  corrupt.problem = catalogue::RowProblem::kNotTypeLibrary;
  model.Add(missing);
  model.Add(corrupt);
  model.Add({"F.TLB", "fine", "c:\\f.tlb", "{F}"});
  EXPECT_THAT(Column(model, LibraryListModel::kBitsColumn), ElementsAre("64", "32", "32"));
  EXPECT_THAT(Column(model, LibraryListModel::kProblemColumn),
              ElementsAre("not a type library", "", "file not found"));
  EXPECT_EQ(model.ProblemCount(), 2u);
  model.Clear();
  EXPECT_EQ(model.ProblemCount(), 0u);
}

struct StatusCase {
  ScanCounts counts;
  const char* expected;
};

class ScanEndStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ScanEndStatusTest, SaysWhatWasLeftOutAndWhatIsWrong) {
  EXPECT_EQ(ScanEndStatus(GetParam().counts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ScanEndStatusTest,
    ::testing::Values(
        StatusCase{{5, 0, 0, false, 0}, ""},
        StatusCase{{5, 2, 0, false, 0},
                   "2 left out: file not found (tick \"Include files not found\" to list them)"},
        StatusCase{{5, 0, 1, true, 0}, "1 listed with a problem (see the Problem column)"},
        StatusCase{{0, 0, 0, false, 7},
                   "No 32-bit libraries listed; 7 64-bit registrations: tick \"32 and 64 bit\" "
                   "to see them"},
        // Both lists are empty: no hint to tick the box that is ticked.
        StatusCase{{0, 0, 0, true, 7}, ""},
        StatusCase{{0, 3, 0, false, 7},
                   "No 32-bit libraries listed; 7 64-bit registrations: tick \"32 and 64 bit\" "
                   "to see them; 3 left out: file not found (tick \"Include files not found\" "
                   "to list them)"}));

TEST(LibraryListModelTest, HeaderSortIsCaseInsensitiveAscendingAndStable) {
  LibraryListModel model = Sample();
  model.SortByColumn(LibraryListModel::kDescriptionColumn);
  EXPECT_THAT(Column(model, LibraryListModel::kDescriptionColumn),
              ElementsAre("alpha library", "Beta library", "Delta library", "gamma library"));
  model.SortByColumn(LibraryListModel::kDescriptionColumn);  // again: the same order
  EXPECT_THAT(Column(model, LibraryListModel::kFileColumn),
              ElementsAre("D.TLB", "B.TLB", "A.TLB", "C.TLB"));
  // The Hidden column sorts by its text, as the list shows it.
  for (int i = 0; i < 8; ++i) model.Add({"E.TLB", "", "", ""});
  model.SortByColumn(LibraryListModel::kHiddenColumn);
  EXPECT_EQ(model.CellText(1, LibraryListModel::kHiddenColumn), "1");
  EXPECT_EQ(model.CellText(2, LibraryListModel::kHiddenColumn), "10");
  model.SortByColumn(LibraryListModel::kFileColumn);
  EXPECT_EQ(model.CellText(0, LibraryListModel::kFileColumn), "A.TLB");
}

TEST(LibraryListModelTest, AccentedTextsSortAfterUnaccentedOnes) {
  LibraryListModel model;
  model.Add({"A.TLB",
             "\xC9"
             "cole",
             "", ""});
  model.Add({"B.TLB", "zebra", "", ""});
  model.Add({"C.TLB", "Ecole", "", ""});
  model.SortByColumn(LibraryListModel::kDescriptionColumn);
  EXPECT_THAT(Column(model, LibraryListModel::kDescriptionColumn), ElementsAre("Ecole", "zebra",
                                                                               "\xC9"
                                                                               "cole"));
}

TEST(LibraryListModelTest, RowsAddedAfterASortGoBeforeTheFirstGreaterFile) {
  LibraryListModel model = Sample();
  model.SortByColumn(LibraryListModel::kDescriptionColumn);  // D, B, A, C
  EXPECT_EQ(model.Add({"BB.TLB", "", "", ""}), 0u);          // D.TLB is greater
  EXPECT_EQ(model.CellText(0, LibraryListModel::kHiddenColumn), "4");
}

TEST(LibraryListModelTest, SelectionAndFocusStayWithTheirRows) {
  LibraryListModel model = Sample();
  model.SelectRow(1);  // B.TLB
  model.SetSelected(3, true);
  EXPECT_THAT(model.SelectedRows(), ElementsAre(1, 3));
  EXPECT_EQ(model.FocusedRow(), 1);
  model.Add({"AA.TLB", "", "", ""});  // lands at row 1
  EXPECT_THAT(model.SelectedRows(), ElementsAre(2, 4));
  EXPECT_EQ(model.FocusedRow(), 2);
  model.SortByColumn(LibraryListModel::kDescriptionColumn);
  EXPECT_EQ(model.Entry(static_cast<size_t>(model.FocusedRow())).file, "B.TLB");
  // AA.TLB (no description), D.TLB ("alpha library"), B.TLB, A.TLB, C.TLB.
  EXPECT_THAT(model.SelectedRows(), ElementsAre(1, 2));
  EXPECT_FALSE(model.IsSelected(0));
  model.Clear();
  EXPECT_TRUE(model.SelectedRows().empty());
  EXPECT_EQ(model.FocusedRow(), -1);
  EXPECT_FALSE(model.IsSelected(0));
}

TEST(LibraryListModelTest, SelectOnlyRowDropsTheOthersSelectRowAdds) {
  LibraryListModel model = Sample();
  model.SelectRow(0);
  model.SelectRow(2);
  model.SelectOnlyRow(1);
  EXPECT_THAT(model.SelectedRows(), ElementsAre(1));
  EXPECT_EQ(model.FocusedRow(), 1);
  model.SelectRow(3);
  EXPECT_THAT(model.SelectedRows(), ElementsAre(1, 3));
  EXPECT_EQ(model.FocusedRow(), 3);
  model.SetAllSelected(false);
  model.SetFocusedRow(-1);
  EXPECT_TRUE(model.SelectedRows().empty());
  EXPECT_EQ(model.FocusedRow(), -1);
  // Rows out of range change nothing.
  model.SelectRow(9);
  model.SetSelected(9, true);
  model.SetFocusedRow(9);
  EXPECT_TRUE(model.SelectedRows().empty());
  EXPECT_EQ(model.FocusedRow(), -1);
}

struct FindCase {
  const char* text;
  bool partial;
  size_t start;
  bool wrap;
  int row;
};

class FindFileTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindFileTest, TypeAheadFindsRowsByFile) {
  LibraryListModel model;
  for (const char* file : {"ADO.TLB", "MSHTML.TLB", "MSXML3.DLL\\2", "STDOLE2.TLB"}) {
    model.Add({file, "", "", ""});
  }
  const FindCase& c = GetParam();
  EXPECT_EQ(model.FindFile(c.text, c.partial, c.start, c.wrap), c.row) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindFileTest,
    ::testing::Values(FindCase{"ms", true, 0, false, 1}, FindCase{"msx", true, 0, false, 2},
                      FindCase{"ms", true, 2, false, 2}, FindCase{"ms", true, 3, false, -1},
                      FindCase{"ms", true, 3, true, 1}, FindCase{"ado.tlb", false, 0, false, 0},
                      FindCase{"ado", false, 0, false, -1}, FindCase{"zz", true, 0, true, -1},
                      FindCase{"std", true, 9, false, 3}));

}  // namespace
}  // namespace velbrook::app
