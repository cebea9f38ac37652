// What a search looks for (a text and the kind of thing it names) and what it
// finds in one library (the item's kind, its name and, for a member, its
// owner), with the words the command line prints for each kind.
#pragma once

#include <cstdint>
#include <string>

#include "typeinfo/result.h"

namespace velbrook::catalogue {

enum class SearchKind {
  kName,    // an object class or interface name, or a ProgID part (the
            // library search's own rule)
  kMember,  // a method, property, event, record field or constant
  kGuid,    // the library's GUID, a type's GUID or a CLSID
  kProgId,  // an object class's registered ProgID, whole or a part
  kAny,     // every kind above
};

struct SearchQuery {
  std::string text;
  SearchKind kind = SearchKind::kName;
};

// The kinds of item a search finds. A member's owner is the type it belongs
// to: an interface, event interface, record, enumeration or module.
enum class ItemKind {
  kLibrary,
  kObjectClass,
  kInterface,
  kEventInterface,  // an interface some object class declares as its source
  kRecord,
  kEnumeration,
  kModule,
  kMethod,
  kProperty,
  kEvent,  // a member of an event interface
  kField,
  kConstant,
};

struct SearchHit {
  ItemKind kind = ItemKind::kLibrary;
  std::string name;
  // For a member: its owner's kind and name; for any other item kLibrary and
  // empty text.
  ItemKind owner_kind = ItemKind::kLibrary;
  std::string owner;
  // For a member an interface inherits: the base interface that declares
  // it; empty when the owner declares it itself, and for other items.
  std::string declared_by;
  // 1-based position of the item (of a member: of its owner) in the
  // library's list of its kind: ObjectClasses, Interfaces (interfaces and
  // event interfaces), Records, Enumerations or Modules. 0 for the library
  // itself and for a default interface that the library does not list.
  uint32_t index = 0;

  bool operator==(const SearchHit& other) const {
    return kind == other.kind && name == other.name && owner_kind == other.owner_kind &&
           owner == other.owner && declared_by == other.declared_by && index == other.index;
  }
};

// "object class", "interface", "event interface", "record", "enumeration",
// "module", "library", "method", "property", "event", "field", "constant".
const char* ItemKindWord(ItemKind kind);

// True for the member kinds, whose hits name an owner.
bool IsMemberKind(ItemKind kind);

// The query checked before any library is opened: kInvalidArgument when the
// text is blank (for the name kind: blank once underscores are dropped, as
// the library search treats it) or, for the GUID kind, not 8-4-4-4-12
// hexadecimal digits with or without braces.
Status CheckSearchQuery(const SearchQuery& query);

// A GUID in the form compared: no braces, upper-case. The text as given
// (upper-cased) when it has no braces to strip.
std::string ComparableGuid(const std::string& guid_text);

}  // namespace velbrook::catalogue
