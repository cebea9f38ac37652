// Check-mark, sorting, divider and search-key rules of the lists.
#include "app/model/list_rules.h"

#include <algorithm>

#include "app/model/command_line.h"

namespace velbrook::app {

int CheckedFromState(uint32_t state) {
  return (static_cast<int>((state & kStateImageMask) >> 12) - 1) == 1 ? 1 : 0;
}

uint32_t ToggledStateImage(uint32_t state) {
  return CheckedFromState(state) == 1 ? kStateImageUnchecked : kStateImageChecked;
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

int SortedInsertPosition(const std::vector<std::string>& files, const std::string& file) {
  for (size_t row = 0; row < files.size(); ++row) {
    if (CompareSortKeys(files[row], file) > 0) return static_cast<int>(row);
  }
  return static_cast<int>(files.size());
}

std::string SearchKey(const std::string& text) {
  std::string key;
  for (char c : text) {
    if (c != '_') key += c;
  }
  key = LowerAscii(key);
  size_t start = key.find_first_not_of(" \t");
  if (start == std::string::npos) return std::string();
  size_t end = key.find_last_not_of(" \t");
  return key.substr(start, end - start + 1);
}

int ParseHiddenRowNumber(const std::string& cell_text) {
  if (cell_text.empty() || cell_text.size() > 9) return -1;
  int value = 0;
  for (char c : cell_text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace velbrook::app
