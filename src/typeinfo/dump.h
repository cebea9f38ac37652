// A deterministic text dump of everything the component exposes for one
// library. Dumps made by the two readers, on Linux or on Windows, compare byte
// for byte: no file paths, imported types shown by name, kind and GUID.
#pragma once

#include <string>

#include "typeinfo/component.h"

namespace velbrook::typeinfo {

std::string DumpLibrary(const Library& library);

}  // namespace velbrook::typeinfo
