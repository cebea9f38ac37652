// The library search: key building, the name and ProgID tests, selection of
// matching rows, the progress caption and the final message.
#include "catalogue/library_search.h"

#include <memory>

#include "catalogue/ascii_text.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

bool NameMatches(const typeinfo::Type* type, const std::string& key) {
  return type != nullptr && ComparableName(type->Name()) == key;
}

}  // namespace

std::string SearchKey(const std::string& search_text) {
  return TrimBlanks(ComparableName(search_text));
}

std::string ComparableName(const std::string& name) {
  return LowerAscii(ReplaceAll(name, "_", ""));
}

bool ProgIdPartMatches(const std::string& prog_id, const std::string& key) {
  std::string lowered = LowerAscii(prog_id);
  size_t first_dot = lowered.find('.');
  if (lowered.substr(0, first_dot) == key) return true;
  if (first_dot == std::string::npos) return false;
  size_t second_dot = lowered.find('.', first_dot + 1);
  size_t length = second_dot == std::string::npos ? std::string::npos : second_dot - first_dot - 1;
  return lowered.substr(first_dot + 1, length) == key;
}

bool LibraryDefines(const typeinfo::Library& library, const std::string& key,
                    const ClassesRegistry& registry) {
  const typeinfo::TypeList* classes = library.ObjectClasses();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(classes); ++i) {
    const typeinfo::Type* coclass = classes->Item(i);
    if (coclass == nullptr) continue;
    if (NameMatches(coclass, key)) return true;
    if (NameMatches(coclass->DefaultInterface(), key)) return true;
    if (ProgIdPartMatches(ProgIdOfClass(registry, *coclass), key)) return true;
  }
  const typeinfo::TypeList* interfaces = library.Interfaces();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(interfaces); ++i) {
    if (NameMatches(interfaces->Item(i), key)) return true;
  }
  return false;
}

std::string SearchProgressText(int row, int row_count, int found_count) {
  std::string text = "Searching... " + std::to_string(row + 1) + " / " + std::to_string(row_count);
  if (found_count != 0) text += "  - found: " + std::to_string(found_count);
  return text;
}

int SearchLibraries(const CatalogueSeams& seams, const typeinfo::Opener& opener,
                    const std::string& search_text) {
  RunGuard guard(seams.run_state);
  if (!guard.ok()) return 0;
  seams.window.StartAbortable();
  const std::string key = SearchKey(search_text);
  if (key.empty()) return 0;
  int found_count = 0;
  for (int row = 0; row < seams.list.RowCount(); ++row) {
    seams.window.PumpMessages();
    if (seams.window.AbortRequested()) {
      // The caption keeps its last progress text; no message.
      seams.list.Focus();
      return found_count;
    }
    auto library = opener.OpenLibraryFile(seams.list.CellText(row, kColumnPath));
    if (library.ok() && library.value() != nullptr &&
        LibraryDefines(*library.value(), key, seams.registry)) {
      ++found_count;
      if (found_count == 1) {
        seams.list.SelectRowAndShow(row);
      } else {
        seams.list.SelectRow(row);
      }
    }
    seams.window.SetCaption(SearchProgressText(row, seams.list.RowCount(), found_count));
  }
  if (found_count != 0) {
    seams.window.ShowMessage("Found " + search_text + " in " + std::to_string(found_count) +
                             " libraries.");
    seams.list.Focus();
  } else {
    seams.window.ShowMessage("I could not find " + search_text);
  }
  seams.window.SetCaption(kMainCaption);
  return found_count;
}

}  // namespace velbrook::catalogue
