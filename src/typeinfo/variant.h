// A constant value as the component hands it over: a VT code and the 8-byte
// value field of a VARIANT, plus the text of a string value.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace velbrook::typeinfo {

struct Variant {
  uint16_t vt = 0;        // VT_EMPTY
  uint8_t value[8] = {};  // the VARIANT's value field, little-endian
  bool has_text = false;  // VT_BSTR / VT_LPSTR: false for a null string
  std::string text;       // ANSI text of a string value

  int32_t AsInt32() const {
    uint32_t u = uint32_t(value[0]) | uint32_t(value[1]) << 8 | uint32_t(value[2]) << 16 |
                 uint32_t(value[3]) << 24;
    return static_cast<int32_t>(u);
  }
  int64_t AsInt64() const {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = (u << 8) | value[i];
    return static_cast<int64_t>(u);
  }
  float AsFloat() const {
    float f;
    uint32_t u = static_cast<uint32_t>(AsInt32());
    std::memcpy(&f, &u, sizeof f);
    return f;
  }
  double AsDouble() const {
    double d;
    uint64_t u = static_cast<uint64_t>(AsInt64());
    std::memcpy(&d, &u, sizeof d);
    return d;
  }
  void SetInt64(int64_t v) {
    uint64_t u = static_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) value[i] = uint8_t(u >> (8 * i));
  }
  void SetDouble(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    SetInt64(static_cast<int64_t>(u));
  }
  void SetFloat(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    SetInt64(static_cast<int64_t>(u));
  }
};

}  // namespace velbrook::typeinfo
