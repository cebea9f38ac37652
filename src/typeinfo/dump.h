// A deterministic text dump of everything the component exposes for one
// library. Dumps made by the two readers, on Linux or on Windows, compare byte
// for byte: no file paths, imported types shown by name, kind and GUID.
#pragma once

#include <cstddef>
#include <string>

#include "typeinfo/component.h"
#include "typeinfo/result.h"

namespace velbrook::typeinfo {

// The most a dump may hold. The biggest real library we know (mshtml) dumps
// to 5.6 MB; a well-formed but hostile one can list the same long base chain
// under thousands of dispinterfaces, or claim 65535 implemented interfaces
// for every type, and its dump would not fit in memory.
inline constexpr size_t kMaxDumpBytes = size_t(64) << 20;

// The dump, or kTooLarge once it would pass max_bytes.
Result<std::string> DumpLibrary(const Library& library, size_t max_bytes = kMaxDumpBytes);

}  // namespace velbrook::typeinfo
