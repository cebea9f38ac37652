// The built-in stdole against Windows' own stdole2 as Wine ships it: our IDL
// compiled for 64-bit dumps exactly as Wine's 64-bit library, and the
// embedded 32-bit library holds the same type infos, the aliases and the
// module (which the dump does not list) included.
#include <gtest/gtest.h>

#include <sstream>

#include "typeinfo/dump.h"
#include "typeinfo/msft/byte_source.h"
#include "typeinfo/msft/portable_opener.h"
#include "typeinfo/msft/session.h"
#include "typeinfo/stdole/builtin_stdole.h"

namespace velbrook::typeinfo::msft {
namespace {

constexpr char kWineStdole2[] = WINE_STDOLE2_TLB;

std::string Dump(const std::string& path) {
  PortableOpener opener;
  auto library = opener.OpenLibraryFile(path);
  if (!library.ok()) return "cannot open: " + library.error().message;
  auto dump = DumpLibrary(**library);
  return dump.ok() ? *dump : "cannot dump: " + dump.error().message;
}

// Empty when equal, else the first line that differs, numbered from 1.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream want(expected), got(actual);
  std::string a, b;
  for (int line = 1;; ++line) {
    const bool more_a = static_cast<bool>(std::getline(want, a));
    const bool more_b = static_cast<bool>(std::getline(got, b));
    if (!more_a && !more_b) return std::string();
    if (more_a != more_b || a != b) {
      return "line " + std::to_string(line) + ": Windows' \"" + (more_a ? a : "(end)") +
             "\", ours \"" + (more_b ? b : "(end)") + "\"";
    }
  }
}

// One line per type info: what does not depend on the pointer size.
std::vector<std::string> TypeInfos(const MsftFile& file) {
  std::vector<std::string> lines;
  for (const TypeInfoRecord& t : file.types) {
    std::ostringstream line;
    line << t.name.text << " kind " << t.type_kind << " guid " << t.has_guid << " "
         << GuidToText(t.guid) << " flags " << t.type_flags << " funcs " << t.func_count << " vars "
         << t.var_count << " impls " << t.impl_type_count << " help \"" << t.help.text << "\"";
    lines.push_back(line.str());
  }
  return lines;
}

bool HaveWineStdole2() { return IsRegularFile(kWineStdole2); }

TEST(StdoleTest, DumpsAsWindowsStdole2) {
  if (!HaveWineStdole2()) {
    GTEST_SKIP() << "Wine's 64-bit stdole2.tlb is not at " << kWineStdole2
                 << " (install wine64, or configure VELBROOK_WINE_CORPUS_WIN64)";
  }
  const std::string ours = Dump(STDOLE64_TLB);
  const std::string windows = Dump(kWineStdole2);
  ASSERT_GT(windows.size(), 10000u) << windows;
  EXPECT_EQ(FirstDifference(windows, ours), "");
}

TEST(StdoleTest, BuiltinHoldsEveryTypeOfWindowsStdole2) {
  if (!HaveWineStdole2()) {
    GTEST_SKIP() << "Wine's 64-bit stdole2.tlb is not at " << kWineStdole2
                 << " (install wine64, or configure VELBROOK_WINE_CORPUS_WIN64)";
  }
  auto windows_source = FileSource::Open(kWineStdole2);
  ASSERT_TRUE(windows_source.ok()) << windows_source.error().message;
  auto windows = ParseLibrarySource(**windows_source, 1);
  ASSERT_TRUE(windows.ok()) << windows.error().message;
  const uint8_t* bytes = stdole::BuiltinStdoleBytes();
  MemorySource builtin_source({bytes, bytes + stdole::BuiltinStdoleSize()}, "built-in stdole");
  auto builtin = ParseLibrarySource(builtin_source, 1);
  ASSERT_TRUE(builtin.ok()) << builtin.error().message;

  EXPECT_EQ(TypeInfos(*builtin), TypeInfos(*windows));
  EXPECT_EQ(builtin->types.size(), 42u);
  EXPECT_EQ(GuidToText(builtin->guid), GuidToText(windows->guid));
  EXPECT_EQ(builtin->major, windows->major);
  EXPECT_EQ(builtin->minor, windows->minor);
}

}  // namespace
}  // namespace velbrook::typeinfo::msft
