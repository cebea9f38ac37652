// The body of a vtable-style function or sub: string conversions, the
// function address from the vtable, the callfunc line and the result.
#pragma once

#include <cstdint>
#include <string>

#include "render/param_table.h"

namespace velbrook::render {

// Lines between "function X" / "sub X" and the closing "end" line, each
// ended by CR LF. kind_word is "function" or "sub"; vtable_offset is the
// byte offset as the component delivers it.
std::string VtableCallBody(const ParamTable& table, const std::string& kind_word,
                           int32_t vtable_offset);

}  // namespace velbrook::render
