// Check-mark, sorting and divider rules of the lists.
#include "app/model/list_rules.h"

#include <algorithm>

#include "app/model/command_line.h"

namespace velbrook::app {

int CheckedFromState(uint32_t state) {
  return (static_cast<int>((state & kStateImageMask) >> 12) - 1) == 1 ? 1 : 0;
}

std::string SortKey(const std::string& cell_text) {
  // The list's text buffer holds 260 characters, terminator included.
  constexpr size_t kCounted = 259;
  return UpperAscii(cell_text.substr(0, std::min(cell_text.size(), kCounted)));
}

int CompareSortKeys(const std::string& a, const std::string& b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareCells(const std::string& a, const std::string& b) {
  return CompareSortKeys(SortKey(a), SortKey(b));
}

int ClampDraggedWidth(int requested, int pair_total) {
  int width = std::max(requested, kMinimumColumnWidth);
  if (width > pair_total - kMinimumColumnWidth) {
    width = pair_total - kMinimumColumnWidth;
  }
  return width;
}

PairWidths DoubleClickWidths(int fitted_width, int pair_total) {
  int column = std::min(fitted_width, pair_total - kMinimumColumnWidth);
  return {column, pair_total - column};
}

}  // namespace velbrook::app
