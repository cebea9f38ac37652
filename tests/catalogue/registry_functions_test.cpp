// The registry reading functions over an in-memory registry: end marker,
// buffer limits, prefer-name flag, WIN32 in any case, FindWin32File order.
#include "catalogue/registry_functions.h"

#include <gtest/gtest.h>

#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::FakeType;
using testing::MemoryRegistry;

TEST(EnumSubkeyName, GivesNamesInOrderThenTheErrorMarker) {
  MemoryRegistry registry;
  registry.AddKey("A\\first").AddKey("A\\second");
  auto key = OpenClassesKey(registry, "A");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(EnumSubkeyName(key.get(), 0), "first");
  EXPECT_EQ(EnumSubkeyName(key.get(), 1), "second");
  EXPECT_EQ(EnumSubkeyName(key.get(), 2), kRegistryError);
  EXPECT_EQ(EnumSubkeyName(nullptr, 0), kRegistryError);
}

TEST(EnumSubkeyName, NameThatFillsTheBufferIsAnError) {
  MemoryRegistry registry;
  registry.AddKey("A\\" + std::string(259, 'n')).AddKey("A\\" + std::string(260, 'm'));
  auto key = OpenClassesKey(registry, "A");
  EXPECT_EQ(EnumSubkeyName(key.get(), 0), std::string(259, 'n'));
  EXPECT_EQ(EnumSubkeyName(key.get(), 1), kRegistryError);
}

TEST(CheckClassesKey, AKeyThatCannotBeOpenedIsARegistryError) {
  MemoryRegistry registry;
  registry.AddKey("TypeLib\\{A}").AddKey("CLSID").FailOpen("CLSID");
  EXPECT_TRUE(CheckClassesKey(registry, "typelib").ok());
  for (const char* path : {"CLSID", "Interface"}) {
    const Status status = CheckClassesKey(registry, path);
    ASSERT_FALSE(status.ok()) << path;
    EXPECT_EQ(status.error().kind, ErrorKind::kRegistryUnreadable) << path;
    EXPECT_EQ(status.error().message,
              std::string("the registry key HKEY_CLASSES_ROOT\\") + path + " cannot be opened");
  }
}

TEST(OpenClassesKey, MissingKeyGivesNull) {
  MemoryRegistry registry;
  registry.AddKey("TypeLib");
  EXPECT_EQ(OpenClassesKey(registry, "NoSuchKey"), nullptr);
  EXPECT_NE(OpenClassesKey(registry, "typelib"), nullptr);
}

TEST(EnumValueText, DataOrNameByTheFlag) {
  MemoryRegistry registry;
  registry.AddValue("K", "", "default data").AddValue("K", "Named", "named data");
  auto key = OpenClassesKey(registry, "K");
  EXPECT_EQ(EnumValueText(key.get(), 0, false), "default data");
  // An empty name does not win over the data even with the flag.
  EXPECT_EQ(EnumValueText(key.get(), 0, true), "default data");
  EXPECT_EQ(EnumValueText(key.get(), 1, false), "named data");
  EXPECT_EQ(EnumValueText(key.get(), 1, true), "Named");
  EXPECT_EQ(EnumValueText(key.get(), 2, false), "");
  EXPECT_EQ(EnumValueText(nullptr, 0, false), "");
}

TEST(EnumValueText, DataTooLongForTheBufferGivesEmptyText) {
  MemoryRegistry registry;
  // 259 characters and the NUL fit in 260 bytes; one more does not.
  registry.AddValue("K", "", std::string(259, 'd')).AddValue("K", "", std::string(260, 'e'));
  auto key = OpenClassesKey(registry, "K");
  EXPECT_EQ(EnumValueText(key.get(), 0, false), std::string(259, 'd'));
  EXPECT_EQ(EnumValueText(key.get(), 1, false), "");
  EXPECT_EQ(EnumValueText(key.get(), 1, true), "");
}

TEST(EnumValueText, NameTooLongForTheBufferGivesEmptyText) {
  MemoryRegistry registry;
  registry.AddValue("K", std::string(260, 'n'), "data");
  auto key = OpenClassesKey(registry, "K");
  EXPECT_EQ(EnumValueText(key.get(), 0, true), "");
  EXPECT_EQ(EnumValueText(key.get(), 0, false), "");
}

TEST(ReadKeyValue, FirstValueOrEmpty) {
  MemoryRegistry registry;
  registry.AddValue("K", "", "first").AddValue("K", "x", "second").AddKey("Empty");
  EXPECT_EQ(ReadKeyValue(registry, "K"), "first");
  EXPECT_EQ(ReadKeyValue(registry, "Empty"), "");
  EXPECT_EQ(ReadKeyValue(registry, "Missing"), "");
}

// FindWin32File of the version key at path.
std::string Win32FileOf(const MemoryRegistry& registry, const std::string& version_path) {
  return FindWin32File(OpenClassesKey(registry, version_path).get());
}

TEST(FindWin32File, FindsWin32InAnyCase) {
  for (const char* spelling : {"win32", "WIN32", "Win32", "wIn32"}) {
    MemoryRegistry registry;
    registry.AddValue("V\\0\\win64", "", "c:\\x64.dll")
        .AddValue(std::string("V\\0\\") + spelling, "", "c:\\x86.dll");
    EXPECT_EQ(Win32FileOf(registry, "V"), "c:\\x86.dll") << spelling;
  }
  MemoryRegistry registry;
  registry.AddKey("V\\0\\win64").AddValue("V\\0\\win32x", "", "c:\\x.dll");
  EXPECT_EQ(Win32FileOf(registry, "V"), "");
}

TEST(FindWin32File, FirstLocaleWithAWin32Subkey) {
  MemoryRegistry registry;
  registry.AddKey("T\\1.0\\FLAGS")
      .AddValue("T\\1.0\\9\\win64", "", "c:\\x64.dll")
      .AddValue("T\\1.0\\409\\Win32", "", "c:\\first.dll")
      .AddValue("T\\1.0\\0\\win32", "", "c:\\second.dll");
  EXPECT_EQ(Win32FileOf(registry, "T\\1.0"), "c:\\first.dll");
}

TEST(FindWin32File, NoWin32EntryGivesEmptyText) {
  MemoryRegistry registry;
  registry.AddValue("T\\1.0\\0\\win64", "", "c:\\x64.dll").AddKey("T\\1.0\\HELPDIR");
  EXPECT_EQ(Win32FileOf(registry, "T\\1.0"), "");
  EXPECT_EQ(Win32FileOf(registry, "T\\9.9"), "");
}

TEST(FindWin32File, Win32KeyWithoutValueGivesEmptyText) {
  MemoryRegistry registry;
  registry.AddKey("T\\1.0\\0\\win32").AddValue("T\\1.0\\9\\win32", "", "c:\\later.dll");
  // The search stops at the first locale with a Win32 subkey, empty or not.
  EXPECT_EQ(Win32FileOf(registry, "T\\1.0"), "");
}

TEST(FindWin32File, Win32KeyThatCannotBeOpenedIsPassedOver) {
  MemoryRegistry registry;
  registry.AddValue("T\\1.0\\0\\win32", "", "c:\\locked.dll")
      .AddValue("T\\1.0\\409\\win32", "", "c:\\open.dll")
      .FailOpen("T\\1.0\\0\\win32");
  EXPECT_EQ(Win32FileOf(registry, "T\\1.0"), "c:\\open.dll");
}

TEST(OpenSubkey, OpensBelowAnOpenKeyInAnyCase) {
  MemoryRegistry registry;
  registry.AddValue("A\\B\\C", "", "deep");
  auto a = OpenClassesKey(registry, "A");
  EXPECT_EQ(ReadSubkeyValue(a.get(), "b\\c"), "deep");
  EXPECT_EQ(OpenSubkey(a.get(), "missing"), nullptr);
  EXPECT_EQ(OpenSubkey(nullptr, "B"), nullptr);
  EXPECT_EQ(ReadSubkeyValue(nullptr, "B\\C"), "");
}

TEST(ProgIdOfClass, ReadsTheClassProgIdKey) {
  MemoryRegistry registry;
  const std::string guid = "{11111111-2222-3333-4444-555555555555}";
  registry.AddValue("CLSID\\" + guid + "\\ProgID", "", "Shapes.Circle.1");
  EXPECT_EQ(ProgIdOfClass(registry, FakeType("Circle", guid)), "Shapes.Circle.1");
  EXPECT_EQ(ProgIdOfClass(registry, FakeType("Other", "{00000000-0000-0000-0000-000000000000}")),
            "");
}

}  // namespace
}  // namespace velbrook::catalogue
