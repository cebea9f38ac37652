// The command-line argument's quoting rules and the " noinvoke" switch.
#include "app/model/command_line.h"

#include <gtest/gtest.h>

namespace velbrook::app {
namespace {

struct ArgumentCase {
  const char* command_line;
  const char* argument;
};

class FirstArgumentTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(FirstArgumentTest, Parses) {
  EXPECT_EQ(FirstCommandLineArgument(GetParam().command_line), GetParam().argument)
      << "command line: [" << GetParam().command_line << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstArgumentTest,
    ::testing::Values(ArgumentCase{"\"C:\\Program Files\\velbrook.exe\"", ""},
                      ArgumentCase{"C:\\velbrook.exe", ""}, ArgumentCase{"C:\\velbrook.exe ", ""},
                      ArgumentCase{"  \t C:\\velbrook.exe", ""},
                      ArgumentCase{"\"C:\\a b\\velbrook.exe", ""},  // no closing quote
                      ArgumentCase{"velbrook.exe c:\\x.tlb", "c:\\x.tlb"},
                      ArgumentCase{"velbrook.exe   \t c:\\x.tlb", "c:\\x.tlb"},
                      ArgumentCase{"velbrook.exe c:\\x.tlb tail", "c:\\x.tlb"},
                      ArgumentCase{"\"C:\\a b\\velbrook.exe\" \"C:\\my libs\\x.tlb\" y",
                                   "C:\\my libs\\x.tlb"},
                      ArgumentCase{"\"C:\\a b\\velbrook.exe\"\"x.tlb\"", "x.tlb"},
                      ArgumentCase{"velbrook.exe \"C:\\open ended", "C:\\open ended"},
                      ArgumentCase{"velbrook.exe noinvoke", "noinvoke"},
                      ArgumentCase{"velbrook.exe\tx.tlb", ""},  // a tab does not end a name
                      ArgumentCase{"", ""}));

TEST(NoInvokeTest, OnlyExactTrailingSwitch) {
  EXPECT_TRUE(EndsWithNoInvoke("velbrook.exe c:\\x.tlb noinvoke"));
  EXPECT_TRUE(EndsWithNoInvoke("velbrook.exe noinvoke"));
  EXPECT_FALSE(EndsWithNoInvoke("velbrook.exe c:\\x.tlb NOINVOKE"));
  EXPECT_FALSE(EndsWithNoInvoke("velbrook.exe c:\\x.tlb noinvoke "));
  EXPECT_FALSE(EndsWithNoInvoke("noinvoke"));
  EXPECT_FALSE(EndsWithNoInvoke("x\tnoinvoke"));
}

TEST(FindRowByPathTest, IgnoresCaseAndTakesUpperRow) {
  std::vector<std::string> paths = {"c:\\a.tlb", "C:\\Windows\\X.TLB", "c:\\windows\\x.tlb"};
  EXPECT_EQ(FindRowByPath(paths, "C:\\WINDOWS\\X.TLB"), 1);
  EXPECT_EQ(FindRowByPath(paths, "c:\\a.tlb"), 0);
  EXPECT_EQ(FindRowByPath(paths, "c:\\b.tlb"), -1);
  EXPECT_EQ(FindRowByPath({}, "c:\\a.tlb"), -1);
}

TEST(CaseTest, OnlyAsciiLettersChange) {
  EXPECT_EQ(LowerAscii("AbZ\xC9[@"), "abz\xC9[@");
  EXPECT_EQ(UpperAscii("azA\xE9`{"), "AZA\xE9`{");
}

}  // namespace
}  // namespace velbrook::app
