// The library search: key building, the name and ProgID tests, the walk over
// the rows with its progress, and the final message.
#include "catalogue/library_search.h"

#include <memory>
#include <utility>

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

std::string SearchProgressText(size_t row, size_t row_count, int found_count) {
  std::string text = "Searching... " + std::to_string(row + 1) + " / " + std::to_string(row_count);
  if (found_count != 0) text += "  - found: " + std::to_string(found_count);
  return text;
}

std::string SearchEndMessage(const std::string& search_text, int found_count) {
  if (found_count == 0) return "I could not find " + search_text;
  return "Found " + search_text + " in " + std::to_string(found_count) + " libraries.";
}

LibraryTest NameTest(const typeinfo::Opener& opener, const ClassesRegistry& registry,
                     std::string key) {
  return [&opener, &registry, key = std::move(key)](const std::string& path) {
    auto library = opener.OpenLibraryFile(path);
    return library.ok() && library.value() != nullptr &&
           LibraryDefines(*library.value(), key, registry);
  };
}

SearchOutcome SearchLibraries(SearchSink& sink, const LibraryTest& test) {
  SearchOutcome outcome;
  for (size_t row = 0; row < sink.RowCount(); ++row) {
    if (sink.PollAbort()) {
      outcome.aborted = true;
      return outcome;
    }
    // A scan run while messages were processed may have emptied the list.
    if (row >= sink.RowCount()) break;
    if (test(sink.PathOf(row))) {
      ++outcome.found_count;
      sink.Found(row, outcome.found_count);
    }
    sink.ShowProgress(SearchProgressText(row, sink.RowCount(), outcome.found_count));
  }
  return outcome;
}

}  // namespace velbrook::catalogue
