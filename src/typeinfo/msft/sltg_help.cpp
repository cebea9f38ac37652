// Decoding of SLTG help strings.
#include "typeinfo/msft/sltg_help.h"

namespace velbrook::typeinfo::msft {

// Tree nodes: an inner node is the byte 0x80 and the big-endian offset of
// the node a 0 bit leads to; the node a 1 bit leads to follows it (3 bytes on).
// A leaf is one byte other than 0x80, then the word's characters and a NUL;
// a leaf whose word is empty ends the string. Bits are taken from each byte
// of the string, most significant first. Words are joined by one blank. A
// walk that leaves the tree ends the string.
bool SltgHelpTable::Decode(const ByteReader& bits, uint64_t* steps, std::string* out,
                           size_t* bad_node) const {
  out->clear();
  size_t next_byte = 0;
  uint16_t current = 0;  // the bits left of the byte in hand, then a marker bit
  for (;;) {
    size_t node = 0;
    bool consumed = false;
    uint8_t tag = 0;
    while (tree_.U8At(node, &tag) && tag == 0x80) {
      uint8_t high = 0, low = 0;
      if (!tree_.U8At(node + 1, &high) || !tree_.U8At(node + 2, &low)) return true;
      if ((current & 0xFF) == 0) {
        uint8_t byte = 0;
        if (!bits.U8At(next_byte, &byte)) return true;
        ++next_byte;
        current = uint16_t(byte << 8 | 1);
      }
      ++*steps;
      consumed = true;
      if (current & 0x8000) {
        node += 3;
      } else {
        size_t zero = size_t(high) << 8 | low;
        if (zero <= node) {
          *bad_node = node;
          return false;
        }
        node = zero;
      }
      current = uint16_t(current << 1);
    }
    uint8_t first = 0;
    if (!tree_.U8At(node + 1, &first) || first == 0) return true;
    size_t end = node + 1;
    uint8_t c = first;
    while (c != 0) {
      if (!tree_.U8At(++end, &c)) return true;  // an unterminated word ends it
    }
    size_t length = end - node - 1;
    if (out->size() + length + 1 > kMaxLength) return true;
    if (!out->empty()) out->push_back(' ');
    out->append(reinterpret_cast<const char*>(tree_.data() + node + 1), length);
    ++*steps;
    // A tree that is a lone leaf would give its word for ever.
    if (!consumed) return true;
  }
}

}  // namespace velbrook::typeinfo::msft
