// Value texts of constant VARIANTs, group by group in a fixed order.
#include "render/constant_value.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velbrook::render {
namespace {

using typeinfo::Variant;

bool IsWordCode(uint16_t vt) {
  switch (vt) {
    case 3:
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 19:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 36:
    case 65:
    case 66:
    case 67:
    case 68:
    case 69:
    case 70:
    case 71:
    case 4096:
    case 8192:
    case 16384:
      return true;
    default:
      return false;
  }
}

// Integral values print without exponent up to 15 digits; others with at
// most 15 significant digits, trailing zeros dropped by %g.
std::string FloatText(double value, int max_digits) {
  char buffer[64];
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.*g", max_digits, value);
  return buffer;
}

// A single keeps about 7 digits: print the fewest digits that read back as
// the same single, so 0.1f gives 0.1 rather than 0.100000001490116.
std::string SingleText(float value) {
  if (!std::isfinite(value) || value == std::floor(value)) {
    return FloatText(value, 15);
  }
  char buffer[64];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(buffer, nullptr) == value) break;
  }
  return buffer;
}

std::string Hex8(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(value));
  return buffer;
}

uint32_t Word(const Variant& value, int index) {
  uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | value.value[index * 4 + i];
  return u;
}

// A VARIANT's value field has no room for a GUID; the component carries none
// in practice. The two words of the value field are shown, zeros after them.
std::string ClsidText(const Variant& value) {
  return "GUID(&h" + Hex8(Word(value, 0)) + ", &h" + Hex8(Word(value, 1)) + ", &h" + Hex8(0) +
         ", &h" + Hex8(0) + ")";
}

}  // namespace

std::string ConstantValueText(const Variant& value) {
  const uint16_t vt = value.vt;
  if (vt == 0) return "0 'empty";
  if (vt == 1) return "0 'null";
  if (vt == 2) return std::to_string(static_cast<uint32_t>(value.AsInt32()) & 0xFFFFu);
  if (IsWordCode(vt)) return std::to_string(value.AsInt32());
  if (vt == 4) return SingleText(value.AsFloat());
  if (vt == 5 || vt == 7) return FloatText(value.AsDouble(), 15);
  if (vt == 6) return FloatText(static_cast<double>(value.AsInt64()) / 10000.0, 15);
  if (vt == 30) return "\"" + value.text + "\"";
  if (vt == 8) return value.has_text ? value.text : std::string();
  if (vt == 12) return "[VARIANT VALUE]";
  if (vt == 16) return std::to_string(static_cast<uint32_t>(value.AsInt32()) & 0xFFu);
  if (vt == 20 || vt == 21) return FloatText(static_cast<double>(value.AsInt64()), 15);
  if (vt == 72) return ClsidText(value);
  // Codes without a group of their own: the unsigned small integers and the
  // file time read like their signed relatives, a wide string like a narrow
  // one; anything else becomes a zero with a comment naming the code, so the
  // $define line still compiles.
  if (vt == 17) return std::to_string(static_cast<uint32_t>(value.AsInt32()) & 0xFFu);
  if (vt == 18) return std::to_string(static_cast<uint32_t>(value.AsInt32()) & 0xFFFFu);
  if (vt == 31) return "\"" + value.text + "\"";
  if (vt == 64) return std::to_string(value.AsInt64());
  return "0 '[VT=" + std::to_string(vt) + "]";
}

}  // namespace velbrook::render
