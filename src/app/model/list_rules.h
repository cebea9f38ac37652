// Rules of the lists that do not need a window: check marks, the column
// comparison of header sorting and the fixed-total-width divider arithmetic.
#pragma once

#include <cstdint>
#include <string>

namespace velbrook::app {

// State-image bits of a list-view item (LVIS_STATEIMAGEMASK).
constexpr uint32_t kStateImageMask = 0xF000;
constexpr uint32_t kStateImageUnchecked = 1u << 12;
constexpr uint32_t kStateImageChecked = 2u << 12;

// The state image of a row's check mark.
inline uint32_t StateImageOf(bool checked) {
  return checked ? kStateImageChecked : kStateImageUnchecked;
}
// 1 when the item state carries state image 2 (checked), else 0.
int CheckedFromState(uint32_t state);

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

}  // namespace velbrook::app
