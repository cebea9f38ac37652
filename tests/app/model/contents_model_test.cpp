// The contents model: filled as the contents lists list a library, check
// marks, Toggle, header sorting of the two sortable lists, rows found by
// hidden number and by the items a search found.
#include "app/model/contents_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
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

// The sample as a library with object classes ClassB (1) and ClassA (2),
// interfaces IB (1, ClassB's default), DEvents (2, a source) and IC (3),
// records zeta and Alpha, enumeration Fill, and modules 1 (no constants, no
// row) and 2 (Consts).
typeinfo::LibraryContents SampleWithItems() {
  typeinfo::LibraryContents contents = Sample();
  contents.class_row_index = {1, 2};
  contents.interface_row_index = {std::nullopt, std::nullopt, 3};
  contents.event_row_index = {2};
  contents.enumeration_rows = {"Fill", "Consts"};
  contents.module_row_index = {2};
  return contents;
}

catalogue::SearchHit Hit(catalogue::ItemKind kind, const std::string& name, uint32_t index,
                         catalogue::ItemKind owner_kind = catalogue::ItemKind::kLibrary,
                         const std::string& owner = std::string()) {
  catalogue::SearchHit hit;
  hit.kind = kind;
  hit.name = name;
  hit.index = index;
  hit.owner_kind = owner_kind;
  hit.owner = owner;
  return hit;
}

TEST(ContentsModelTest, ItemsFoundBySearchMapToTheRowsThatShowThem) {
  using catalogue::ItemKind;
  ContentsModel model;
  model.Fill(SampleWithItems());
  model.SortByColumn(ContentsList::kObjectClasses, 0);  // ia, IB, IC
  const ContentsList kClasses = ContentsList::kObjectClasses;
  struct Case {
    const char* what;
    catalogue::SearchHit hit;
    std::optional<ContentsRow> row;
  };
  const Case cases[] = {
      {"object class", Hit(ItemKind::kObjectClass, "ClassB", 1), ContentsRow{kClasses, 1}},
      {"second object class", Hit(ItemKind::kObjectClass, "ClassA", 2), ContentsRow{kClasses, 0}},
      {"interface row", Hit(ItemKind::kInterface, "IC", 3), ContentsRow{kClasses, 2}},
      {"method: its owner's row", Hit(ItemKind::kMethod, "Go", 3, ItemKind::kInterface, "IC"),
       ContentsRow{kClasses, 2}},
      {"default interface listed", Hit(ItemKind::kInterface, "IB", 1), ContentsRow{kClasses, 1}},
      {"default interface not listed", Hit(ItemKind::kInterface, "ia", 0),
       ContentsRow{kClasses, 0}},
      {"event", Hit(ItemKind::kEvent, "Fired", 2, ItemKind::kEventInterface, "DEvents"),
       ContentsRow{ContentsList::kEventInterfaces, 0}},
      {"field", Hit(ItemKind::kField, "x", 2, ItemKind::kRecord, "Alpha"),
       ContentsRow{ContentsList::kTypes, 1}},
      {"enumeration constant", Hit(ItemKind::kConstant, "c", 1, ItemKind::kEnumeration, "Fill"),
       ContentsRow{ContentsList::kEnumerations, 0}},
      {"module with constants", Hit(ItemKind::kModule, "Consts", 2),
       ContentsRow{ContentsList::kEnumerations, 1}},
      {"module without a row", Hit(ItemKind::kModule, "Entry", 1), std::nullopt},
      {"enumeration past the enumerations", Hit(ItemKind::kEnumeration, "Consts", 2), std::nullopt},
      {"record past the list", Hit(ItemKind::kRecord, "Gone", 3), std::nullopt},
      {"the library itself", Hit(ItemKind::kLibrary, "Lib", 0), std::nullopt},
      {"interface nowhere", Hit(ItemKind::kInterface, "IZ", 9), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<ContentsRow> row = model.RowOfItem(c.hit);
    ASSERT_EQ(row.has_value(), c.row.has_value());
    if (row) EXPECT_EQ(*row, *c.row);
  }
  // Lists set without the library's row indexes find interfaces by name.
  ContentsModel scripted;
  scripted.Set(model.lists());
  EXPECT_EQ(scripted.RowOfItem(Hit(ItemKind::kInterface, "IC", 3)), (ContentsRow{kClasses, 2}));
  EXPECT_EQ(scripted.RowOfItem(Hit(ItemKind::kObjectClass, "ClassB", 1)), std::nullopt);
}

TEST(ContentsModelTest, ListKindsMapBothWays) {
  for (int i = 0; i < kContentsListCount; ++i) {
    const auto list = static_cast<ContentsList>(i);
    EXPECT_EQ(ListOf(KindOf(list)), list);
  }
}

}  // namespace
}  // namespace velbrook::app
