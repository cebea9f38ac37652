// Selection files: which library, which options and which rows made an
// include file, kept as text so the same file can be generated again.
//
//   velbrook selection 1
//   library {AFD3A7A7-8606-4AA4-91F0-88BB450635BF}
//   version 3.1
//   lcid 0
//   path C:\Fixtures\records.tlb
//   style vtable
//   generics on
//   type Point
//   enumeration Fill
//   class RecordUser
//   event DShapeEvents
//
// One item per line, so two selections diff line by line: the checked rows
// follow the include file's order (types, enumerations, object classes,
// event interfaces), each list in the order of the library. A row is named
// as the contents window shows it; an object class row by its object class,
// a plain interface row by its interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "generate/contents_list.h"
#include "generate/dependency_closure.h"
#include "typeinfo/component.h"
#include "typeinfo/result.h"

namespace velbrook::generate {

inline constexpr char kSelectionMagic[] = "velbrook selection 1";
// A selection of every row of the biggest real library is a few hundred
// kilobytes; anything far beyond is no selection file.
inline constexpr size_t kMaxSelectionBytes = size_t(4) << 20;

struct SelectionRow {
  ListKind list = ListKind::kTypes;
  std::string name;
};

struct Selection {
  std::string library_guid;  // "{...}" as the library gives it
  uint16_t major = 0;
  uint16_t minor = 0;
  uint32_t lcid = 0;
  std::string path;  // where the library was opened from
  bool use_invoke = true;
  bool include_generics = true;
  std::vector<SelectionRow> rows;
};

// The library's identity and the checked rows of the four lists.
Selection SelectionOf(const typeinfo::Library& library, const std::string& path,
                      const ContentsList& classes, const ContentsList& events,
                      const ContentsList& types, const ContentsList& enumerations);

std::string SelectionText(const Selection& selection);

// Default name of a selection file, from the library list's File text: up
// to its first ".", then ".sel".
std::string DefaultSelectionFileName(const std::string& file_text);

// Parses a selection file's text; errors name `source` and the line.
Result<Selection> ParseSelection(const std::string& text, const std::string& source);

// Reads and parses a selection file, refusing one larger than
// kMaxSelectionBytes before reading it.
Result<Selection> ReadSelectionFile(const std::string& path);

// The rows of the lists a selection names, by hidden number; the rows it
// names that the lists do not have go to `missing` as "type Point".
std::vector<RowRef> RowsOfSelection(const Selection& selection, const ContentsList& classes,
                                    const ContentsList& events, const ContentsList& types,
                                    const ContentsList& enumerations,
                                    std::vector<std::string>* missing);

}  // namespace velbrook::generate
