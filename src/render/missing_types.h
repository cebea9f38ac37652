// User-defined types whose library was not found: how the include file
// names them beside the pointer-sized integer it declares in their place, and
// the warning that lists them once per imported library.
#pragma once

#include <string>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::render {

// Stands where a found type's kind word stands.
inline constexpr char kMissingWord[] = "missing";

// "{GUID} from FILE", fit for a comment: control characters and apostrophes
// of the library's texts become "?".
std::string MissingTypeText(const typeinfo::MissingType& missing);

// One warning text per imported library, in the order first met: its file
// name and its types (each once, the first ten, then how many more).
std::vector<std::string> MissingTypeWarnings(const std::vector<typeinfo::MissingType>& missing);

}  // namespace velbrook::render
