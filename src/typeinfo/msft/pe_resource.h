// Finds a TYPELIB resource inside a PE module (PE32 or PE32+).
#pragma once

#include <cstdint>
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

// The bytes of resource type "TYPELIB", integer id `id`, reading only the
// headers, the resource directory and the resource itself. kNotTypeLibrary
// when the module has no such resource, kCorrupt when its headers or
// resource directory are inconsistent.
Result<std::vector<uint8_t>> ReadTypeLibResource(const ByteSource& source, uint16_t id);

}  // namespace velbrook::typeinfo::msft
