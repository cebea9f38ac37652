// What the library contents window shows for one library, and the row maps
// that lead from a row back to the component's type objects. Built once per
// opening; the window only displays it, generation reads it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::typeinfo {

// Columns of the object classes list.
struct ClassRow {
  std::string interface_name;  // "Interfaces"
  std::string class_name;      // "Object classes", with " (ActiveX)" for controls
  std::string prog_id;         // "ProgIDs"
  int hidden = 0;              // row position when added
};

// Columns of the event interfaces list (its third column is always empty).
struct EventRow {
  std::string interface_name;  // "Event Interfaces"
  std::string owners;          // "for Objects"
  int hidden = 0;
};

struct LibraryContents {
  std::vector<ClassRow> class_rows;
  std::vector<EventRow> event_rows;
  std::vector<std::string> type_rows;  // record names, leading "_" removed
  // Enumeration names unchanged, then the names of the modules that declare
  // constants: each such module is one group of constants, like an
  // enumeration.
  std::vector<std::string> enumeration_rows;

  // Per coclass row: the coclass's 1-based index in ObjectClasses.
  std::vector<uint32_t> class_row_index;
  // Per object classes row: empty for a coclass row, else the interface's
  // 1-based index in Interfaces.
  std::vector<std::optional<uint32_t>> interface_row_index;
  // Per event row: the interface's 1-based index in Interfaces.
  std::vector<uint32_t> event_row_index;
  // Per module row of the enumerations list (the rows after the
  // enumerations): the module's 1-based index in Modules.
  std::vector<uint32_t> module_row_index;
  // Distinct source interface names in order of first appearance, and beside
  // each the coclasses declaring it ("A (default), B").
  std::vector<std::string> source_interface_names;
  std::vector<std::string> source_interface_owners;

  // Line of source_interface_names equal to name, if any.
  std::optional<size_t> FindSourceInterface(const std::string& name) const;

 private:
  friend class ContentsBuilder;
  std::unordered_map<std::string, size_t> source_index_;
};

using ProgIdLookup = std::function<std::string(const std::string& class_guid_text)>;

LibraryContents BuildLibraryContents(const Library& library, const ProgIdLookup& prog_id);

// A record's row name: its name with every leading underscore removed.
std::string RecordRowName(const std::string& name);

// A member that is a constant: it has a value (a module's functions and an
// interface's members have none).
bool IsConstantMember(const Member& member);

// A module that declares at least one constant, so it has a row.
bool HasConstants(const Type& module);

}  // namespace velbrook::typeinfo
