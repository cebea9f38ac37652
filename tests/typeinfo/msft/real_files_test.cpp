// Libraries Wine ships, checked against facts known from elsewhere (their
// published GUIDs and names, and the MSFT header read straight from the
// bytes), the "\N" resource selection, and the answers for paths that are
// no library.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "test_support.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::typeinfo::msft {
namespace {

using testing::FindMember;
using testing::FindType;
using testing::FixturePath;
using testing::ReadAll;
using testing::WinePath;

// nrtypeinfos of the first MSFT header in a file, found by a plain search.
int32_t TypeInfoCountInBytes(const std::string& path) {
  std::vector<uint8_t> bytes = ReadAll(path);
  const char magic[] = "MSFT";
  auto at = std::search(bytes.begin(), bytes.end(), magic, magic + 4);
  if (at == bytes.end() || bytes.end() - at < 0x24) return -1;
  size_t off = size_t(at - bytes.begin()) + 0x20;
  return int32_t(bytes[off] | bytes[off + 1] << 8 | bytes[off + 2] << 16 |
                 uint32_t(bytes[off + 3]) << 24);
}

uint32_t ListedTypes(const Library& library) {
  return library.ObjectClasses()->Count() + library.Interfaces()->Count() +
         library.Enumerations()->Count() + library.Records()->Count();
}

TEST(MsftRealFiles, Stdole2) {
  PortableOpener opener;
  auto library = opener.OpenLibraryFile(WinePath("stdole2.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  EXPECT_EQ((*library)->Name(), "stdole");
  EXPECT_EQ((*library)->GuidText(), "{00020430-0000-0000-C000-000000000046}");
  EXPECT_EQ((*library)->MajorVersion(), 2);
  const Type* unknown = FindType(**library, "IUnknown");
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(unknown->GuidText(), "{00000000-0000-0000-C000-000000000046}");
  EXPECT_EQ(unknown->Members()->Count(), 3u);
  const Type* dispatch = FindType(**library, "IDispatch");
  ASSERT_NE(dispatch, nullptr);
  EXPECT_EQ(dispatch->GuidText(), "{00020400-0000-0000-C000-000000000046}");
  ASSERT_EQ(dispatch->Members()->Count(), 4u);
  const Member* invoke = FindMember(*dispatch, "Invoke", kInvokeFunc);
  ASSERT_NE(invoke, nullptr);
  EXPECT_EQ(invoke->VTableOffset(), 24);
  ASSERT_EQ(invoke->Parameters()->Count(), 8u);
  EXPECT_EQ(invoke->Parameters()->Item(5)->Name(), "pdispparams");
  ASSERT_EQ(dispatch->ImplementedInterfaces()->Count(), 1u);
  EXPECT_EQ(dispatch->ImplementedInterfaces()->Item(1), unknown);
  EXPECT_LE(ListedTypes(**library), uint32_t(TypeInfoCountInBytes(WinePath("stdole2.tlb"))));
}

TEST(MsftRealFiles, MshtmlTypeLibrary) {
  PortableOpener opener;
  auto library = opener.OpenLibraryFile(WinePath("mshtml.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  EXPECT_EQ((*library)->Name(), "MSHTML");
  EXPECT_EQ((*library)->GuidText(), "{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}");
  EXPECT_EQ((*library)->MajorVersion(), 4);
  int32_t in_header = TypeInfoCountInBytes(WinePath("mshtml.tlb"));
  ASSERT_GT(in_header, 300);
  // Aliases, unions and modules are in no list; everything else is.
  EXPECT_LE(ListedTypes(**library), uint32_t(in_header));
  EXPECT_GT(ListedTypes(**library), uint32_t(in_header) / 2);
  const Type* element = FindType(**library, "IHTMLElement");
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->GuidText(), "{3050F1FF-98B5-11CF-BB82-00AA00BDCE0B}");
  EXPECT_EQ(element->TypeKind(), kTypeKindDispatch);
  ASSERT_NE(element->VTableInterface(), nullptr);
  // IUnknown and IDispatch come from stdole2.tlb, found beside mshtml.tlb.
  EXPECT_EQ(element->Members()->Item(1)->Name(), "QueryInterface");
  EXPECT_EQ(element->Members()->Count(), element->VTableInterface()->Members()->Count() + 7);
}

TEST(MsftRealFiles, MshtmlOpensAndWalksQuickly) {
  auto start = std::chrono::steady_clock::now();
  PortableOpener opener;
  auto library = opener.OpenLibraryFile(WinePath("mshtml.tlb"));
  ASSERT_TRUE(library.ok()) << library.error().message;
  testing::WalkTotals totals = testing::WalkAll(**library);
  double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("mshtml.tlb: %llu types, %llu members walked in %.1f ms\n",
              static_cast<unsigned long long>(totals.types),
              static_cast<unsigned long long>(totals.members), ms);
  EXPECT_GT(totals.members, 10000u);
  EXPECT_LT(ms, 1000.0);
}

TEST(MsftRealFiles, DllResourceAndItsSelection) {
  PortableOpener opener;
  auto scripting = opener.OpenLibraryFile(WinePath("scrrun.dll"));
  ASSERT_TRUE(scripting.ok()) << scripting.error().message;
  EXPECT_EQ((*scripting)->Name(), "Scripting");
  EXPECT_EQ((*scripting)->GuidText(), "{420B2830-E718-11CF-893D-00A0C9054228}");
  EXPECT_NE(FindType(**scripting, "Dictionary"), nullptr);
  EXPECT_NE(FindType(**scripting, "FileSystemObject"), nullptr);

  // vbscript.dll carries three type libraries; no suffix means resource 1.
  auto first = opener.OpenLibraryFile(WinePath("vbscript.dll"));
  auto explicit_first = opener.OpenLibraryFile(WinePath("vbscript.dll") + "\\1");
  auto third = opener.OpenLibraryFile(WinePath("vbscript.dll") + "\\3");
  ASSERT_TRUE(first.ok() && explicit_first.ok() && third.ok());
  EXPECT_EQ((*first)->Name(), "VBScript_Global");
  EXPECT_EQ((*explicit_first)->Name(), "VBScript_Global");
  EXPECT_EQ((*third)->Name(), "VBScript_RegExp_55");
  EXPECT_EQ((*third)->MajorVersion(), 5);
  EXPECT_EQ((*third)->MinorVersion(), 5);

  auto missing = opener.OpenLibraryFile(WinePath("vbscript.dll") + "\\9");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::kNotTypeLibrary);
  EXPECT_NE(missing.error().message.find("resource 9"), std::string::npos)
      << missing.error().message;
  auto no_resource = opener.OpenLibraryFile(WinePath("kernel32.dll"));
  ASSERT_FALSE(no_resource.ok());
  EXPECT_EQ(no_resource.error().kind, ErrorKind::kNotTypeLibrary);
}

#if !defined(_WIN32)
// Only a POSIX file name can hold a backslash.
TEST(MsftRealFiles, AFileNamedWithTheSuffixWins) {
  std::string dir = std::string(MSFT_FIXTURES) + "/suffix";
  std::string odd = dir + "/shapes.tlb\\3";
  std::remove(odd.c_str());
  std::filesystem::create_directories(dir);
  std::vector<uint8_t> bytes = ReadAll(FixturePath("shapes.tlb"));
  std::ofstream(odd, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  PortableOpener opener;
  auto library = opener.OpenLibraryFile(odd);
  ASSERT_TRUE(library.ok()) << library.error().message;
  EXPECT_EQ((*library)->Name(), "VelbrookShapes");
}

#endif

TEST(MsftRealFiles, PathsThatAreNoLibrary) {
  PortableOpener opener;
  auto missing = opener.OpenLibraryFile("/nonexistent/velbrook/none.tlb");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().kind, ErrorKind::kNotFound);
  EXPECT_NE(missing.error().message.find("none.tlb"), std::string::npos);

  auto directory = opener.OpenLibraryFile(MSFT_WINE_DIR);
  ASSERT_FALSE(directory.ok());
  EXPECT_EQ(directory.error().kind, ErrorKind::kIo);

  std::string empty = FixturePath("empty.tlb");
  std::ofstream(empty, std::ios::binary).close();
  auto empty_result = opener.OpenLibraryFile(empty);
  ASSERT_FALSE(empty_result.ok());
  EXPECT_EQ(empty_result.error().kind, ErrorKind::kNotTypeLibrary);

  std::string text = FixturePath("text.tlb");
  std::ofstream(text) << "just some text, no type library\n";
  auto text_result = opener.OpenLibraryFile(text);
  ASSERT_FALSE(text_result.ok());
  EXPECT_EQ(text_result.error().kind, ErrorKind::kNotTypeLibrary);
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
