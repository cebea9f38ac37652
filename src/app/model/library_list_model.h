// The library list of the main window: its rows as the scan adds them, the
// order a header click gives them, the selection and the focused row. Rows
// are addressed by their position top to bottom; the window only shows them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/library_rows.h"

namespace velbrook::app {

using LibraryEntry = catalogue::LibraryEntry;

class LibraryListModel {
 public:
  enum Column : int {
    kFileColumn = 0,
    kDescriptionColumn,
    kPathColumn,
    kClsidColumn,
    kHiddenColumn,
    kBitsColumn,     // "32" or "64": the registration's platform subkey
    kProblemColumn,  // what is wrong with the row's file, or empty text
  };
  static constexpr int kColumnCount = 7;

  // No rows, nothing selected or focused.
  void Clear();
  // Adds a row at its place in the File order (after every equal File) and
  // returns that place; its hidden number is the count of rows added before.
  size_t Add(const LibraryEntry& entry);
  // Rows whose file has a problem.
  size_t ProblemCount() const { return problem_count_; }

  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  const LibraryEntry& Entry(size_t row) const { return rows_.at(row); }
  size_t HiddenNumber(size_t row) const { return rows_.HiddenNumber(row); }
  // A cell as the list shows it: the Hidden column in decimal; empty text
  // for a row or column out of range.
  std::string CellText(size_t row, int column) const;
  // The Path column top to bottom.
  std::vector<std::string> Paths() const;

  // A header click: the rows ordered by the column's texts as CompareCells
  // compares them, ascending; rows with equal texts keep their order. The
  // selection and focus stay with their rows.
  void SortByColumn(int column);

  bool IsSelected(size_t row) const;
  void SetSelected(size_t row, bool selected);
  void SetAllSelected(bool selected);
  // Selected rows top to bottom.
  std::vector<size_t> SelectedRows() const;
  // The focused row, or -1.
  int FocusedRow() const;
  // Focuses a row (-1: none).
  void SetFocusedRow(int row);
  // SelectRow: the row selected and focused; the others keep their selection.
  void SelectRow(size_t row);
  // The row the only selected one, and focused.
  void SelectOnlyRow(size_t row);

  // The first row at or after `start` whose File equals `text` (or, when
  // `partial`, begins with it), ignoring ASCII case; with `wrap` the search
  // goes on from the top. -1 when there is none (type-ahead in the list).
  int FindFile(const std::string& text, bool partial, size_t start, bool wrap) const;

 private:
  catalogue::LibraryRows rows_;
  std::vector<bool> selected_;  // by hidden number
  int focused_hidden_ = -1;
  size_t problem_count_ = 0;
};

}  // namespace velbrook::app
