// The contents lists seam: rows from an opening, sorting, --select names.
#include "generate/contents_list.h"

#include <gtest/gtest.h>

#include "generate/row_maps.h"

namespace velbrook::generate {
namespace {

typeinfo::LibraryContents Sample() {
  typeinfo::LibraryContents contents;
  contents.class_rows = {{"IShape", "Shape", "Example.Shape", 0},
                         {"IGrid", "Grid (ActiveX)", "", 1},
                         {"IDrawing", "", "", 2}};
  contents.class_row_index = {1, 2};
  contents.interface_row_index = {std::nullopt, std::nullopt, 3};
  contents.event_rows = {{"DShapeEvents", "Shape (default)", 0}};
  contents.event_row_index = {2};
  contents.source_interface_names = {"DShapeEvents"};
  contents.source_interface_owners = {"Shape (default)"};
  contents.type_rows = {"Point", "Rect"};
  contents.enumeration_rows = {"Colors"};
  return contents;
}

TEST(GenerateContentsListTest, ListsCarryColumnsAndHiddenNumbers) {
  VectorContentsLists lists = MakeContentsLists(Sample());
  ASSERT_EQ(lists.classes.RowCount(), 3u);
  EXPECT_EQ(lists.classes.CellText(1, kObjectClassesColumn), "Grid (ActiveX)");
  EXPECT_EQ(lists.classes.CellText(2, kClassHiddenColumn), "2");
  EXPECT_EQ(lists.events.CellText(0, kForObjectsColumn), "Shape (default)");
  EXPECT_EQ(lists.events.CellText(0, 2), "");
  EXPECT_EQ(lists.types.HiddenNumber(1), 1u);
  EXPECT_FALSE(lists.classes.IsChecked(0));
}

TEST(GenerateContentsListTest, SortKeepsHiddenNumbers) {
  VectorContentsLists lists = MakeContentsLists(Sample());
  lists.classes.SortByColumn(kInterfacesColumn, false);
  EXPECT_EQ(lists.classes.CellText(0, 0), "IDrawing");
  EXPECT_EQ(lists.classes.HiddenNumber(0), 2u);
  lists.classes.SortByColumn(kInterfacesColumn, true);
  EXPECT_EQ(lists.classes.HiddenNumber(0), 0u);
}

TEST(GenerateContentsListTest, SelectByShownName) {
  VectorContentsLists lists = MakeContentsLists(Sample());
  EXPECT_EQ(SelectRowsNamed(&lists, "Grid"), 1u);  // " (ActiveX)" left out
  EXPECT_TRUE(lists.classes.IsChecked(1));
  EXPECT_EQ(SelectRowsNamed(&lists, "IDrawing"), 1u);
  EXPECT_TRUE(lists.classes.IsChecked(2));
  EXPECT_EQ(SelectRowsNamed(&lists, "IShape"), 0u);  // shown as Shape
  EXPECT_EQ(SelectRowsNamed(&lists, "DShapeEvents"), 1u);
  EXPECT_EQ(SelectRowsNamed(&lists, "Rect"), 1u);
  EXPECT_TRUE(lists.types.IsChecked(1));
  EXPECT_EQ(SelectRowsNamed(&lists, "Colors"), 1u);
  EXPECT_EQ(SelectRowsNamed(&lists, "Grid (ActiveX)"), 0u);
  EXPECT_EQ(SelectRowsNamed(&lists, "Nothing"), 0u);
}

TEST(GenerateRowMapsTest, LookUps) {
  RowMaps maps = RowMaps::FromContents(Sample());
  EXPECT_EQ(maps.ClassRowCount(), 2u);
  EXPECT_FALSE(maps.InterfaceOfRow(0).has_value());
  EXPECT_EQ(maps.InterfaceOfRow(2), std::optional<uint32_t>(3));
  EXPECT_FALSE(maps.InterfaceOfRow(3).has_value());
  EXPECT_EQ(maps.EventInterfaceOfRow(0), std::optional<uint32_t>(2));
  EXPECT_EQ(maps.OwnersOf("DShapeEvents"), "Shape (default)");
  EXPECT_EQ(maps.OwnersOf("Unknown"), "Shape (default)");
  EXPECT_EQ(RowMaps().OwnersOf("x"), "");
}

}  // namespace
}  // namespace velbrook::generate
