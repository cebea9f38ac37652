// In-memory contents lists and the command line's row selection.
#include "generate/contents_list.h"

#include <algorithm>

namespace velbrook::generate {
namespace {

constexpr char kActiveXSuffix[] = " (ActiveX)";

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

void VectorContentsList::AddRow(std::vector<std::string> cells, size_t hidden, bool checked) {
  rows_.push_back(Row{std::move(cells), hidden, checked});
}

std::string VectorContentsList::CellText(size_t row, int column) const {
  if (row >= rows_.size() || column < 0) return std::string();
  const std::vector<std::string>& cells = rows_[row].cells;
  return static_cast<size_t>(column) < cells.size() ? cells[column] : std::string();
}

bool VectorContentsList::IsChecked(size_t row) const {
  return row < rows_.size() && rows_[row].checked;
}

size_t VectorContentsList::HiddenNumber(size_t row) const {
  return row < rows_.size() ? rows_[row].hidden : 0;
}

void VectorContentsList::CheckAll() {
  for (Row& row : rows_) row.checked = true;
}

void VectorContentsList::SortByColumn(int column, bool descending) {
  auto text = [column](const Row& row) {
    return static_cast<size_t>(column) < row.cells.size() ? row.cells[column] : std::string();
  };
  std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
    return descending ? text(b) < text(a) : text(a) < text(b);
  });
}

VectorContentsLists MakeContentsLists(const typeinfo::LibraryContents& contents) {
  VectorContentsLists lists;
  for (const typeinfo::ClassRow& row : contents.class_rows) {
    lists.classes.AddRow(
        {row.interface_name, row.class_name, row.prog_id, std::to_string(row.hidden)},
        static_cast<size_t>(row.hidden));
  }
  for (const typeinfo::EventRow& row : contents.event_rows) {
    lists.events.AddRow({row.interface_name, row.owners, std::string(), std::to_string(row.hidden)},
                        static_cast<size_t>(row.hidden));
  }
  for (size_t i = 0; i < contents.type_rows.size(); ++i) {
    lists.types.AddRow({contents.type_rows[i]}, i);
  }
  for (size_t i = 0; i < contents.enumeration_rows.size(); ++i) {
    lists.enumerations.AddRow({contents.enumeration_rows[i]}, i);
  }
  return lists;
}

std::string ClassRowSelectName(const ContentsList& list, size_t row) {
  std::string class_name = list.CellText(row, kObjectClassesColumn);
  if (class_name.empty()) return list.CellText(row, kInterfacesColumn);
  if (EndsWith(class_name, kActiveXSuffix)) {
    class_name.resize(class_name.size() - (sizeof(kActiveXSuffix) - 1));
  }
  return class_name;
}

void CheckRowRefs(const std::vector<RowRef>& rows, VectorContentsLists* lists) {
  const std::pair<ListKind, VectorContentsList*> all[] = {
      {ListKind::kClasses, &lists->classes},
      {ListKind::kEvents, &lists->events},
      {ListKind::kTypes, &lists->types},
      {ListKind::kEnumerations, &lists->enumerations}};
  for (const auto& [kind, list] : all) {
    std::unordered_map<size_t, size_t> row_of_hidden;
    for (size_t r = 0; r < list->RowCount(); ++r) row_of_hidden.emplace(list->HiddenNumber(r), r);
    for (const RowRef& ref : rows) {
      if (ref.list != kind) continue;
      auto found = row_of_hidden.find(ref.hidden);
      if (found != row_of_hidden.end()) list->SetChecked(found->second, true);
    }
  }
}

size_t SelectRowsNamed(VectorContentsLists* lists, const std::string& name) {
  size_t matched = 0;
  for (size_t r = 0; r < lists->classes.RowCount(); ++r) {
    if (ClassRowSelectName(lists->classes, r) == name) {
      lists->classes.SetChecked(r, true);
      ++matched;
    }
  }
  VectorContentsList* single_name_lists[] = {&lists->events, &lists->types, &lists->enumerations};
  for (VectorContentsList* list : single_name_lists) {
    for (size_t r = 0; r < list->RowCount(); ++r) {
      if (list->CellText(r, 0) == name) {
        list->SetChecked(r, true);
        ++matched;
      }
    }
  }
  return matched;
}

}  // namespace velbrook::generate
