// Rules of the lists that do not need a window: check marks, the column
// comparison of header sorting, the fixed-total-width divider arithmetic, the
// sorted place of a new library row and the search key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velbrook::app {

// State-image bits of a list-view item (LVIS_STATEIMAGEMASK).
constexpr uint32_t kStateImageMask = 0xF000;
constexpr uint32_t kStateImageUnchecked = 1u << 12;
constexpr uint32_t kStateImageChecked = 2u << 12;

// 1 when the item state carries state image 2 (checked), else 0.
int CheckedFromState(uint32_t state);
// The state image Toggle gives a row: checked rows become unchecked, every
// other row (unchecked, or without an image) becomes checked.
uint32_t ToggledStateImage(uint32_t state);

// The sort key of a cell: the first 259 characters, a to z raised.
std::string SortKey(const std::string& cell_text);
// -1, 0 or 1 comparing two sort keys byte by byte as unsigned values; a
// prefix is smaller.
int CompareSortKeys(const std::string& a, const std::string& b);
// Both steps: the comparison of two cell texts used by header sorting.
int CompareCells(const std::string& a, const std::string& b);

// Columns of a pair keep at least this many pixels.
constexpr int kMinimumColumnWidth = 20;

// The width a dragged column may take, given the width asked for and the
// total of the column and its right neighbour.
int ClampDraggedWidth(int requested, int pair_total);

struct PairWidths {
  int column = 0;
  int neighbour = 0;
};
// Divider double click: the column's fitted width, limited so that its
// neighbour keeps the minimum, and the neighbour's width.
PairWidths DoubleClickWidths(int fitted_width, int pair_total);

// Where a library row with this File goes in a list sorted by File: before
// the first row whose File compares greater, so after every equal one.
int SortedInsertPosition(const std::vector<std::string>& files, const std::string& file);

// The search key of a typed text: every "_" removed, ASCII lowered, blanks
// and tabs stripped from both ends.
std::string SearchKey(const std::string& text);

// The hidden row number in a row's Hidden cell (decimal), or -1 when the
// cell holds no number. Generation maps a row through it, never through the
// row's display position, since a header click may have re-sorted the list.
int ParseHiddenRowNumber(const std::string& cell_text);

}  // namespace velbrook::app
