// SearchLibraries: opens every listed library in turn and reports those that
// define what is searched for; the names test of an interface or object class.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "catalogue/registry.h"
#include "typeinfo/component.h"

namespace velbrook::catalogue {

// The search text without "_", lower-cased (ASCII), trimmed of blanks and tabs.
std::string SearchKey(const std::string& search_text);
// A type or interface name as compared with the key: no "_", lower-cased.
std::string ComparableName(const std::string& name);
// True when key equals the lower-cased ProgID's part before the first "." or
// the part between the first and the second ".".
bool ProgIdPartMatches(const std::string& prog_id, const std::string& key);
// The tests of one opened library, in order, stopping at the first match.
bool LibraryDefines(const typeinfo::Library& library, const std::string& key,
                    const ClassesRegistry& registry);
// The caption while row (0-based) of row_count is searched.
std::string SearchProgressText(size_t row, size_t row_count, int found_count);
// The message at the end of a search that was not aborted.
std::string SearchEndMessage(const std::string& search_text, int found_count);

// The test of one library by its Path: true when it defines what is searched
// for. A library that cannot be opened does not.
using LibraryTest = std::function<bool(const std::string& path)>;

// Opens the library anew and applies LibraryDefines with the key.
LibraryTest NameTest(const typeinfo::Opener& opener, const ClassesRegistry& registry,
                     std::string key);

// What the search walks and where its findings go.
class SearchSink {
 public:
  virtual ~SearchSink() = default;
  // Asked before each row; true stops the search at once. The program
  // processes its pending window messages here, which is when Abort acts.
  virtual bool PollAbort() = 0;
  // Read again for every row: a scan started meanwhile may refill the list.
  virtual size_t RowCount() const = 0;
  virtual std::string PathOf(size_t row) const = 0;
  // A row whose library matched; found_count is 1 for the first one.
  virtual void Found(size_t row, int found_count) = 0;
  // After each row, the progress text (SearchProgressText).
  virtual void ShowProgress(const std::string& text) = 0;
};

struct SearchOutcome {
  int found_count = 0;
  bool aborted = false;
};

// Every row from the first to the last, each library tested once.
SearchOutcome SearchLibraries(SearchSink& sink, const LibraryTest& test);

}  // namespace velbrook::catalogue
