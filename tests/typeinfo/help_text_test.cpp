#include "typeinfo/help_text.h"

#include <gtest/gtest.h>

namespace velbrook::typeinfo {
namespace {

TEST(CleanHelpText, RemovesLineBreaksWithoutReplacement) {
  EXPECT_EQ(CleanHelpText("first\r\nsecond\nthird\r"), "firstsecondthird");
}

TEST(CleanHelpText, DropsEverythingFromTheFirstNul) {
  EXPECT_EQ(CleanHelpText(std::string("kept\0dropped", 12)), "kept");
}

TEST(CleanHelpText, StripsBlanksAndTabsAtBothEnds) {
  EXPECT_EQ(CleanHelpText(" \t inner text\t "), "inner text");
  EXPECT_EQ(CleanHelpText(" \t \t"), "");
  EXPECT_EQ(CleanHelpText(""), "");
}

TEST(CleanHelpText, StripsAfterJoiningLines) {
  // A blank before the CR LF ends up inside, one at the end is stripped.
  EXPECT_EQ(CleanHelpText("a \r\nb \r\n"), "a b");
}

}  // namespace
}  // namespace velbrook::typeinfo
