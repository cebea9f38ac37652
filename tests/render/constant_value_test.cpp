// ConstantValueText over every group of VT codes.
#include "render/constant_value.h"

#include <gtest/gtest.h>

namespace velbrook::render {
namespace {

using typeinfo::Variant;

Variant Int(uint16_t vt, int64_t value) {
  Variant v;
  v.vt = vt;
  v.SetInt64(value);
  return v;
}

Variant Double(uint16_t vt, double value) {
  Variant v;
  v.vt = vt;
  v.SetDouble(value);
  return v;
}

Variant Text(uint16_t vt, const char* text) {
  Variant v;
  v.vt = vt;
  v.has_text = text != nullptr;
  v.text = text ? text : "";
  return v;
}

TEST(ConstantValueTextTest, EmptyAndNull) {
  EXPECT_EQ(ConstantValueText(Int(0, 0)), "0 'empty");
  EXPECT_EQ(ConstantValueText(Int(0, 77)), "0 'empty");
  EXPECT_EQ(ConstantValueText(Int(1, 0)), "0 'null");
}

TEST(ConstantValueTextTest, SmallIntegersAreUnsigned) {
  EXPECT_EQ(ConstantValueText(Int(2, -1)), "65535");
  EXPECT_EQ(ConstantValueText(Int(2, 7)), "7");
  EXPECT_EQ(ConstantValueText(Int(2, 0x12345)), "9029");  // low 16 bits
  EXPECT_EQ(ConstantValueText(Int(16, -1)), "255");
  EXPECT_EQ(ConstantValueText(Int(16, 0x1FF)), "255");
  EXPECT_EQ(ConstantValueText(Int(16, 65)), "65");
}

TEST(ConstantValueTextTest, ThirtyTwoBitGroupIsSigned) {
  EXPECT_EQ(ConstantValueText(Int(3, -1)), "-1");
  EXPECT_EQ(ConstantValueText(Int(3, 2147483647)), "2147483647");
  EXPECT_EQ(ConstantValueText(Int(3, -2147483648LL)), "-2147483648");
  for (uint16_t vt : {9,  10, 11, 13, 14, 19, 22, 23, 24, 25,   26,   27,   28,
                      29, 36, 65, 66, 67, 68, 69, 70, 71, 4096, 8192, 16384}) {
    EXPECT_EQ(ConstantValueText(Int(vt, -5)), "-5") << vt;
    // Only the low 32-bit word is read.
    EXPECT_EQ(ConstantValueText(Int(vt, 0x700000002LL)), "2") << vt;
  }
  // A true VT_BOOL stored as 0x0000FFFF reads whole.
  EXPECT_EQ(ConstantValueText(Int(11, 0xFFFF)), "65535");
}

TEST(ConstantValueTextTest, FloatingPoint) {
  EXPECT_EQ(ConstantValueText(Double(5, 0.25)), "0.25");
  EXPECT_EQ(ConstantValueText(Double(5, 2.50)), "2.5");
  EXPECT_EQ(ConstantValueText(Double(5, 3.0)), "3");
  EXPECT_EQ(ConstantValueText(Double(5, -1.5)), "-1.5");
  EXPECT_EQ(ConstantValueText(Double(7, 36526.5)), "36526.5");
  EXPECT_EQ(ConstantValueText(Double(5, 1.0 / 3.0)), "0.333333333333333");
  Variant single;
  single.vt = 4;
  single.SetFloat(0.1f);
  EXPECT_EQ(ConstantValueText(single), "0.1");
  single.SetFloat(2.5f);
  EXPECT_EQ(ConstantValueText(single), "2.5");
  single.SetFloat(-3.0f);
  EXPECT_EQ(ConstantValueText(single), "-3");
}

TEST(ConstantValueTextTest, CurrencyAndSixtyFourBit) {
  EXPECT_EQ(ConstantValueText(Int(6, 15000)), "1.5");
  EXPECT_EQ(ConstantValueText(Int(6, 10000)), "1");
  EXPECT_EQ(ConstantValueText(Int(6, -25)), "-0.0025");
  EXPECT_EQ(ConstantValueText(Int(20, -12)), "-12");
  EXPECT_EQ(ConstantValueText(Int(21, 123456789012LL)), "123456789012");
  // Past 15 digits the value is shown as a double with 15 digits.
  EXPECT_EQ(ConstantValueText(Int(20, 1LL << 62)), "4.61168601842739e+18");
}

TEST(ConstantValueTextTest, Strings) {
  EXPECT_EQ(ConstantValueText(Text(8, "abc")), "abc");
  EXPECT_EQ(ConstantValueText(Text(8, nullptr)), "");
  EXPECT_EQ(ConstantValueText(Text(30, "x y")), "\"x y\"");
}

TEST(ConstantValueTextTest, VariantIsNotLookedAt) {
  EXPECT_EQ(ConstantValueText(Int(12, 1234)), "[VARIANT VALUE]");
}

TEST(ConstantValueTextTest, ClsidShowsFourGroups) {
  EXPECT_EQ(ConstantValueText(Int(72, 0x0000000A0000001FLL)),
            "GUID(&h0000001F, &h0000000A, &h00000000, &h00000000)");
}

TEST(ConstantValueTextTest, CodesWithoutGroup) {
  EXPECT_EQ(ConstantValueText(Int(17, -1)), "255");
  EXPECT_EQ(ConstantValueText(Int(18, -1)), "65535");
  EXPECT_EQ(ConstantValueText(Text(31, "w")), "\"w\"");
  EXPECT_EQ(ConstantValueText(Int(64, 5)), "5");
  EXPECT_EQ(ConstantValueText(Int(8195, 5)), "0 '[VT=8195]");
  EXPECT_EQ(ConstantValueText(Int(15, 5)), "0 '[VT=15]");
}

}  // namespace
}  // namespace velbrook::render
