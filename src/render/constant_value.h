// Constant VARIANT values as the text written after a $define name.
#pragma once

#include <string>

#include "typeinfo/variant.h"

namespace velbrook::render {

// Reads only the VT code, the value field and (for strings) the text.
std::string ConstantValueText(const typeinfo::Variant& value);

}  // namespace velbrook::render
