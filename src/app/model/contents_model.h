// The four lists of the library contents window: the rows an opening gives
// them, their cells and hidden numbers, the check marks and the order a
// header click gives them. Generation, "Check what these need" and the
// selection files read and check these lists; the window only shows them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "generate/contents_list.h"
#include "typeinfo/library_contents.h"

namespace velbrook::app {

// The four lists of the library contents window.
enum class ContentsList : int {
  kObjectClasses = 0,  // Interfaces, Object classes, ProgIDs, Hidden
  kEventInterfaces,    // Event Interfaces, for Objects, (empty), Hidden
  kTypes,              // Types
  kEnumerations,       // Constant Enumerations
};
constexpr int kContentsListCount = 4;

generate::ListKind KindOf(ContentsList list);
ContentsList ListOf(generate::ListKind kind);
// The object classes and event interfaces lists sort on a header click;
// the types and enumerations lists keep the order they were filled in.
bool IsSortable(ContentsList list);
// Columns a list shows (the Hidden column included).
int ColumnCount(ContentsList list);

class ContentsModel {
 public:
  // The lists of an opened library as the contents model lists its rows,
  // every row unchecked.
  void Fill(const typeinfo::LibraryContents& contents);
  // The lists as given (tests and fakes script them this way).
  void Set(generate::VectorContentsLists lists) { lists_ = std::move(lists); }
  const generate::VectorContentsLists& lists() const { return lists_; }
  const generate::VectorContentsList& List(ContentsList which) const;

  // Rows are display positions, top to bottom.
  size_t RowCount(ContentsList which) const { return List(which).RowCount(); }
  // Empty text for a row or column out of range.
  std::string CellText(ContentsList which, size_t row, int column) const {
    return List(which).CellText(row, column);
  }
  // The position the row had when the list was filled.
  size_t HiddenNumber(ContentsList which, size_t row) const {
    return List(which).HiddenNumber(row);
  }
  bool IsChecked(ContentsList which, size_t row) const { return List(which).IsChecked(row); }
  // Rows out of range are ignored.
  void SetChecked(ContentsList which, size_t row, bool checked);
  // Toggle: every row's check mark inverted.
  void ToggleAll(ContentsList which);
  void UncheckAll();
  // Checks rows named by list and hidden number; rows the lists lack are ignored.
  void CheckRows(const std::vector<generate::RowRef>& rows);

  // A header click on a sortable list: rows ordered by the column's texts
  // as CompareCells compares them, ascending, rows with equal texts keeping
  // their order. False (nothing changed) for the other two lists.
  bool SortByColumn(ContentsList which, int column);

 private:
  generate::VectorContentsList& Mutable(ContentsList which);
  generate::VectorContentsLists lists_;
};

}  // namespace velbrook::app
