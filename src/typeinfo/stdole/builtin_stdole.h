// The standard OLE Automation library (stdole2) compiled from stdole.idl at
// build time: what imports of stdole resolve to when no file is found.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velbrook::typeinfo::stdole {

const uint8_t* BuiltinStdoleBytes();
size_t BuiltinStdoleSize();

}  // namespace velbrook::typeinfo::stdole
