# Writes a C++ file holding the bytes of INPUT as the built-in stdole library.
# Usage: cmake -DINPUT=stdole.tlb -DOUTPUT=builtin_stdole.cpp -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Generated from stdole.idl by embed.cmake; do not edit.
#include \"typeinfo/stdole/builtin_stdole.h\"

namespace velbrook::typeinfo::stdole {

namespace {
const uint8_t kBytes[${size}] = {
    ${bytes}
};
}  // namespace

const uint8_t* BuiltinStdoleBytes() { return kBytes; }
size_t BuiltinStdoleSize() { return sizeof kBytes; }

}  // namespace velbrook::typeinfo::stdole
")
