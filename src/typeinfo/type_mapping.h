// How a TYPEDESC chain becomes the component's VarType, PointerLevel,
// ArrayBounds and referenced type. Both readers translate their own form of a
// TYPEDESC into TypeDescNode and call MapTypeDesc, so they cannot disagree.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::typeinfo {

constexpr uint16_t kVtPtr = 26;
constexpr uint16_t kVtSafeArray = 27;
constexpr uint16_t kVtCArray = 28;
constexpr uint16_t kVtUserDefined = 29;
constexpr int32_t kVarTypeVectorFlag = 0x1000;
constexpr int32_t kVarTypeArrayFlag = 0x2000;

struct TypeDescNode {
  uint16_t vt = 0;
  std::unique_ptr<TypeDescNode> inner;  // VT_PTR, VT_SAFEARRAY, VT_CARRAY
  std::vector<ArrayBound> bounds;       // VT_CARRAY
  uint32_t href = 0;                    // VT_USERDEFINED
};

struct MappedType {
  int32_t var_type = 0;
  int32_t pointer_level = 0;
  std::vector<ArrayBound> bounds;
  bool user_defined = false;  // href below is meaningful
  uint32_t href = 0;
};

// Rules:
// - every VT_PTR level in front of the element is removed and counted;
// - VT_SAFEARRAY of T gives 0x2000 | T, VT_CARRAY of T gives 0x1000 | T with
//   the array's bounds (pointer levels inside an array are removed uncounted);
// - VT_USERDEFINED gives 0 (plus any array flag) and the referenced type;
// - a chain with a missing element (corrupt input) ends where it breaks.
// `Node` is any cheap handle on one level of a chain, with vt(), has_inner(),
// inner() (the next level's handle), bounds() and href() as TypeDescNode
// holds them; a reader walks its own form without building a tree.
template <typename Node>
MappedType MapTypeChain(Node node) {
  MappedType mapped;
  auto skip_pointers = [](Node* at, int32_t* levels) {
    while (at->vt() == kVtPtr && at->has_inner()) {
      ++*levels;
      *at = at->inner();
    }
  };
  skip_pointers(&node, &mapped.pointer_level);
  int32_t flag = 0;
  if ((node.vt() == kVtSafeArray || node.vt() == kVtCArray) && node.has_inner()) {
    if (node.vt() == kVtSafeArray) {
      flag = kVarTypeArrayFlag;
    } else {
      flag = kVarTypeVectorFlag;
      mapped.bounds = node.bounds();
    }
    int32_t uncounted = 0;
    node = node.inner();
    skip_pointers(&node, &uncounted);
  }
  if (node.vt() == kVtUserDefined) {
    mapped.var_type = flag;
    mapped.user_defined = true;
    mapped.href = node.href();
  } else {
    mapped.var_type = flag | node.vt();
  }
  return mapped;
}

MappedType MapTypeDesc(const TypeDescNode& node);

}  // namespace velbrook::typeinfo
