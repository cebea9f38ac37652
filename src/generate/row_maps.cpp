// Row maps copied from an opening, and their look-ups.
#include "generate/row_maps.h"

namespace velbrook::generate {

RowMaps RowMaps::FromContents(const typeinfo::LibraryContents& contents) {
  RowMaps maps;
  maps.class_row_index_ = contents.class_row_index;
  maps.interface_row_index_ = contents.interface_row_index;
  maps.event_row_index_ = contents.event_row_index;
  // Module rows come last in the enumerations list.
  maps.SetModuleRows(contents.enumeration_rows.size() - contents.module_row_index.size(),
                     contents.module_row_index);
  const size_t count =
      std::min(contents.source_interface_names.size(), contents.source_interface_owners.size());
  for (size_t i = 0; i < count; ++i) {
    maps.AddSourceInterface(contents.source_interface_names[i],
                            contents.source_interface_owners[i]);
  }
  return maps;
}

std::optional<uint32_t> RowMaps::InterfaceOfRow(size_t hidden) const {
  if (hidden >= interface_row_index_.size()) return std::nullopt;
  return interface_row_index_[hidden];
}

std::optional<uint32_t> RowMaps::EventInterfaceOfRow(size_t hidden) const {
  if (hidden >= event_row_index_.size()) return std::nullopt;
  return event_row_index_[hidden];
}

std::optional<uint32_t> RowMaps::ModuleOfRow(size_t hidden) const {
  if (hidden < first_module_row_ || hidden - first_module_row_ >= module_row_index_.size()) {
    return std::nullopt;
  }
  return module_row_index_[hidden - first_module_row_];
}

std::string RowMaps::OwnersOf(const std::string& name) const {
  auto found = source_index_.find(name);
  if (found != source_index_.end()) return source_owners_[found->second];
  return source_owners_.empty() ? std::string() : source_owners_.front();
}

void RowMaps::SetClassRowCount(size_t count) {
  class_row_index_.clear();
  for (size_t i = 0; i < count; ++i) class_row_index_.push_back(static_cast<uint32_t>(i + 1));
}

void RowMaps::AddInterfaceRow(std::optional<uint32_t> interface_index) {
  interface_row_index_.push_back(interface_index);
}

void RowMaps::AddEventRow(uint32_t interface_index) { event_row_index_.push_back(interface_index); }

void RowMaps::SetModuleRows(size_t first_row, std::vector<uint32_t> module_indexes) {
  first_module_row_ = first_row;
  module_row_index_ = std::move(module_indexes);
}

void RowMaps::AddSourceInterface(const std::string& name, const std::string& owners) {
  // The first line of a name wins, as a whole-line search finds it first.
  source_index_.emplace(name, source_owners_.size());
  source_owners_.push_back(owners);
}

}  // namespace velbrook::generate
