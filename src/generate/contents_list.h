// The four lists of the library contents window as generation sees them: a
// seam that list views back in the GUI and plain vectors back elsewhere.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/library_contents.h"

namespace velbrook::generate {

// One list in its current display order. Rows are 0-based display
// positions; the hidden number is the row's position when it was added, so
// it survives sorting.
class ContentsList {
 public:
  virtual ~ContentsList() = default;
  virtual size_t RowCount() const = 0;
  virtual std::string CellText(size_t row, int column) const = 0;
  virtual bool IsChecked(size_t row) const = 0;
  virtual size_t HiddenNumber(size_t row) const = 0;
};

// A list held in memory: the command line and the tests.
class VectorContentsList : public ContentsList {
 public:
  struct Row {
    std::vector<std::string> cells;
    size_t hidden = 0;
    bool checked = false;
  };

  void AddRow(std::vector<std::string> cells, size_t hidden, bool checked = false);
  size_t RowCount() const override { return rows_.size(); }
  std::string CellText(size_t row, int column) const override;
  bool IsChecked(size_t row) const override;
  size_t HiddenNumber(size_t row) const override;

  void SetChecked(size_t row, bool checked) { rows_.at(row).checked = checked; }
  void CheckAll();
  // Re-orders the rows as the list view's header sort would: by the text of
  // column, stable, ascending or descending.
  void SortByColumn(int column, bool descending);
  std::vector<Row>& rows() { return rows_; }
  const std::vector<Row>& rows() const { return rows_; }

 private:
  std::vector<Row> rows_;
};

// Column numbers of the object classes and event interfaces lists.
inline constexpr int kInterfacesColumn = 0;
inline constexpr int kObjectClassesColumn = 1;
inline constexpr int kProgIdsColumn = 2;
inline constexpr int kClassHiddenColumn = 3;
inline constexpr int kEventInterfacesColumn = 0;
inline constexpr int kForObjectsColumn = 1;
inline constexpr int kEventHiddenColumn = 3;

struct VectorContentsLists {
  VectorContentsList classes;
  VectorContentsList events;
  VectorContentsList types;
  VectorContentsList enumerations;
};

// The four lists of the contents window.
enum class ListKind { kClasses, kEvents, kTypes, kEnumerations };

// A row, by list and hidden number (the row's position when it was added),
// so it stays the same row however the list is sorted.
struct RowRef {
  ListKind list = ListKind::kClasses;
  size_t hidden = 0;
};

// Checks the given rows of the lists, found by hidden number.
void CheckRowRefs(const std::vector<RowRef>& rows, VectorContentsLists* lists);

// The lists as the contents window fills them, nothing checked.
VectorContentsLists MakeContentsLists(const typeinfo::LibraryContents& contents);

// The name a row is selected by on the command line: a coclass row's object
// class without " (ActiveX)", a plain interface row's interface name, and
// the one shown name of every other list.
std::string ClassRowSelectName(const ContentsList& list, size_t row);

// Checks every row of the four lists whose select name equals name; returns
// how many rows matched.
size_t SelectRowsNamed(VectorContentsLists* lists, const std::string& name);

}  // namespace velbrook::generate
