// The first-difference report of the shared text comparison.
#include "fakes/text_compare.h"

#include <gtest/gtest.h>

namespace velbrook::fakes {
namespace {

TEST(SameBytesTest, EqualTextsPass) { EXPECT_TRUE(SameBytes("a\r\nb \r\n", "a\r\nb \r\n")); }

TEST(SameBytesTest, ReportsLineColumnAndVisibleBlanks) {
  ::testing::AssertionResult result = SameBytes("one\r\nend with \r\n", "one\r\nend with\r\n");
  ASSERT_FALSE(result);
  const std::string message = result.message();
  EXPECT_NE(message.find("byte 13 (line 2, column 9)"), std::string::npos) << message;
  EXPECT_NE(message.find("\"end with~\\r\\n\""), std::string::npos) << message;
  EXPECT_NE(message.find("\"end with\\r\\n\""), std::string::npos) << message;
}

TEST(SameBytesTest, ShorterTextAndMissingCr) {
  ::testing::AssertionResult result = SameBytes("a\r\n", "a\n");
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("line 1, column 2"), std::string::npos)
      << result.message();
}

TEST(VisibleLineTest, TabsAndInnerBlanks) {
  EXPECT_EQ(VisibleLine("a b\t \r\n"), "\"a b\\t~\\r\\n\"");
  EXPECT_EQ(VisibleLine("  "), "\"~~\"");
}

}  // namespace
}  // namespace velbrook::fakes
