#include "typeinfo/type_mapping.h"

#include <gtest/gtest.h>

namespace velbrook::typeinfo {
namespace {

std::unique_ptr<TypeDescNode> Node(uint16_t vt, std::unique_ptr<TypeDescNode> inner = {}) {
  auto node = std::make_unique<TypeDescNode>();
  node->vt = vt;
  node->inner = std::move(inner);
  return node;
}

TEST(MapTypeDesc, PlainTypeHasNoPointers) {
  MappedType m = MapTypeDesc(*Node(8));
  EXPECT_EQ(m.var_type, 8);
  EXPECT_EQ(m.pointer_level, 0);
  EXPECT_FALSE(m.user_defined);
}

TEST(MapTypeDesc, CountsEveryPointerLevel) {
  MappedType m = MapTypeDesc(*Node(kVtPtr, Node(kVtPtr, Node(8))));
  EXPECT_EQ(m.var_type, 8);
  EXPECT_EQ(m.pointer_level, 2);
}

TEST(MapTypeDesc, SafeArrayAddsArrayFlag) {
  MappedType m = MapTypeDesc(*Node(kVtPtr, Node(kVtSafeArray, Node(3))));
  EXPECT_EQ(m.var_type, 0x2000 | 3);
  EXPECT_EQ(m.pointer_level, 1);
}

TEST(MapTypeDesc, FixedArrayAddsVectorFlagAndBounds) {
  auto carray = Node(kVtCArray, Node(17));
  carray->bounds = {{0, 15}, {1, 4}};
  MappedType m = MapTypeDesc(*carray);
  EXPECT_EQ(m.var_type, 0x1000 | 17);
  ASSERT_EQ(m.bounds.size(), 2u);
  EXPECT_EQ(m.bounds[1].lower, 1);
  EXPECT_EQ(m.bounds[1].upper, 4);
}

TEST(MapTypeDesc, UserDefinedGivesZeroAndItsReference) {
  auto udt = Node(kVtUserDefined);
  udt->href = 0x1234;
  MappedType m = MapTypeDesc(*Node(kVtPtr, std::move(udt)));
  EXPECT_EQ(m.var_type, 0);
  EXPECT_EQ(m.pointer_level, 1);
  EXPECT_TRUE(m.user_defined);
  EXPECT_EQ(m.href, 0x1234u);
}

TEST(MapTypeDesc, PointerWithoutTargetStopsThere) {
  MappedType m = MapTypeDesc(*Node(kVtPtr));
  EXPECT_EQ(m.var_type, kVtPtr);
  EXPECT_EQ(m.pointer_level, 0);
}

}  // namespace
}  // namespace velbrook::typeinfo
