// Help strings of an SLTG library are coded: a string is a sequence of words,
// each word a path through one binary tree that the library block keeps.
#pragma once

#include <cstdint>
#include <string>

#include "typeinfo/msft/byte_reader.h"

namespace velbrook::typeinfo::msft {

class SltgHelpTable {
 public:
  // A decoded string stops growing at this length.
  static constexpr size_t kMaxLength = 0xFFFF;

  SltgHelpTable() = default;
  explicit SltgHelpTable(ByteReader tree) : tree_(tree) {}

  // Decodes the string whose bits start at the beginning of `bits`; it ends
  // at the tree's end word or where the bits run out. Adds the bits and words
  // consumed to `*steps`. False, with the node's offset in `*bad_node`, when a
  // branch of the tree leads backwards (a tree that could loop).
  bool Decode(const ByteReader& bits, uint64_t* steps, std::string* out, size_t* bad_node) const;

 private:
  ByteReader tree_;
};

}  // namespace velbrook::typeinfo::msft
