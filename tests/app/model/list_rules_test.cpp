// Check marks, the notes of rows checked for what others need, sort
// comparison and divider limits.
#include "app/model/list_rules.h"

#include <gtest/gtest.h>

#include "app/model/row_notes.h"

namespace velbrook::app {
namespace {

TEST(CheckMarkTest, StateImageTwoIsChecked) {
  EXPECT_EQ(CheckedFromState(0x2000), 1);
  EXPECT_EQ(CheckedFromState(0x1000), 0);
  EXPECT_EQ(CheckedFromState(0x0000), 0);
  EXPECT_EQ(CheckedFromState(0x2003), 1);  // selection bits do not matter
  EXPECT_EQ(CheckedFromState(0x3000), 0);
}

TEST(CheckMarkTest, StateImageOfACheckMark) {
  EXPECT_EQ(CheckedFromState(StateImageOf(true)), 1);
  EXPECT_EQ(CheckedFromState(StateImageOf(false)), 0);
  EXPECT_EQ(StateImageOf(false), kStateImageUnchecked);
}

TEST(RowNotesTest, NotesTheRowsAddedAndSumsThemUp) {
  RowNotes notes;
  notes.Set({{{ContentsList::kTypes, 2, "record Point", "Rect.topLeft"}},
             {"needs IFont from stdole (used by IFramed.SetFont)"}});
  EXPECT_EQ(notes.NoteOf(ContentsList::kTypes, 2), "needed by Rect.topLeft");
  EXPECT_EQ(notes.NoteOf(ContentsList::kEnumerations, 2), "");
  EXPECT_EQ(notes.StatusText(),
            "Checked 1 more row; point at one to see what needs it. 1 type is in other "
            "libraries, first: needs IFont from stdole (used by IFramed.SetFont)");
  notes.Set({});
  EXPECT_EQ(notes.NoteOf(ContentsList::kTypes, 2), "");
  EXPECT_EQ(notes.StatusText(), "Nothing more is needed.");
  notes.Clear();
  EXPECT_EQ(notes.StatusText(), "");
}

TEST(SortCompareTest, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(CompareCells("abc", "ABC"), 0);
  EXPECT_EQ(CompareCells("abc", "abd"), -1);
  EXPECT_EQ(CompareCells("b", "A"), 1);
  // Accented letters sort by byte value, after every unaccented letter.
  EXPECT_EQ(CompareCells("\xE9", "z"), 1);
  EXPECT_EQ(CompareCells("\xE9", "\xC9"), 1);
  // '_' (0x5F) lies between 'Z' and 'a': after folding it follows letters.
  EXPECT_EQ(CompareCells("_x", "a"), 1);
}

TEST(SortCompareTest, PrefixIsSmaller) {
  EXPECT_EQ(CompareCells("ab", "abc"), -1);
  EXPECT_EQ(CompareCells("abc", "ab"), 1);
  EXPECT_EQ(CompareCells("", ""), 0);
  EXPECT_EQ(CompareCells("", "a"), -1);
}

TEST(SortCompareTest, OnlyFirst259CharactersCount) {
  std::string base(259, 'x');
  EXPECT_EQ(CompareCells(base + "a", base + "b"), 0);
  EXPECT_EQ(CompareCells(base.substr(0, 258) + "a", base.substr(0, 258) + "b"), -1);
}

TEST(DividerTest, DraggedWidthKeepsTwentyOnBothSides) {
  EXPECT_EQ(ClampDraggedWidth(100, 383), 100);
  EXPECT_EQ(ClampDraggedWidth(5, 383), 20);
  EXPECT_EQ(ClampDraggedWidth(-30, 383), 20);
  EXPECT_EQ(ClampDraggedWidth(370, 383), 363);
  EXPECT_EQ(ClampDraggedWidth(363, 383), 363);
  EXPECT_EQ(ClampDraggedWidth(20, 383), 20);
}

TEST(DividerTest, DoubleClickLeavesNeighbourTwenty) {
  PairWidths fits = DoubleClickWidths(80, 383);
  EXPECT_EQ(fits.column, 80);
  EXPECT_EQ(fits.neighbour, 303);
  PairWidths wide = DoubleClickWidths(500, 383);
  EXPECT_EQ(wide.column, 363);
  EXPECT_EQ(wide.neighbour, 20);
}

}  // namespace
}  // namespace velbrook::app
