// VectorLibraryList: rows, selection and focus as a list view keeps them.
#include "catalogue/vector_library_list.h"

namespace velbrook::catalogue {

std::string VectorLibraryList::CellText(int row, int column) const {
  if (!InRange(row) || column < 0 || column >= kLibraryColumnCount) return "";
  return rows_[row][column];
}

void VectorLibraryList::DeleteAllRows() {
  rows_.clear();
  selected_.clear();
  focused_row_ = -1;
  shown_row_ = -1;
}

void VectorLibraryList::InsertRow(int index, const std::string& file) {
  if (index < 0 || index > RowCount()) index = RowCount();
  Row row;
  row[kColumnFile] = file;
  rows_.insert(rows_.begin() + index, row);
  selected_.insert(selected_.begin() + index, false);
  // A list view moves the focus with its row.
  if (focused_row_ >= index) ++focused_row_;
}

void VectorLibraryList::SetCellText(int row, int column, const std::string& text) {
  if (!InRange(row) || column < 0 || column >= kLibraryColumnCount) return;
  rows_[row][column] = text;
}

void VectorLibraryList::SelectRowAndShow(int row) {
  if (!InRange(row)) return;
  selected_.assign(selected_.size(), false);
  SelectRow(row);
  shown_row_ = row;
}

void VectorLibraryList::SelectRow(int row) {
  if (!InRange(row)) return;
  selected_[row] = true;
  focused_row_ = row;
}

bool VectorLibraryList::IsSelected(int row) const { return InRange(row) && selected_[row]; }

std::vector<int> VectorLibraryList::SelectedRows() const {
  std::vector<int> rows;
  for (int row = 0; row < RowCount(); ++row) {
    if (selected_[row]) rows.push_back(row);
  }
  return rows;
}

}  // namespace velbrook::catalogue
