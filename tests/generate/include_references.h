// What a generated include file names and what it defines: the check that a
// selection closed over its dependencies leaves nothing of its library
// undefined, and adds nothing the file does not name.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::generate::testing {

// A type the include file names: after "as" in a declaration, a TYPE field
// or an embedding comment (kind "type"), or in the note of a parameter, result or field
// ("record [VT=0] Rect", "[VT_EMPTY] enum Fill"), kind being the KindText.
struct TypeUse {
  std::string kind;
  std::string name;
  bool operator<(const TypeUse& other) const {
    return kind != other.kind ? kind < other.kind : name < other.name;
  }
};

std::set<TypeUse> UsedTypes(const std::string& include_text);

// The uses of types of `library` that the file leaves undefined, as
// "kind name". Aliases count as their aliased types; types of other
// libraries, those of the generic COM block and the language's own type
// words count as defined.
std::vector<std::string> UndefinedTypes(const std::string& include_text,
                                        const typeinfo::Library& library);

// The names the file uses, aliases replaced by the types they stand for.
std::set<std::string> UsedTypeNames(const std::string& include_text,
                                    const typeinfo::Library& library);

}  // namespace velbrook::generate::testing
