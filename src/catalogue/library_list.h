// The library list seam: the main window's list view in the GUI, a vector in
// the tests and on the command line.
#pragma once

#include <string>

namespace velbrook::catalogue {

enum LibraryColumn : int {
  kColumnFile = 0,
  kColumnDescription = 1,
  kColumnPath = 2,
  kColumnClsid = 3,
  kColumnHidden = 4,
};
constexpr int kLibraryColumnCount = 5;

class LibraryList {
 public:
  virtual ~LibraryList() = default;
  virtual int RowCount() const = 0;
  // Empty text for a row or column out of range.
  virtual std::string CellText(int row, int column) const = 0;
  virtual void DeleteAllRows() = 0;
  // Inserts a row at index with its File text; the other cells are empty.
  virtual void InsertRow(int index, const std::string& file) = 0;
  virtual void SetCellText(int row, int column, const std::string& text) = 0;
  // Makes row the only selected one, focused and scrolled into view.
  virtual void SelectRowAndShow(int row) = 0;
  // Adds row to the selection and focuses it.
  virtual void SelectRow(int row) = 0;
  // Gives the keyboard focus to the list.
  virtual void Focus() = 0;
};

}  // namespace velbrook::catalogue
