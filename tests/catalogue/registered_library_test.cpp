// A library named by GUID on the command line: which version's file it opens.
#include "catalogue/registered_library.h"

#include <gtest/gtest.h>

#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::MemoryEnvironment;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;

constexpr char kGuid[] = "{D1D1D1D1-1111-4111-8111-111111111111}";

class RegisteredLibraryTest : public ::testing::Test {
 protected:
  void Register(const std::string& version, const std::string& file, bool exists = true) {
    const std::string base = std::string("TypeLib\\") + kGuid + "\\" + version;
    registry_.AddValue(base, "", "description " + version);
    registry_.AddValue(base + "\\0\\win32", "", file);
    if (exists) files_.AddFile(file);
  }
  Result<RegisteredLibrary> Find(const std::string& guid) {
    return FindRegisteredLibrary(registry_, files_, env_, guid);
  }
  MemoryRegistry registry_;
  MemoryFileSystem files_;
  MemoryEnvironment env_;
};

TEST(LooksLikeGuidTest, AcceptsBothSpellingsAndRejectsNearMisses) {
  EXPECT_TRUE(LooksLikeGuid("{00020430-0000-0000-C000-000000000046}"));
  EXPECT_TRUE(LooksLikeGuid("00020430-0000-0000-c000-000000000046"));
  EXPECT_FALSE(LooksLikeGuid("{00020430-0000-0000-C000-000000000046"));
  EXPECT_FALSE(LooksLikeGuid("{00020430-0000-0000-C000-00000000004G}"));
  EXPECT_FALSE(LooksLikeGuid("00020430-0000-0000-C0000-00000000046"));
  EXPECT_FALSE(LooksLikeGuid("stdole2.tlb"));
  EXPECT_FALSE(LooksLikeGuid(""));
}

TEST_F(RegisteredLibraryTest, NewestVersionWinsComparedAsHexadecimal) {
  Register("9.0", "C:\\lib\\nine.tlb");
  Register("a.0", "C:\\lib\\ten.tlb");
  Register("2.f", "C:\\lib\\two.tlb");
  auto found = Find("d1d1d1d1-1111-4111-8111-111111111111");
  ASSERT_TRUE(found.ok()) << found.error().message;
  EXPECT_EQ(found->version, "a.0");
  EXPECT_EQ(found->path, "C:\\lib\\ten.tlb");
  EXPECT_EQ(found->guid_key, kGuid);
}

TEST_F(RegisteredLibraryTest, VersionWhoseFileIsMissingIsPassedOver) {
  Register("1.0", "C:\\lib\\one.tlb");
  Register("2.0", "C:\\lib\\gone.tlb", /*exists=*/false);
  auto found = Find(kGuid);
  ASSERT_TRUE(found.ok()) << found.error().message;
  EXPECT_EQ(found->path, "C:\\lib\\one.tlb");
}

TEST_F(RegisteredLibraryTest, ResourceOfAnExistingModuleIsFound) {
  Register("1.0", "C:\\lib\\module.dll\\2", /*exists=*/false);
  files_.AddFile("C:\\lib\\module.dll");
  auto found = Find(kGuid);
  ASSERT_TRUE(found.ok()) << found.error().message;
  EXPECT_EQ(found->path, "C:\\lib\\module.dll\\2");
}

TEST_F(RegisteredLibraryTest, RegisteredPathIsExpandedAsTheListShowsIt) {
  env_.Set("SystemRoot", "C:\\windows");
  Register("1.0", "%SystemRoot%\\system32\\stdole2.tlb", /*exists=*/false);
  files_.AddFile("C:\\windows\\system32\\stdole2.tlb");
  auto found = Find(kGuid);
  ASSERT_TRUE(found.ok()) << found.error().message;
  EXPECT_EQ(found->path, "C:\\windows\\system32\\stdole2.tlb");
}

TEST_F(RegisteredLibraryTest, UnregisteredAndFilelessGuidsAreNotFound) {
  auto unregistered = Find("{00000000-0000-0000-0000-000000000000}");
  ASSERT_FALSE(unregistered.ok());
  EXPECT_EQ(unregistered.error().kind, ErrorKind::kNotFound);
  EXPECT_EQ(unregistered.error().message,
            "no type library is registered under {00000000-0000-0000-0000-000000000000}");

  Register("1.0", "C:\\lib\\gone.tlb", /*exists=*/false);
  auto fileless = Find(kGuid);
  ASSERT_FALSE(fileless.ok());
  EXPECT_EQ(fileless.error().message,
            std::string("type library ") + kGuid +
                " is registered, but its file was not found: C:\\lib\\gone.tlb");
}

}  // namespace
}  // namespace velbrook::catalogue
