// The short words KindText gives for each TYPEKIND. They only ever appear
// inside comments of generated code:
//   enum, record, module, interface, dispinterface, coclass, alias, union;
//   "unknown" for anything else.
#pragma once

#include <cstdint>
#include <string_view>

namespace velbrook::typeinfo {

std::string_view KindTextOf(int32_t type_kind);

}  // namespace velbrook::typeinfo
