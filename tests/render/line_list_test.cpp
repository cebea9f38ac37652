// LineList: whole-line, case-sensitive look-up, order and text form.
#include "render/line_list.h"

#include <gtest/gtest.h>

namespace velbrook::render {
namespace {

TEST(LineListTest, WholeLineCaseSensitive) {
  LineList list;
  list.Append("value");
  list.Append("IID_IFoo");
  EXPECT_TRUE(list.Contains("value"));
  EXPECT_TRUE(list.Contains("IID_IFoo"));
  EXPECT_FALSE(list.Contains("Value"));
  EXPECT_FALSE(list.Contains("valu"));
  EXPECT_FALSE(list.Contains("alue"));
  EXPECT_FALSE(list.Contains("value\r\n"));
  EXPECT_FALSE(list.Contains("IID_IFo"));
  EXPECT_FALSE(list.Contains(""));
}

TEST(LineListTest, EmptyLineIsAnEntry) {
  LineList list;
  list.Append("");
  EXPECT_TRUE(list.Contains(""));
  EXPECT_EQ(list.Text(), "\r\n");
}

TEST(LineListTest, OrderTextAndLineNumbers) {
  LineList list{"b", "a", "b"};
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Line(1), "b");
  EXPECT_EQ(list.Line(2), "a");
  EXPECT_EQ(list.Line(3), "b");
  EXPECT_EQ(list.Line(0), "");
  EXPECT_EQ(list.Line(4), "");
  EXPECT_EQ(list.Text(), "b\r\na\r\nb\r\n");
}

TEST(LineListTest, ClearEmptiesBoth) {
  LineList list{"x"};
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_FALSE(list.Contains("x"));
  EXPECT_EQ(list.Text(), "");
  list.Append("y");
  EXPECT_TRUE(list.Contains("y"));
}

TEST(LineListTest, ManyEntries) {
  LineList list;
  for (int i = 0; i < 50000; ++i) list.Append("m" + std::to_string(i));
  EXPECT_TRUE(list.Contains("m0"));
  EXPECT_TRUE(list.Contains("m49999"));
  EXPECT_FALSE(list.Contains("m50000"));
  EXPECT_EQ(list.Line(50000), "m49999");
}

}  // namespace
}  // namespace velbrook::render
