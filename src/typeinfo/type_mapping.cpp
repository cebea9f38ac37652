// The single statement of the TYPEDESC mapping rules.
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo {

namespace {

const TypeDescNode* SkipPointers(const TypeDescNode* node, int32_t* levels) {
  while (node != nullptr && node->vt == kVtPtr && node->inner) {
    ++*levels;
    node = node->inner.get();
  }
  return node;
}

}  // namespace

MappedType MapTypeDesc(const TypeDescNode& root) {
  MappedType mapped;
  const TypeDescNode* node = SkipPointers(&root, &mapped.pointer_level);
  int32_t flag = 0;
  if ((node->vt == kVtSafeArray || node->vt == kVtCArray) && node->inner) {
    if (node->vt == kVtSafeArray) {
      flag = kVarTypeArrayFlag;
    } else {
      flag = kVarTypeVectorFlag;
      mapped.bounds = node->bounds;
    }
    int32_t uncounted = 0;
    node = SkipPointers(node->inner.get(), &uncounted);
  }
  if (node->vt == kVtUserDefined) {
    mapped.var_type = flag;
    mapped.user_defined = true;
    mapped.href = node->href;
  } else {
    mapped.var_type = flag | node->vt;
  }
  return mapped;
}

}  // namespace velbrook::typeinfo
