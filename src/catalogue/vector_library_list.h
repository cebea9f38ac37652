// The library list kept in a vector, with its selection: what the command
// line and the tests use in place of the main window's list view.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/library_list.h"

namespace velbrook::catalogue {

class VectorLibraryList : public LibraryList {
 public:
  using Row = std::array<std::string, kLibraryColumnCount>;

  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::string CellText(int row, int column) const override;
  void DeleteAllRows() override;
  void InsertRow(int index, const std::string& file) override;
  void SetCellText(int row, int column, const std::string& text) override;
  void SelectRowAndShow(int row) override;
  void SelectRow(int row) override;
  void Focus() override { ++focus_count_; }

  const std::vector<Row>& rows() const { return rows_; }
  bool IsSelected(int row) const;
  // Selected rows in list order.
  std::vector<int> SelectedRows() const;
  int focused_row() const { return focused_row_; }
  int shown_row() const { return shown_row_; }
  int focus_count() const { return focus_count_; }

 private:
  bool InRange(int row) const { return row >= 0 && row < RowCount(); }

  std::vector<Row> rows_;
  std::vector<bool> selected_;
  int focused_row_ = -1;
  int shown_row_ = -1;
  int focus_count_ = 0;
};

}  // namespace velbrook::catalogue
