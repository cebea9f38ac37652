// Check marks, the notes of rows checked for what others need, sort
// comparison, divider limits, sorted insertion and the search key.
#include "app/model/list_rules.h"

#include <gtest/gtest.h>

#include "app/model/row_notes.h"
#include "app/model/sorted_files.h"

namespace velbrook::app {
namespace {

TEST(CheckMarkTest, StateImageTwoIsChecked) {
  EXPECT_EQ(CheckedFromState(0x2000), 1);
  EXPECT_EQ(CheckedFromState(0x1000), 0);
  EXPECT_EQ(CheckedFromState(0x0000), 0);
  EXPECT_EQ(CheckedFromState(0x2003), 1);  // selection bits do not matter
  EXPECT_EQ(CheckedFromState(0x3000), 0);
}

TEST(CheckMarkTest, ToggleInvertsAndChecksRowsWithoutImage) {
  EXPECT_EQ(ToggledStateImage(0x2000), kStateImageUnchecked);
  EXPECT_EQ(ToggledStateImage(0x1000), kStateImageChecked);
  EXPECT_EQ(ToggledStateImage(0x0000), kStateImageChecked);
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

TEST(SortedInsertTest, AfterEqualFilesAndBeforeGreater) {
  std::vector<std::string> files = {"A.TLB", "B.TLB", "B.TLB", "D.TLB"};
  EXPECT_EQ(SortedInsertPosition(files, "B.TLB"), 3);
  EXPECT_EQ(SortedInsertPosition(files, "C.TLB"), 3);
  EXPECT_EQ(SortedInsertPosition(files, "0.TLB"), 0);
  EXPECT_EQ(SortedInsertPosition(files, "Z.TLB"), 4);
  EXPECT_EQ(SortedInsertPosition({}, "A"), 0);
  // Shorter prefix first.
  EXPECT_EQ(SortedInsertPosition({"AB"}, "A"), 0);
}

// The scan's copy of the File column gives the places SortedInsertPosition
// gives, in order or not.
TEST(SortedInsertTest, CopyOfTheColumnAgreesWithTheRule) {
  const std::vector<std::vector<std::string>> lists = {
      {}, {"A.TLB", "B.TLB", "B.TLB", "D.TLB"}, {"D.TLB", "A.TLB", "C.TLB"}, {"AB"}};
  for (const auto& list : lists) {
    for (const std::string file : {"0.TLB", "A", "B.TLB", "C.TLB", "Z.TLB"}) {
      SortedFiles copy;
      copy.Reset(list);
      std::vector<std::string> rows = list;
      for (int round = 0; round < 3; ++round) {
        const int position = copy.PositionFor(file);
        ASSERT_EQ(position, SortedInsertPosition(rows, file)) << file;
        copy.Insert(position, file);
        rows.insert(rows.begin() + position, file);
      }
    }
  }
}

TEST(SearchKeyTest, UnderscoresCaseAndBlanks) {
  EXPECT_EQ(SearchKey("  _Work_Book\t"), "workbook");
  EXPECT_EQ(SearchKey(" \t "), "");
  EXPECT_EQ(SearchKey("Excel.Application"), "excel.application");
  EXPECT_EQ(SearchKey("a _b"), "a b");
}

TEST(HiddenRowNumberTest, DecimalOnly) {
  EXPECT_EQ(ParseHiddenRowNumber("0"), 0);
  EXPECT_EQ(ParseHiddenRowNumber("17"), 17);
  EXPECT_EQ(ParseHiddenRowNumber(""), -1);
  EXPECT_EQ(ParseHiddenRowNumber("1a"), -1);
  EXPECT_EQ(ParseHiddenRowNumber("-1"), -1);
}

}  // namespace
}  // namespace velbrook::app
