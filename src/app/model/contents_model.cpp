// The contents lists: filling, check marks, Toggle and header sorting.
#include "app/model/contents_model.h"

#include <algorithm>
#include <utility>

#include "app/model/list_rules.h"

namespace velbrook::app {

generate::ListKind KindOf(ContentsList list) {
  switch (list) {
    case ContentsList::kObjectClasses:
      return generate::ListKind::kClasses;
    case ContentsList::kEventInterfaces:
      return generate::ListKind::kEvents;
    case ContentsList::kTypes:
      return generate::ListKind::kTypes;
    case ContentsList::kEnumerations:
      break;
  }
  return generate::ListKind::kEnumerations;
}

ContentsList ListOf(generate::ListKind kind) {
  switch (kind) {
    case generate::ListKind::kClasses:
      return ContentsList::kObjectClasses;
    case generate::ListKind::kEvents:
      return ContentsList::kEventInterfaces;
    case generate::ListKind::kTypes:
      return ContentsList::kTypes;
    case generate::ListKind::kEnumerations:
      break;
  }
  return ContentsList::kEnumerations;
}

bool IsSortable(ContentsList list) {
  return list == ContentsList::kObjectClasses || list == ContentsList::kEventInterfaces;
}

int ColumnCount(ContentsList list) { return IsSortable(list) ? 4 : 1; }

void ContentsModel::Fill(const typeinfo::LibraryContents& contents) {
  lists_ = generate::MakeContentsLists(contents);
}

const generate::VectorContentsList& ContentsModel::List(ContentsList which) const {
  return const_cast<ContentsModel*>(this)->Mutable(which);
}

generate::VectorContentsList& ContentsModel::Mutable(ContentsList which) {
  switch (which) {
    case ContentsList::kObjectClasses:
      return lists_.classes;
    case ContentsList::kEventInterfaces:
      return lists_.events;
    case ContentsList::kTypes:
      return lists_.types;
    case ContentsList::kEnumerations:
      break;
  }
  return lists_.enumerations;
}

void ContentsModel::SetChecked(ContentsList which, size_t row, bool checked) {
  generate::VectorContentsList& list = Mutable(which);
  if (row < list.RowCount()) list.SetChecked(row, checked);
}

void ContentsModel::ToggleAll(ContentsList which) {
  for (generate::VectorContentsList::Row& row : Mutable(which).rows()) row.checked = !row.checked;
}

void ContentsModel::UncheckAll() {
  for (int i = 0; i < kContentsListCount; ++i) {
    for (generate::VectorContentsList::Row& row : Mutable(static_cast<ContentsList>(i)).rows()) {
      row.checked = false;
    }
  }
}

void ContentsModel::CheckRows(const std::vector<generate::RowRef>& rows) {
  generate::CheckRowRefs(rows, &lists_);
}

bool ContentsModel::SortByColumn(ContentsList which, int column) {
  if (!IsSortable(which)) return false;
  std::vector<generate::VectorContentsList::Row>& rows = Mutable(which).rows();
  // Each key is made once, before the sort compares them.
  std::vector<std::pair<std::string, size_t>> keyed;
  keyed.reserve(rows.size());
  for (size_t row = 0; row < rows.size(); ++row) {
    const auto& cells = rows[row].cells;
    const bool has_cell = column >= 0 && static_cast<size_t>(column) < cells.size();
    keyed.emplace_back(SortKey(has_cell ? cells[column] : std::string()), row);
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return CompareSortKeys(a.first, b.first) < 0;
  });
  std::vector<generate::VectorContentsList::Row> sorted;
  sorted.reserve(rows.size());
  for (const auto& [key, row] : keyed) sorted.push_back(std::move(rows[row]));
  rows = std::move(sorted);
  return true;
}

}  // namespace velbrook::app
