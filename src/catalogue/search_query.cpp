// The search query's check, the GUID form it compares and the kind words.
#include "catalogue/search_query.h"

#include "catalogue/ascii_text.h"
#include "catalogue/library_search.h"
#include "catalogue/registered_library.h"

namespace velbrook::catalogue {

const char* ItemKindWord(ItemKind kind) {
  switch (kind) {
    case ItemKind::kLibrary:
      return "library";
    case ItemKind::kObjectClass:
      return "object class";
    case ItemKind::kInterface:
      return "interface";
    case ItemKind::kEventInterface:
      return "event interface";
    case ItemKind::kRecord:
      return "record";
    case ItemKind::kEnumeration:
      return "enumeration";
    case ItemKind::kModule:
      return "module";
    case ItemKind::kMethod:
      return "method";
    case ItemKind::kProperty:
      return "property";
    case ItemKind::kEvent:
      return "event";
    case ItemKind::kField:
      return "field";
    case ItemKind::kConstant:
      return "constant";
  }
  return "item";
}

bool IsMemberKind(ItemKind kind) {
  switch (kind) {
    case ItemKind::kMethod:
    case ItemKind::kProperty:
    case ItemKind::kEvent:
    case ItemKind::kField:
    case ItemKind::kConstant:
      return true;
    default:
      return false;
  }
}

Status CheckSearchQuery(const SearchQuery& query) {
  const std::string trimmed = TrimBlanks(query.text);
  const bool blank =
      query.kind == SearchKind::kName ? SearchKey(query.text).empty() : trimmed.empty();
  if (blank) return MakeError(ErrorKind::kInvalidArgument, "nothing to search for");
  if (query.kind == SearchKind::kGuid && !LooksLikeGuid(trimmed)) {
    return MakeError(ErrorKind::kInvalidArgument,
                     "not a GUID: \"" + query.text +
                         "\" (expected 8-4-4-4-12 hexadecimal digits, with or without braces)");
  }
  return Status();
}

std::string ComparableGuid(const std::string& guid_text) {
  std::string text = UpperAscii(TrimBlanks(guid_text));
  if (text.size() >= 2 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace velbrook::catalogue
