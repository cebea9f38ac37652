// The row maps and source-interface lists the opening left behind, with a
// hash index beside the source names so every look-up is constant-time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/library_contents.h"

namespace velbrook::generate {

class RowMaps {
 public:
  RowMaps() = default;
  // Copies the maps out of an opening.
  static RowMaps FromContents(const typeinfo::LibraryContents& contents);

  // Number of lines of ClassRowIndex: hidden numbers below it are coclasses.
  size_t ClassRowCount() const { return class_row_index_.size(); }
  // 1-based Interfaces index of an object classes row, if it is an
  // interface row that has one.
  std::optional<uint32_t> InterfaceOfRow(size_t hidden) const;
  // 1-based Interfaces index of an event interfaces row.
  std::optional<uint32_t> EventInterfaceOfRow(size_t hidden) const;
  // 1-based Modules index of an enumerations list row that stands for a
  // module's constants; none for an enumeration's row.
  std::optional<uint32_t> ModuleOfRow(size_t hidden) const;
  // The "for Objects" text of the named source interface. A name that is no
  // source interface gives the first owners line (empty when there is none),
  // as the line-list look-up of an absent name would.
  std::string OwnersOf(const std::string& name) const;

  // Building by hand (tests, and lists filled without an opening).
  void SetClassRowCount(size_t count);
  void AddInterfaceRow(std::optional<uint32_t> interface_index);
  void AddEventRow(uint32_t interface_index);
  void AddSourceInterface(const std::string& name, const std::string& owners);
  // Module rows follow the first `first_row` rows of the enumerations list.
  void SetModuleRows(size_t first_row, std::vector<uint32_t> module_indexes);

 private:
  std::vector<uint32_t> class_row_index_;
  std::vector<std::optional<uint32_t>> interface_row_index_;
  std::vector<uint32_t> event_row_index_;
  size_t first_module_row_ = 0;
  std::vector<uint32_t> module_row_index_;
  std::vector<std::string> source_owners_;
  std::unordered_map<std::string, size_t> source_index_;
};

}  // namespace velbrook::generate
