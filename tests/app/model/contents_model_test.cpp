// The contents model: filled as the contents lists list a library, check
// marks, Toggle, header sorting of the two sortable lists, rows found by
// hidden number.
#include "app/model/contents_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velbrook::app {
namespace {

using ::testing::ElementsAre;

typeinfo::LibraryContents Sample() {
  typeinfo::LibraryContents contents;
  contents.class_rows = {{"IB", "ClassB", "Lib.B", 0}, {"ia", "ClassA", "", 1}, {"IC", "", "", 2}};
  contents.event_rows = {{"DEvents", "ClassB (default)", 0}};
  contents.type_rows = {"zeta", "Alpha"};
  contents.enumeration_rows = {"Fill"};
  return contents;
}

std::vector<std::string> Column(const ContentsModel& model, ContentsList which, int column) {
  std::vector<std::string> cells;
  for (size_t row = 0; row < model.RowCount(which); ++row) {
    cells.push_back(model.CellText(which, row, column));
  }
  return cells;
}

std::vector<bool> Checks(const ContentsModel& model, ContentsList which) {
  std::vector<bool> checks;
  for (size_t row = 0; row < model.RowCount(which); ++row) {
    checks.push_back(model.IsChecked(which, row));
  }
  return checks;
}

TEST(ContentsModelTest, FilledAsTheContentsListsListTheLibraryNothingChecked) {
  ContentsModel model;
  model.Fill(Sample());
  EXPECT_THAT(Column(model, ContentsList::kObjectClasses, 0), ElementsAre("IB", "ia", "IC"));
  EXPECT_THAT(Column(model, ContentsList::kObjectClasses, 3), ElementsAre("0", "1", "2"));
  EXPECT_EQ(model.CellText(ContentsList::kEventInterfaces, 0, 1), "ClassB (default)");
  EXPECT_EQ(model.CellText(ContentsList::kEventInterfaces, 0, 2), "");
  EXPECT_THAT(Column(model, ContentsList::kTypes, 0), ElementsAre("zeta", "Alpha"));
  EXPECT_EQ(model.RowCount(ContentsList::kEnumerations), 1u);
  for (int i = 0; i < kContentsListCount; ++i) {
    for (bool checked : Checks(model, static_cast<ContentsList>(i))) EXPECT_FALSE(checked);
  }
  EXPECT_EQ(model.CellText(ContentsList::kTypes, 5, 0), "");
}

TEST(ContentsModelTest, ToggleInvertsEveryRowOfItsListOnly) {
  ContentsModel model;
  model.Fill(Sample());
  model.SetChecked(ContentsList::kObjectClasses, 0, true);
  model.SetChecked(ContentsList::kObjectClasses, 9, true);  // no such row
  model.ToggleAll(ContentsList::kObjectClasses);
  EXPECT_THAT(Checks(model, ContentsList::kObjectClasses), ElementsAre(false, true, true));
  EXPECT_THAT(Checks(model, ContentsList::kTypes), ElementsAre(false, false));
  ContentsModel empty;
  empty.ToggleAll(ContentsList::kTypes);
  EXPECT_EQ(empty.RowCount(ContentsList::kTypes), 0u);
  model.UncheckAll();
  EXPECT_THAT(Checks(model, ContentsList::kObjectClasses), ElementsAre(false, false, false));
}

TEST(ContentsModelTest, HeaderSortKeepsCheckMarksAndHiddenNumbersWithTheirRows) {
  ContentsModel model;
  model.Fill(Sample());
  model.SetChecked(ContentsList::kObjectClasses, 1, true);  // ia
  ASSERT_TRUE(model.SortByColumn(ContentsList::kObjectClasses, 0));
  EXPECT_THAT(Column(model, ContentsList::kObjectClasses, 0), ElementsAre("ia", "IB", "IC"));
  EXPECT_EQ(model.HiddenNumber(ContentsList::kObjectClasses, 0), 1u);
  EXPECT_THAT(Checks(model, ContentsList::kObjectClasses), ElementsAre(true, false, false));
  // Generation reads the same rows in the same order.
  EXPECT_EQ(model.lists().classes.CellText(0, 0), "ia");
  EXPECT_TRUE(model.lists().classes.IsChecked(0));
  // Object classes: the empty one first.
  ASSERT_TRUE(model.SortByColumn(ContentsList::kObjectClasses, 1));
  EXPECT_THAT(Column(model, ContentsList::kObjectClasses, 1), ElementsAre("", "ClassA", "ClassB"));
}

TEST(ContentsModelTest, TypesAndEnumerationsDoNotSort) {
  ContentsModel model;
  model.Fill(Sample());
  EXPECT_FALSE(model.SortByColumn(ContentsList::kTypes, 0));
  EXPECT_FALSE(model.SortByColumn(ContentsList::kEnumerations, 0));
  EXPECT_THAT(Column(model, ContentsList::kTypes, 0), ElementsAre("zeta", "Alpha"));
  EXPECT_TRUE(IsSortable(ContentsList::kEventInterfaces));
  EXPECT_EQ(ColumnCount(ContentsList::kObjectClasses), 4);
  EXPECT_EQ(ColumnCount(ContentsList::kEnumerations), 1);
}

TEST(ContentsModelTest, RowsCheckedByHiddenNumberWhateverTheOrder) {
  ContentsModel model;
  model.Fill(Sample());
  model.SortByColumn(ContentsList::kObjectClasses, 0);  // ia, IB, IC
  model.CheckRows({{generate::ListKind::kClasses, 0},
                   {generate::ListKind::kTypes, 1},
                   {generate::ListKind::kClasses, 7}});
  EXPECT_THAT(Checks(model, ContentsList::kObjectClasses), ElementsAre(false, true, false));
  EXPECT_THAT(Checks(model, ContentsList::kTypes), ElementsAre(false, true));
}

TEST(ContentsModelTest, ListKindsMapBothWays) {
  for (int i = 0; i < kContentsListCount; ++i) {
    const auto list = static_cast<ContentsList>(i);
    EXPECT_EQ(ListOf(KindOf(list)), list);
  }
}

}  // namespace
}  // namespace velbrook::app
