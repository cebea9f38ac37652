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
  class_row_index_ = contents.class_row_index;
  interface_row_index_ = contents.interface_row_index;
  event_row_index_ = contents.event_row_index;
  module_row_index_ = contents.module_row_index;
}

void ContentsModel::Set(generate::VectorContentsLists lists) {
  lists_ = std::move(lists);
  class_row_index_.clear();
  interface_row_index_.clear();
  event_row_index_.clear();
  module_row_index_.clear();
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

std::optional<ContentsRow> ContentsModel::ShownRow(ContentsList which, size_t hidden) const {
  const generate::VectorContentsList& list = List(which);
  for (size_t row = 0; row < list.RowCount(); ++row) {
    if (list.HiddenNumber(row) == hidden) return ContentsRow{which, row};
  }
  return std::nullopt;
}

std::optional<ContentsRow> ContentsModel::InterfaceRowNamed(const std::string& name) const {
  if (name.empty()) return std::nullopt;
  for (size_t row = 0; row < lists_.classes.RowCount(); ++row) {
    if (lists_.classes.CellText(row, generate::kInterfacesColumn) == name) {
      return ContentsRow{ContentsList::kObjectClasses, row};
    }
  }
  for (size_t row = 0; row < lists_.events.RowCount(); ++row) {
    if (lists_.events.CellText(row, generate::kEventInterfacesColumn) == name) {
      return ContentsRow{ContentsList::kEventInterfaces, row};
    }
  }
  return std::nullopt;
}

std::optional<ContentsRow> ContentsModel::RowOfItem(const catalogue::SearchHit& hit) const {
  const bool member = catalogue::IsMemberKind(hit.kind);
  const catalogue::ItemKind kind = member ? hit.owner_kind : hit.kind;
  const std::string& name = member ? hit.owner : hit.name;
  const uint32_t index = hit.index;
  // The enumerations list holds the enumerations, one row each, then the
  // modules' rows.
  const size_t module_rows = std::min(lists_.enumerations.RowCount(), module_row_index_.size());
  const size_t enumerations = lists_.enumerations.RowCount() - module_rows;
  // Position of the row added for the item at `index` in a row index.
  auto added_as = [index](const auto& row_index) -> std::optional<size_t> {
    if (index == 0) return std::nullopt;
    for (size_t hidden = 0; hidden < row_index.size(); ++hidden) {
      if (row_index[hidden] == index) return hidden;
    }
    return std::nullopt;
  };
  switch (kind) {
    case catalogue::ItemKind::kObjectClass:
      if (auto hidden = added_as(class_row_index_)) {
        return ShownRow(ContentsList::kObjectClasses, *hidden);
      }
      return std::nullopt;
    case catalogue::ItemKind::kInterface:
    case catalogue::ItemKind::kEventInterface:
      if (auto hidden = added_as(interface_row_index_)) {
        return ShownRow(ContentsList::kObjectClasses, *hidden);
      }
      if (auto hidden = added_as(event_row_index_)) {
        return ShownRow(ContentsList::kEventInterfaces, *hidden);
      }
      return InterfaceRowNamed(name);
    case catalogue::ItemKind::kRecord:
      // One types row per record, in the library's order.
      if (index == 0) return std::nullopt;
      return ShownRow(ContentsList::kTypes, index - 1);
    case catalogue::ItemKind::kEnumeration:
      if (index == 0 || index > enumerations) return std::nullopt;
      return ShownRow(ContentsList::kEnumerations, index - 1);
    case catalogue::ItemKind::kModule:
      if (auto position = added_as(module_row_index_)) {
        return ShownRow(ContentsList::kEnumerations, enumerations + *position);
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace velbrook::app
