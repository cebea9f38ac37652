// FindInLibrary: the items of one opened library that a search query names,
// by name, member name, GUID or ProgID.
#pragma once

#include <vector>

#include "catalogue/registry.h"
#include "catalogue/search_query.h"
#include "typeinfo/component.h"

namespace velbrook::catalogue {

// Every item of library that query names, each once, in the library's order
// (object classes, interfaces, records, enumerations, modules), the kinds of
// an "any" query one after another. The registry supplies the object
// classes' ProgIDs. A query that CheckSearchQuery refuses finds nothing.
//
//  name:   an object class, its default interface or an interface whose name
//          equals the text with "_" dropped and ASCII case ignored on both
//          sides, or an object class whose ProgID's first or second
//          dot-separated part equals that text (the library search's rule).
//  member: a member whose name equals the text, ASCII case ignored: an
//          interface's methods and properties, those it inherits from its
//          base interfaces but for IUnknown's and IDispatch's (the hit names
//          the base in declared_by), an event interface's events, a
//          record's fields, an enumeration's constants, a module's
//          constants and functions (as methods).
//  GUID:   the library, or a type whose GUID (for an object class its CLSID)
//          equals the text, braces and case ignored. Types without a GUID
//          (all zeros) are never found.
//  ProgID: an object class whose ProgID or VersionIndependentProgID equals
//          the text or has it as its first or second part, ASCII case
//          ignored ("_" kept).
//  any:    all of the above, a GUID only when the text has a GUID's form.
std::vector<SearchHit> FindInLibrary(const typeinfo::Library& library, const SearchQuery& query,
                                     const ClassesRegistry& registry);

}  // namespace velbrook::catalogue
