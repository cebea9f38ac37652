// The bounded reader: both sides of every limit, and overflow-proof bounds.
#include "typeinfo/msft/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace velbrook::typeinfo::msft {
namespace {

const uint8_t kBytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

TEST(MsftByteReader, ReadsLittleEndianAndAdvances) {
  ByteReader r(kBytes, sizeof kBytes);
  uint16_t a = 0;
  uint32_t b = 0;
  ASSERT_TRUE(r.ReadU16LE(&a));
  ASSERT_TRUE(r.ReadU32LE(&b));
  EXPECT_EQ(a, 0x0201);
  EXPECT_EQ(b, 0x06050403u);
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(MsftByteReader, FailedReadChangesNothing) {
  ByteReader r(kBytes, sizeof kBytes);
  ASSERT_TRUE(r.Skip(3));
  uint32_t value = 0xDEADBEEF;
  EXPECT_FALSE(r.ReadU32LE(&value));
  EXPECT_EQ(value, 0xDEADBEEFu);
  EXPECT_EQ(r.offset(), 3u);
  uint16_t small = 0;
  EXPECT_TRUE(r.ReadU16LE(&small));  // exactly up to the end still works
  EXPECT_EQ(small, 0x0504);
}

TEST(MsftByteReader, BoundsAtTheEdgeAndPastIt) {
  ByteReader r(kBytes, sizeof kBytes);
  EXPECT_TRUE(r.Contains(6, 0));
  EXPECT_TRUE(r.Contains(2, 4));
  EXPECT_FALSE(r.Contains(2, 5));
  EXPECT_FALSE(r.Contains(7, 0));
  // An offset plus length that wraps around must not pass.
  EXPECT_FALSE(r.Contains(2, std::numeric_limits<size_t>::max()));
  EXPECT_FALSE(r.Contains(std::numeric_limits<size_t>::max(), 2));
  uint32_t v = 0;
  EXPECT_TRUE(r.U32At(2, &v));
  EXPECT_FALSE(r.U32At(3, &v));
}

TEST(MsftByteReader, SliceIsBoundedAndIndependent) {
  ByteReader r(kBytes, sizeof kBytes);
  ByteReader s;
  ASSERT_TRUE(r.Slice(2, 3, &s));
  EXPECT_EQ(s.size(), 3u);
  uint8_t first = 0;
  ASSERT_TRUE(s.ReadU8(&first));
  EXPECT_EQ(first, 0x03);
  uint32_t v = 0;
  EXPECT_FALSE(s.ReadU32LE(&v));  // the slice ends before the buffer does
  EXPECT_FALSE(r.Slice(4, 3, &s));
}

TEST(MsftByteReader, ReadSlicePassesItsBytesOrNothing) {
  ByteReader r(kBytes, sizeof kBytes);
  ByteReader s;
  ASSERT_TRUE(r.Skip(1));
  ASSERT_TRUE(r.ReadSlice(2, &s));
  EXPECT_EQ(s.data(), kBytes + 1);
  EXPECT_EQ(s.size(), 2u);
  EXPECT_EQ(r.offset(), 3u);
  EXPECT_FALSE(r.ReadSlice(4, &s));
  EXPECT_EQ(r.offset(), 3u);
  EXPECT_EQ(s.size(), 2u);
  EXPECT_TRUE(r.ReadSlice(3, &s));  // exactly up to the end
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(MsftByteReader, CountTimesSizeChecksWithoutOverflow) {
  EXPECT_TRUE(FitsCount(10, 4, 40));
  EXPECT_FALSE(FitsCount(11, 4, 40));
  EXPECT_FALSE(FitsCount(std::numeric_limits<size_t>::max() / 2, 4, 1000));
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
