// The library list's rows, header order, selection, focus and type-ahead.
#include "app/model/library_list_model.h"

#include <algorithm>
#include <utility>

#include "app/model/command_line.h"
#include "app/model/list_rules.h"

namespace velbrook::app {

void LibraryListModel::Clear() {
  rows_.Clear();
  selected_.clear();
  focused_hidden_ = -1;
  problem_count_ = 0;
}

size_t LibraryListModel::Add(const LibraryEntry& entry) {
  selected_.push_back(false);
  if (entry.problem != catalogue::RowProblem::kNone) ++problem_count_;
  return rows_.Add(entry);
}

std::string LibraryListModel::CellText(size_t row, int column) const {
  if (row >= rows_.size()) return std::string();
  const LibraryEntry& entry = rows_.at(row);
  switch (column) {
    case kFileColumn:
      return entry.file;
    case kDescriptionColumn:
      return entry.description;
    case kPathColumn:
      return entry.path;
    case kClsidColumn:
      return entry.clsid;
    case kHiddenColumn:
      return std::to_string(rows_.HiddenNumber(row));
    case kBitsColumn:
      return std::to_string(entry.bits);
    case kProblemColumn:
      return catalogue::RowProblemText(entry.problem);
    default:
      return std::string();
  }
}

std::vector<std::string> LibraryListModel::Paths() const {
  std::vector<std::string> paths;
  paths.reserve(rows_.size());
  for (size_t row = 0; row < rows_.size(); ++row) paths.push_back(rows_.at(row).path);
  return paths;
}

void LibraryListModel::SortByColumn(int column) {
  // Each key is made once, by hidden number, before the sort compares them.
  std::vector<std::string> keys(rows_.size());
  for (size_t row = 0; row < rows_.size(); ++row) {
    keys[rows_.HiddenNumber(row)] = SortKey(CellText(row, column));
  }
  std::vector<uint32_t> order = rows_.order();
  std::stable_sort(order.begin(), order.end(), [&keys](uint32_t a, uint32_t b) {
    return CompareSortKeys(keys[a], keys[b]) < 0;
  });
  rows_.Reorder(std::move(order));
}

bool LibraryListModel::IsSelected(size_t row) const {
  return row < rows_.size() && selected_[rows_.HiddenNumber(row)];
}

void LibraryListModel::SetSelected(size_t row, bool selected) {
  if (row < rows_.size()) selected_[rows_.HiddenNumber(row)] = selected;
}

void LibraryListModel::SetAllSelected(bool selected) {
  selected_.assign(selected_.size(), selected);
}

std::vector<size_t> LibraryListModel::SelectedRows() const {
  std::vector<size_t> rows;
  for (size_t row = 0; row < rows_.size(); ++row) {
    if (selected_[rows_.HiddenNumber(row)]) rows.push_back(row);
  }
  return rows;
}

int LibraryListModel::FocusedRow() const {
  if (focused_hidden_ < 0) return -1;
  const std::vector<uint32_t>& order = rows_.order();
  auto found = std::find(order.begin(), order.end(), static_cast<uint32_t>(focused_hidden_));
  return found == order.end() ? -1 : static_cast<int>(found - order.begin());
}

void LibraryListModel::SetFocusedRow(int row) {
  focused_hidden_ = row >= 0 && static_cast<size_t>(row) < rows_.size()
                        ? static_cast<int>(rows_.HiddenNumber(static_cast<size_t>(row)))
                        : -1;
}

void LibraryListModel::SelectRow(size_t row) {
  if (row >= rows_.size()) return;
  SetSelected(row, true);
  SetFocusedRow(static_cast<int>(row));
}

void LibraryListModel::SelectOnlyRow(size_t row) {
  if (row >= rows_.size()) return;
  SetAllSelected(false);
  SelectRow(row);
}

int LibraryListModel::FindFile(const std::string& text, bool partial, size_t start,
                               bool wrap) const {
  const std::string wanted = LowerAscii(text);
  const size_t count = rows_.size();
  if (start >= count) start = 0;
  const size_t steps = wrap ? count : count - start;
  for (size_t step = 0; step < steps; ++step) {
    const size_t row = (start + step) % count;
    const std::string& file = rows_.at(row).file;
    if (!partial && file.size() != wanted.size()) continue;
    if (LowerAscii(file.substr(0, wanted.size())) == wanted) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace velbrook::app
