// Reads the contents window's lists for generation.
#include "app/win/contents_list_adapter.h"

#include "app/model/list_rules.h"

namespace velbrook::app {
namespace {

constexpr int kHiddenColumn = 3;

}  // namespace

size_t WindowContentsList::RowCount() const {
  int count = lists_.RowCount(which_);
  return count < 0 ? 0 : static_cast<size_t>(count);
}

std::string WindowContentsList::CellText(size_t row, int column) const {
  return lists_.CellText(which_, static_cast<int>(row), column);
}

bool WindowContentsList::IsChecked(size_t row) const {
  return lists_.IsRowChecked(which_, static_cast<int>(row)) == 1;
}

size_t WindowContentsList::HiddenNumber(size_t row) const {
  if (which_ != app::ContentsList::kObjectClasses &&
      which_ != app::ContentsList::kEventInterfaces) {
    return row;
  }
  int hidden = ParseHiddenRowNumber(lists_.CellText(which_, static_cast<int>(row), kHiddenColumn));
  // A cell without a number maps to no library item rather than another's.
  return hidden < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(hidden);
}

}  // namespace velbrook::app
