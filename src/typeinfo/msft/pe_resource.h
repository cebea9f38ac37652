// Finds a TYPELIB resource inside a PE module (PE32 or PE32+).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "typeinfo/msft/byte_source.h"
#include "typeinfo/result.h"

namespace velbrook::typeinfo::msft {

// True when the bytes start like a PE module ("MZ").
bool LooksLikePe(const ByteSource& source);

// Where a resource's bytes lie in the file.
struct FileRange {
  uint64_t offset = 0;
  size_t size = 0;
};

// Where resource type "TYPELIB", integer id `id`, lies, reading only the
// headers and the resource directory; errors as for ReadTypeLibResource.
Result<FileRange> LocateTypeLibResource(const ByteSource& source, uint16_t id);

// The integer ids of the module's TYPELIB resources, ascending, reading only
// the headers and the resource directory. kNotTypeLibrary when it has none,
// kCorrupt when its headers or resource directory are inconsistent.
Result<std::vector<uint16_t>> ListTypeLibResources(const ByteSource& source);

// The same for the file at `path`; empty when the file is no PE module.
// Errors of opening the file as FileSource::Open gives them.
Result<std::vector<uint16_t>> TypeLibResourceNumbersOfFile(const std::string& path);

// The bytes of resource type "TYPELIB", integer id `id`, reading only the
// headers, the resource directory and the resource itself. kNotTypeLibrary
// when the module has no such resource, kCorrupt when its headers or
// resource directory are inconsistent.
Result<std::vector<uint8_t>> ReadTypeLibResource(const ByteSource& source, uint16_t id);

}  // namespace velbrook::typeinfo::msft
