// The four lists of the library contents window: the rows an opening gives
// them, their cells and hidden numbers, the check marks and the order a
// header click gives them. Generation, "Check what these need" and the
// selection files read and check these lists; the window only shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/search_query.h"
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

// A row of one of the four lists, by display position.
struct ContentsRow {
  ContentsList list = ContentsList::kObjectClasses;
  size_t row = 0;
  bool operator==(const ContentsRow& other) const { return list == other.list && row == other.row; }
};

class ContentsModel {
 public:
  // The lists of an opened library as the contents model lists its rows,
  // every row unchecked.
  void Fill(const typeinfo::LibraryContents& contents);
  // The lists as given (tests and fakes script them this way); items are
  // then found by their names only.
  void Set(generate::VectorContentsLists lists);
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

  // The row that shows an item a search found in the library the lists were
  // filled from: an object class's row, an interface's row in the object
  // classes or event interfaces list, a record's, enumeration's or module's
  // row; for a member, its owner's row. An interface without a row of its
  // own (an object class's default interface) is found by its name. None
  // for the library itself and for an item the lists do not show.
  std::optional<ContentsRow> RowOfItem(const catalogue::SearchHit& hit) const;

 private:
  generate::VectorContentsList& Mutable(ContentsList which);
  // The display row of the row added as `hidden`.
  std::optional<ContentsRow> ShownRow(ContentsList which, size_t hidden) const;
  // The first row, top to bottom, of the object classes list whose
  // interface is `name`, else of the event interfaces list.
  std::optional<ContentsRow> InterfaceRowNamed(const std::string& name) const;

  generate::VectorContentsLists lists_;
  // From the contents the lists were filled from: per row added, the 1-based
  // position of its item in the library's lists (see LibraryContents).
  std::vector<uint32_t> class_row_index_;
  std::vector<std::optional<uint32_t>> interface_row_index_;
  std::vector<uint32_t> event_row_index_;
  std::vector<uint32_t> module_row_index_;
};

}  // namespace velbrook::app
