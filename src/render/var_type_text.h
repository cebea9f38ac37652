// VT codes as HotBasic type words followed by a comment naming the VT code.
#pragma once

#include <cstdint>
#include <string>

namespace velbrook::render {

// "LONG '[VT_I4]" style text for the exact code; "VT_BYREF" and
// "VT_RESERVED" for those flags alone; empty text for any other code
// (combined codes included: callers strip the array and vector bits).
std::string VarTypeText(int32_t vt);

}  // namespace velbrook::render
