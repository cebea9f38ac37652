// The floor of the bench: the least any reader must spend on a library,
// mapping its file and touching the type library's bytes once.
#pragma once

#include <cstdint>
#include <string>

namespace velbrook::cli {

// Maps the file a library path names ("file\N" for TYPELIB resource N of a
// PE module) and reads one byte per cache line of the type library's bytes:
// the whole file, or the TYPELIB resource that the module's headers locate.
// False when the file cannot be mapped or holds no such resource.
bool MapAndTouch(const std::string& path, uint32_t* sink);

}  // namespace velbrook::cli
