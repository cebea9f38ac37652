// ExpandEnvironmentText: defined references replaced everywhere, undefined
// and empty ones left as written, values holding references expanded too.
#include "catalogue/environment_text.h"

#include <gtest/gtest.h>

#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::MemoryEnvironment;

TEST(ExpandEnvironmentText, ReplacesEveryOccurrence) {
  MemoryEnvironment env;
  env.Set("SystemRoot", "C:\\WINDOWS");
  EXPECT_EQ(ExpandEnvironmentText("%SystemRoot%\\a;%SystemRoot%\\b", env),
            "C:\\WINDOWS\\a;C:\\WINDOWS\\b");
}

TEST(ExpandEnvironmentText, UndefinedReferenceIsLeftAsItIs) {
  MemoryEnvironment env;
  env.Set("Defined", "X");
  EXPECT_EQ(ExpandEnvironmentText("%Missing%\\file.tlb", env), "%Missing%\\file.tlb");
  EXPECT_EQ(ExpandEnvironmentText("%Missing%\\%Defined%", env), "%Missing%\\X");
}

TEST(ExpandEnvironmentText, EmptyValueCountsAsUndefined) {
  MemoryEnvironment env;
  env.Set("Empty", "");
  EXPECT_EQ(ExpandEnvironmentText("%Empty%\\f", env), "%Empty%\\f");
}

TEST(ExpandEnvironmentText, SinglePercentAndEmptyNameStay) {
  MemoryEnvironment env;
  env.Set("A", "1");
  // " of " is no variable; its closing "%" then opens "%A%".
  EXPECT_EQ(ExpandEnvironmentText("50% of %A%", env), "50% of 1");
  EXPECT_EQ(ExpandEnvironmentText("%%", env), "%%");
  EXPECT_EQ(ExpandEnvironmentText("no references", env), "no references");
}

TEST(ExpandEnvironmentText, ValueWithReferencesIsExpandedAgain) {
  MemoryEnvironment env;
  env.Set("windir", "%SystemRoot%").Set("SystemRoot", "C:\\W");
  EXPECT_EQ(ExpandEnvironmentText("%windir%\\x", env), "C:\\W\\x");
}

TEST(ExpandEnvironmentText, SelfReferenceEnds) {
  MemoryEnvironment env;
  env.Set("A", "x%A%");
  std::string expanded = ExpandEnvironmentText("%A%", env);
  EXPECT_EQ(expanded.substr(0, 3), "xxx");
  EXPECT_NE(expanded.find("%A%"), std::string::npos);
}

}  // namespace
}  // namespace velbrook::catalogue
