// Field access inside a bare MSFT file, for tests that damage a good library
// one field at a time. Offsets are read as the layout is documented.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velbrook::typeinfo::msft::testing {

inline uint32_t U32(const std::vector<uint8_t>& b, size_t off) {
  return uint32_t(b[off]) | uint32_t(b[off + 1]) << 8 | uint32_t(b[off + 2]) << 16 |
         uint32_t(b[off + 3]) << 24;
}
inline void SetU32(std::vector<uint8_t>* b, size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[off + i] = uint8_t(v >> (8 * i));
}
inline void SetU16(std::vector<uint8_t>* b, size_t off, uint16_t v) {
  (*b)[off] = uint8_t(v);
  (*b)[off + 1] = uint8_t(v >> 8);
}

constexpr int kSegTypeInfo = 0, kSegImpInfo = 1, kSegImpFiles = 2, kSegRef = 3, kSegTypeDesc = 9;

struct Layout {
  explicit Layout(const std::vector<uint8_t>& b) {
    type_count = U32(b, 0x20);
    seg_dir = 0x54 + type_count * 4 + ((U32(b, 0x14) & 0x100) ? 4 : 0);
  }
  // The segment directory entry: offset, length, two reserved words.
  size_t Segment(int i) const { return seg_dir + size_t(i) * 16; }
  uint32_t type_count;
  size_t seg_dir;
};

// File offset of type info record `index` (0x64 bytes each).
inline size_t TypeInfoAt(const std::vector<uint8_t>& b, size_t index) {
  return U32(b, Layout(b).Segment(kSegTypeInfo)) + index * 0x64;
}

}  // namespace velbrook::typeinfo::msft::testing
