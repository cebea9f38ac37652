// The memory of failed references: by itself through its seam, and over a
// library whose import is gone, opened by oleaut32.
#include "typeinfo/oleaut/ref_cache.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "typeinfo/dump.h"
#include "typeinfo/oleaut/oleaut_objects.h"
#include "typeinfo/oleaut/oleaut_opener.h"

namespace velbrook::typeinfo::oleaut {
namespace {

// Type infos stand as distinct addresses; the cache never calls them.
ITypeInfo* Info(uintptr_t n) { return reinterpret_cast<ITypeInfo*>(n * 16); }

// Answers from a table and counts every question.
struct FakeLookup {
  std::map<std::pair<ITypeInfo*, HREFTYPE>, HRESULT> answers;  // missing: found
  std::map<std::pair<ITypeInfo*, HREFTYPE>, int> asked;

  RefCache::Lookup Function() {
    return [this](ITypeInfo* context, HREFTYPE href, ITypeInfo** out) {
      ++asked[{context, href}];
      auto answer = answers.find({context, href});
      if (answer != answers.end()) return answer->second;
      *out = Info(1000 + href);
      return S_OK;
    };
  }
};

TEST(RefCacheTest, AnImportThatCannotBeLoadedIsAskedOnceForTheLibrary) {
  FakeLookup fake;
  for (uintptr_t t = 1; t <= 3; ++t) fake.answers[{Info(t), 0x65}] = TYPE_E_CANTLOADLIBRARY;
  RefCache cache(fake.Function());
  for (int round = 0; round < 50; ++round) {
    for (uintptr_t t = 1; t <= 3; ++t) EXPECT_EQ(cache.Resolve(Info(t), 0x65), nullptr);
  }
  EXPECT_EQ(cache.lookups(), 1u);
}

TEST(RefCacheTest, OtherFailuresStayWithTheirTypeInfo) {
  FakeLookup fake;
  // The other face of a dual interface: the same handle in every type info.
  fake.answers[{Info(1), 0xFFFFFFFE}] = E_FAIL;
  RefCache cache(fake.Function());
  EXPECT_EQ(cache.Resolve(Info(1), 0xFFFFFFFE), nullptr);
  EXPECT_EQ(cache.Resolve(Info(1), 0xFFFFFFFE), nullptr);
  EXPECT_EQ(cache.Resolve(Info(2), 0xFFFFFFFE), Info(1000 + 0xFFFFFFFE));
  EXPECT_EQ((fake.asked[{Info(1), 0xFFFFFFFE}]), 1);
  EXPECT_EQ(cache.lookups(), 2u);
}

TEST(RefCacheTest, SuccessesAreAskedEachTime) {
  FakeLookup fake;
  RefCache cache(fake.Function());
  EXPECT_EQ(cache.Resolve(Info(1), 0x10), Info(1000 + 0x10));
  EXPECT_EQ(cache.Resolve(Info(1), 0x10), Info(1000 + 0x10));
  EXPECT_EQ(cache.lookups(), 2u);
  EXPECT_EQ(cache.Resolve(nullptr, 0x10), nullptr);
  EXPECT_EQ(cache.lookups(), 2u);
}

TEST(RefCacheTest, LibraryFailures) {
  for (HRESULT result : {TYPE_E_CANTLOADLIBRARY, TYPE_E_LIBNOTREGISTERED, STG_E_FILENOTFOUND,
                         HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)}) {
    EXPECT_TRUE(RefCache::IsLibraryFailure(result)) << std::hex << result;
  }
  for (HRESULT result : {E_FAIL, TYPE_E_ELEMENTNOTFOUND, E_INVALIDARG, S_OK}) {
    EXPECT_FALSE(RefCache::IsLibraryFailure(result)) << std::hex << result;
  }
}

// 20 parameters in 4 interfaces name IGone of gone.tlb, which nothing
// finds: oleaut32 is asked about it once, not once per parameter and dump.
TEST(OleautGoneImportTest, TheMissingImportIsAskedOnce) {
  OleautOpener opener;
  auto library = opener.OpenLibraryFile(USES_GONE_TLB);
  ASSERT_TRUE(library.ok()) << library.error().message;
  const auto* oleaut = dynamic_cast<const OleautLibrary*>(library->get());
  ASSERT_NE(oleaut, nullptr);
  auto dump = DumpLibrary(**library);
  ASSERT_TRUE(dump.ok()) << dump.error().message;
  ASSERT_NE(dump->find("\"gone\" flags 0x00000001\n          type vt=0 ptr=1 ref=none"),
            std::string::npos)
      << dump->substr(0, 2000);
  const size_t first = oleaut->RefLookups();
  EXPECT_LT(first, 20u);
  // Again: only the bases of the 4 interfaces (found, so asked anew).
  auto again = DumpLibrary(**library);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(*again, *dump);
  EXPECT_EQ(oleaut->RefLookups() - first, 4u);
}

}  // namespace
}  // namespace velbrook::typeinfo::oleaut
