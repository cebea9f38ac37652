// Which registered file an import is looked up as: LoadRegTypeLib's choice
// of version (the same major, the requested minor or the greatest above it),
// locale (exact, primary language, neutral) and platform key.
#include "catalogue/registry_locator.h"

#include <gtest/gtest.h>

#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

constexpr char kGuid[] = "{D1D1D1D1-1111-4111-8111-111111111111}";

struct LocatorCase {
  const char* name;
  uint16_t major, minor;
  uint32_t lcid;
  bool win64;
  const char* expected;
};

void PrintTo(const LocatorCase& c, std::ostream* out) { *out << c.name; }

class RegistryLocatorTest : public ::testing::TestWithParam<LocatorCase> {};

TEST_P(RegistryLocatorTest, ChoosesAsLoadRegTypeLib) {
  testing::MemoryRegistry registry;
  testing::MemoryEnvironment environment;
  environment.Set("SystemRoot", "C:\\windows");
  const std::string lib = std::string("TypeLib\\") + kGuid;
  registry.AddValue(lib + "\\1.0\\0\\win32", "", "C:\\v10.tlb");
  registry.AddValue(lib + "\\1.2\\409\\win32", "", "C:\\v12-409.tlb");
  registry.AddValue(lib + "\\1.2\\9\\win32", "", "C:\\v12-9.tlb");
  registry.AddValue(lib + "\\1.2\\0\\win32", "", "%SystemRoot%\\v12.tlb");
  registry.AddValue(lib + "\\1.2\\0\\win64", "", "C:\\v12-64.tlb");
  registry.AddValue(lib + "\\1.a\\0\\win32", "", "C:\\v1a.tlb");
  registry.AddValue(lib + "\\1.5\\0\\win32", "", "C:\\v15.tlb");
  registry.AddValue(lib + "\\1.7\\0\\win64", "", "C:\\v17-64.tlb");
  registry.AddValue(lib + "\\2.0\\0\\FLAGS", "", "0");
  registry.AddValue(lib + "\\junk\\0\\win32", "", "C:\\junk.tlb");
  const LocatorCase& c = GetParam();
  EXPECT_EQ(FindRegisteredTypeLib(registry, environment, kGuid, c.major, c.minor, c.lcid, c.win64),
            c.expected);
}

const LocatorCase kCases[] = {
    {"ExactVersionNeutral", 1, 0, 0, false, "C:\\v10.tlb"},
    {"ExactVersionExactLocale", 1, 2, 0x409, false, "C:\\v12-409.tlb"},
    {"PrimaryLanguageOfTheLocale", 1, 2, 0x809, false, "C:\\v12-9.tlb"},
    {"NeutralLocaleLast", 1, 2, 0x40C, false, "C:\\windows\\v12.tlb"},
    {"Win64FirstInA64BitView", 1, 2, 0, true, "C:\\v12-64.tlb"},
    {"OtherPlatformAfterEveryLocale", 1, 7, 0x409, false, "C:\\v17-64.tlb"},
    {"OwnPlatformBeforeTheExactLocale", 1, 2, 0x409, true, "C:\\v12-64.tlb"},
    {"GreatestHigherMinor", 1, 3, 0, false, "C:\\v1a.tlb"},
    {"NoLowerMinor", 1, 0xb, 0, false, ""},
    {"OtherMajorIsNoMatch", 3, 0, 0, false, ""},
    {"VersionWithoutAFile", 2, 0, 0, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Versions, RegistryLocatorTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<LocatorCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(RegistryLocatorTest, UnregisteredGuid) {
  testing::MemoryRegistry registry;
  testing::MemoryEnvironment environment;
  EXPECT_EQ(FindRegisteredTypeLib(registry, environment, kGuid, 1, 0, 0, false), "");
}

}  // namespace
}  // namespace velbrook::catalogue
