// SearchLibraries: opens every listed library and selects those defining an
// interface or object class of the searched name.
#pragma once

#include <string>

#include "catalogue/library_scan.h"
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
std::string SearchProgressText(int row, int row_count, int found_count);

// The whole search for search_text (the prompt's answer). Returns the found
// count; the final message and the selection go through the seams.
int SearchLibraries(const CatalogueSeams& seams, const typeinfo::Opener& opener,
                    const std::string& search_text);

}  // namespace velbrook::catalogue
