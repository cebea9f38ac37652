// The Wine prefix reader on small hand-made registry files: value forms and
// escapes, Wine's enumeration order, the user overlay, WOW64 redirection
// and links, drive mapping through dosdevices, and the prefix environment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/code_page.h"
#include "catalogue/library_scan.h"
#include "catalogue/registry_functions.h"
#include "catalogue/wine_prefix.h"
#include "catalogue/wine_registry_file.h"
#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

namespace fs = std::filesystem;

constexpr char kHeader[] =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";

std::string Names(const RegistryKey* key) {
  std::string names;
  for (uint32_t i = 0;; ++i) {
    std::string name = EnumSubkeyName(key, i);
    if (name == kRegistryError) return names;
    names += name + ";";
  }
}

const WineValue* FindValue(const WineRegistryFile& file, std::u16string_view key,
                           std::u16string_view name) {
  const WineKeyNode* node = &file.root;
  size_t start = 0;
  while (node != nullptr && start < key.size()) {
    size_t end = key.find(u'\\', start);
    if (end == std::u16string_view::npos) end = key.size();
    node = node->Subkey(key.substr(start, end - start));
    start = end + 1;
  }
  if (node == nullptr) return nullptr;
  auto it = node->values.find(UpperCase(name));
  return it == node->values.end() ? nullptr : &it->second;
}

std::u16string Utf16Of(const WineValue& value) {
  std::u16string text;
  for (size_t i = 0; i + 1 < value.bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.bytes[i]) |
                                         (static_cast<unsigned char>(value.bytes[i + 1]) << 8)));
  }
  return text;
}

TEST(WineRegistryFile, RejectsOtherText) {
  auto regedit = ParseWineRegistryFile("REGEDIT4\n[HKEY_CLASSES_ROOT\\x]\n");
  ASSERT_FALSE(regedit.ok());
  // A registry file is not a type library: its own kind, in its own words.
  EXPECT_EQ(regedit.error().kind, ErrorKind::kMalformedFile);
  EXPECT_FALSE(ParseWineRegistryFile("").ok());
}

TEST(WineRegistryFile, StringEscapes) {
  auto file =
      ParseWineRegistryFile(std::string(kHeader) +
                            "[A\\\\B] 1234\n"
                            "#time=1d\n"
                            "@=\"back\\\\slash \\\"q\\\" caf\\xe9 \\x20ac\\x41 tab\\t oct\\101\"\n"
                            "\"Name \\\"x\\\"\"=\"v\"\n");
  ASSERT_TRUE(file.ok());
  const WineValue* value = FindValue(file.value(), u"A\\B", u"");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, 1u);
  // \x takes up to four hex digits: "\x20ac" is the euro sign, then "\x41" A.
  EXPECT_EQ(Utf16Of(*value),
            std::u16string(u"back\\slash \"q\" caf\u00e9 \u20acA tab\t octA") + u'\0');
  EXPECT_NE(FindValue(file.value(), u"a\\b", u"NAME \"X\""), nullptr);
}

TEST(WineRegistryFile, ValueForms) {
  auto file = ParseWineRegistryFile(std::string(kHeader) +
                                    "[K]\n"
                                    "\"e\"=str(2):\"%SystemRoot%\\\\x\"\n"
                                    "\"m\"=str(7):\"a\\0b\\0\"\n"
                                    "\"d\"=dword:0000012a\n"
                                    "\"h\"=hex:01,02,\\\n  03,ff\n"
                                    "\"h2\"=hex(2):41,00,00,00\n"
                                    "\"bad\"=junk\n");
  ASSERT_TRUE(file.ok());
  const WineValue* expand = FindValue(file.value(), u"K", u"e");
  ASSERT_NE(expand, nullptr);
  EXPECT_EQ(expand->type, kRegExpandSz);
  EXPECT_EQ(Utf16Of(*expand), std::u16string(u"%SystemRoot%\\x") + u'\0');
  const WineValue* multi = FindValue(file.value(), u"K", u"m");
  ASSERT_NE(multi, nullptr);
  EXPECT_EQ(multi->type, kRegMultiSz);
  EXPECT_EQ(Utf16Of(*multi), std::u16string(u"a\0b\0\0", 5));
  const WineValue* dword = FindValue(file.value(), u"K", u"d");
  ASSERT_NE(dword, nullptr);
  EXPECT_EQ(dword->type, kRegDword);
  EXPECT_EQ(dword->bytes, std::string("\x2a\x01\0\0", 4));
  const WineValue* hex = FindValue(file.value(), u"K", u"h");
  ASSERT_NE(hex, nullptr);
  EXPECT_EQ(hex->type, kRegBinary);
  EXPECT_EQ(hex->bytes, std::string("\x01\x02\x03\xff", 4));
  const WineValue* hex2 = FindValue(file.value(), u"K", u"h2");
  ASSERT_NE(hex2, nullptr);
  EXPECT_EQ(hex2->type, kRegExpandSz);
  EXPECT_EQ(FindValue(file.value(), u"K", u"bad"), nullptr);
}

TEST(WineRegistryFile, KeyNameEscapesAndArch) {
  auto file = ParseWineRegistryFile(std::string(kHeader) + "#arch=win64\n\n" +
                                    "[A\\\\br\\]acket\\\\caf\\xe9]\n@=\"1\"\n");
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(file.value().arch, "win64");
  EXPECT_NE(FindValue(file.value(), u"A\\br]acket\\CAF\u00c9", u""), nullptr);
}

// A prefix directory with registry files and a C: drive.
class PrefixDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/velbrook-wine-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ + "/drive_c/windows/system32");
    fs::create_directories(dir_ + "/drive_c/windows/syswow64");
    fs::create_directories(dir_ + "/dosdevices");
    fs::create_directory_symlink("../drive_c", dir_ + "/dosdevices/c:");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
  }
  void Touch(const std::string& relative, const std::string& bytes = "x") {
    fs::create_directories(fs::path(dir_ + "/" + relative).parent_path());
    std::ofstream(dir_ + "/" + relative, std::ios::binary) << bytes;
  }
  std::unique_ptr<WinePrefix> Open(ProgramBitness bitness = ProgramBitness::k32Bit) {
    auto prefix = WinePrefix::Open(dir_, bitness);
    EXPECT_TRUE(prefix.ok()) << (prefix.ok() ? "" : prefix.error().message);
    return prefix.ok() ? std::move(prefix.value()) : nullptr;
  }

  std::string dir_;
};

TEST_F(PrefixDir, SubkeysEnumerateSortedIgnoringCase) {
  Write("system.reg", std::string(kHeader) +
                          "[Software\\\\Classes\\\\TypeLib\\\\b]\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\A_B]\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\AB]\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\a]\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\B\\\\sub]\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\Aa]\n");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  auto key = OpenClassesKey(prefix->registry(), "typelib");
  ASSERT_NE(key, nullptr);
  // Upper-cased code units: "_" (0x5F) sorts after the letters.
  EXPECT_EQ(Names(key.get()), "a;Aa;AB;A_B;b;");
}

TEST_F(PrefixDir, ValuesEnumerateDefaultFirst) {
  Write("system.reg", std::string(kHeader) +
                          "[Software\\\\Classes\\\\K]\n"
                          "\"zeta\"=\"z\"\n\"Alpha\"=\"a\"\n@=\"default\"\n");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  auto key = OpenClassesKey(prefix->registry(), "K");
  EXPECT_EQ(EnumValueText(key.get(), 0, true), "default");
  EXPECT_EQ(EnumValueText(key.get(), 1, true), "Alpha");
  EXPECT_EQ(EnumValueText(key.get(), 2, false), "z");
  EXPECT_EQ(EnumValueText(key.get(), 3, false), "");
}

TEST_F(PrefixDir, NonAsciiComesOutInCodePage1252) {
  Write("system.reg",
        std::string(kHeader) + "[Software\\\\Classes\\\\K\\\\caf\\xe9]\n@=\"\\x20ac \\x4e2d\"\n");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  auto key = OpenClassesKey(prefix->registry(), "K");
  EXPECT_EQ(EnumSubkeyName(key.get(), 0), "caf\xe9");
  EXPECT_EQ(ReadKeyValue(prefix->registry(), "K\\CAF\xc9"), "\x80 ?");
}

TEST_F(PrefixDir, UserClassesOverlayTheMachine) {
  Write("system.reg", std::string(kHeader) +
                          "[Software\\\\Classes\\\\TypeLib\\\\{M}\\\\1.0]\n@=\"machine\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{S}\\\\1.0]\n@=\"machine shared\"\n"
                          "\"extra\"=\"m\"\n");
  Write("user.reg", std::string("WINE REGISTRY Version 2\n\n") +
                        "[Software\\\\Classes\\\\TypeLib\\\\{U}\\\\1.0]\n@=\"user\"\n"
                        "[Software\\\\Classes\\\\TypeLib\\\\{s}\\\\1.0]\n@=\"user shared\"\n"
                        "[Environment]\n\"VelbrookUserVar\"=\"from user\"\n");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  auto key = OpenClassesKey(prefix->registry(), "TypeLib");
  EXPECT_EQ(Names(key.get()), "{M};{s};{U};");
  EXPECT_EQ(ReadKeyValue(prefix->registry(), "TypeLib\\{S}\\1.0"), "user shared");
  auto shared = OpenClassesKey(prefix->registry(), "TypeLib\\{S}\\1.0");
  EXPECT_EQ(EnumValueText(shared.get(), 1, true), "extra");
  EXPECT_EQ(ReadKeyValue(prefix->registry(), "TypeLib\\{M}\\1.0"), "machine");
  EXPECT_EQ(prefix->environment().Variable("velbrookuservar"), "from user");
  // Keys opened below an open key keep both layers.
  EXPECT_EQ(ReadSubkeyValue(key.get(), "{S}\\1.0"), "user shared");
  auto shared_below = OpenSubkey(key.get(), "{s}\\1.0");
  EXPECT_EQ(EnumValueText(shared_below.get(), 1, true), "extra");
  EXPECT_EQ(ReadSubkeyValue(key.get(), "{M}\\1.0"), "machine");
  EXPECT_EQ(ReadSubkeyValue(key.get(), "{U}\\1.0"), "user");
}

// What Wine's own 64-bit prefix holds: a separate 32-bit CLSID and a
// Wow6432Node\TypeLib that links back to the shared TypeLib.
std::string Win64Classes() {
  return std::string(kHeader) + "#arch=win64\n\n" +
         "[Software\\\\Classes\\\\CLSID\\\\{C}\\\\ProgID]\n@=\"Lib64.Thing.1\"\n"
         "[Software\\\\Classes\\\\Only64]\n@=\"shared fallback\"\n"
         "[Software\\\\Classes\\\\TypeLib\\\\{T}\\\\1.0\\\\0\\\\win32]\n"
         "@=\"C:\\\\windows\\\\system32\\\\t.tlb\"\n"
         "[Software\\\\Classes\\\\Wow6432Node\\\\CLSID\\\\{C}\\\\ProgID]\n@=\"Lib32.Thing.1\"\n"
         "[Software\\\\Classes\\\\Wow6432Node\\\\TypeLib]\n#link\n"
         "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,"
         "00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\\\n"
         "  74,00,77,00,61,00,72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,"
         "\\\n  00,5c,00,54,00,79,00,70,00,65,00,4c,00,69,00,62,00\n";
}

TEST_F(PrefixDir, ThirtyTwoBitViewReadsWow6432NodeCopies) {
  Write("system.reg", Win64Classes());
  auto prefix32 = Open(ProgramBitness::k32Bit);
  auto prefix64 = Open(ProgramBitness::k64Bit);
  ASSERT_NE(prefix32, nullptr);
  ASSERT_NE(prefix64, nullptr);
  EXPECT_TRUE(prefix32->is_64bit());
  EXPECT_EQ(ReadKeyValue(prefix32->registry(), "CLSID\\{C}\\ProgID"), "Lib32.Thing.1");
  EXPECT_EQ(ReadKeyValue(prefix64->registry(), "CLSID\\{C}\\ProgID"), "Lib64.Thing.1");
  // TypeLib is shared through the link; a name missing below Wow6432Node
  // falls back to the 64-bit key.
  EXPECT_EQ(ReadKeyValue(prefix32->registry(), "TypeLib\\{T}\\1.0\\0\\win32"),
            "C:\\windows\\system32\\t.tlb");
  EXPECT_EQ(ReadKeyValue(prefix32->registry(), "Only64"), "shared fallback");
  // Keys opened below an open key are redirected the same way.
  auto classes = OpenClassesKey(prefix32->registry(), "");
  EXPECT_EQ(ReadSubkeyValue(classes.get(), "CLSID\\{C}\\ProgID"), "Lib32.Thing.1");
  EXPECT_EQ(ReadSubkeyValue(classes.get(), "Only64"), "shared fallback");
  auto clsid = OpenClassesKey(prefix32->registry(), "CLSID");
  EXPECT_EQ(ReadSubkeyValue(clsid.get(), "{C}\\ProgID"), "Lib32.Thing.1");
  auto type_libs = OpenClassesKey(prefix32->registry(), "TypeLib");
  EXPECT_EQ(ReadSubkeyValue(type_libs.get(), "{T}\\1.0\\0\\win32"), "C:\\windows\\system32\\t.tlb");
  // The link's own bookkeeping value is not shown.
  auto link = OpenClassesKey(prefix32->registry(), "Wow6432Node\\TypeLib");
  EXPECT_EQ(EnumValueText(link.get(), 0, true), "");
}

TEST_F(PrefixDir, ThirtyTwoBitPrefixHasNoRedirection) {
  std::string text = Win64Classes();
  text.replace(text.find("#arch=win64"), 11, "#arch=win32");
  Write("system.reg", text);
  auto prefix = Open(ProgramBitness::k32Bit);
  ASSERT_NE(prefix, nullptr);
  EXPECT_FALSE(prefix->is_64bit());
  EXPECT_EQ(ReadKeyValue(prefix->registry(), "CLSID\\{C}\\ProgID"), "Lib64.Thing.1");
}

TEST_F(PrefixDir, DrivePathsMapCaseInsensitively) {
  Write("system.reg", std::string(kHeader) + "#arch=win32\n");
  Touch("drive_c/Program Files/Lib Dir/MyLib.TLB");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  const WinePathMapper& paths = prefix->paths();
  fs::path expected = fs::path(dir_) / "dosdevices/c:/Program Files/Lib Dir/MyLib.TLB";
  EXPECT_EQ(fs::path(paths.UnixPath("c:\\PROGRAM FILES\\lib dir\\mylib.tlb")), expected);
  EXPECT_EQ(fs::path(paths.UnixPath("C:/Program Files/Lib Dir/./x/../MyLib.TLB")), expected);
  EXPECT_EQ(paths.UnixPath("relative\\x.tlb"), "");
  EXPECT_EQ(paths.UnixPath("\\\\server\\share\\x.tlb"), "");
  EXPECT_EQ(paths.UnixPath("Q:\\x.tlb"), "");
  const FileSystem& files = prefix->file_system();
  EXPECT_TRUE(files.ExistsAsNonDirectory("C:\\program files\\LIB DIR\\mylib.tlb"));
  EXPECT_FALSE(files.ExistsAsNonDirectory("C:\\program files\\LIB DIR\\other.tlb"));
  EXPECT_FALSE(files.ExistsAsNonDirectory("C:\\program files\\LIB DIR"));
  EXPECT_FALSE(files.ExistsAsNonDirectory("C:\\program files\\LIB DIR\\mylib.tlb\\1"));
}

TEST_F(PrefixDir, OtherDrivesFollowTheirSymlinks) {
  Write("system.reg", std::string(kHeader));
  fs::create_directories(dir_ + "/elsewhere/Sub");
  std::ofstream(dir_ + "/elsewhere/Sub/D.tlb") << "x";
  fs::create_directory_symlink(dir_ + "/elsewhere", dir_ + "/dosdevices/d:");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  EXPECT_TRUE(prefix->file_system().ExistsAsNonDirectory("D:\\sub\\d.TLB"));
  EXPECT_TRUE(prefix->file_system().ExistsAsNonDirectory("d:\\Sub\\D.tlb"));
}

TEST_F(PrefixDir, System32OfAThirtyTwoBitProgramIsSyswow64) {
  Write("system.reg", std::string(kHeader) + "#arch=win64\n");
  Touch("drive_c/windows/system32/only64.tlb");
  Touch("drive_c/windows/syswow64/only32.tlb");
  Touch("drive_c/windows/system32/drivers/etc/hosts");
  auto prefix32 = Open(ProgramBitness::k32Bit);
  auto prefix64 = Open(ProgramBitness::k64Bit);
  ASSERT_NE(prefix32, nullptr);
  const FileSystem& files32 = prefix32->file_system();
  const FileSystem& files64 = prefix64->file_system();
  EXPECT_TRUE(files32.ExistsAsNonDirectory("C:\\Windows\\System32\\only32.tlb"));
  EXPECT_FALSE(files32.ExistsAsNonDirectory("C:\\Windows\\System32\\only64.tlb"));
  EXPECT_TRUE(files64.ExistsAsNonDirectory("C:\\Windows\\System32\\only64.tlb"));
  EXPECT_FALSE(files64.ExistsAsNonDirectory("C:\\Windows\\System32\\only32.tlb"));
  EXPECT_TRUE(files32.ExistsAsNonDirectory("C:\\Windows\\System32\\drivers\\etc\\hosts"));
  // As on Windows, a 32-bit program reaches the 64-bit system32 as Sysnative.
  const std::string native = prefix32->paths().NativePath("C:\\Windows\\System32\\only64.tlb");
  EXPECT_TRUE(files32.ExistsAsNonDirectory(native)) << native;
  EXPECT_EQ(prefix64->paths().NativePath("C:\\Windows\\System32\\x.tlb"),
            "C:\\Windows\\System32\\x.tlb");
}

TEST_F(PrefixDir, EnvironmentFromThePrefix) {
  Write("system.reg",
        std::string(kHeader) + "#arch=win64\n\n" +
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion]\n"
            "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n"
            "\"ProgramFilesDir (x86)\"=\"C:\\\\Program Files (x86)\"\n"
            "[System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment]\n"
            "\"VelbrookTools\"=str(2):\"%SystemRoot%\\\\tools\"\n"
            "\"winsysdir\"=\"C:\\\\windows\\\\system32\"\n");
  auto prefix32 = Open(ProgramBitness::k32Bit);
  auto prefix64 = Open(ProgramBitness::k64Bit);
  ASSERT_NE(prefix32, nullptr);
  const Environment& env32 = prefix32->environment();
  EXPECT_EQ(env32.Variable("SystemRoot"), "C:\\windows");
  EXPECT_EQ(env32.Variable("SYSTEMROOT"), "C:\\windows");
  EXPECT_EQ(env32.Variable("windir"), "C:\\windows");
  EXPECT_EQ(env32.Variable("ProgramFiles"), "C:\\Program Files (x86)");
  EXPECT_EQ(prefix64->environment().Variable("ProgramFiles"), "C:\\Program Files");
  EXPECT_EQ(env32.Variable("VelbrookTools"), "C:\\windows\\tools");
  EXPECT_EQ(env32.Variable("NoSuchVariable"), "");
}

TEST_F(PrefixDir, ScanOverAPrefix) {
  Write("system.reg", std::string(kHeader) + "#arch=win32\n\n" +
                          "[Software\\\\Classes\\\\TypeLib\\\\{bbbb}\\\\1.0]\n@=\"B lib\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{bbbb}\\\\1.0\\\\0\\\\Win32]\n"
                          "@=str(2):\"%SystemRoot%\\\\System32\\\\b.tlb\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{aaaa}\\\\2.0]\n@=\"A lib\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{aaaa}\\\\2.0\\\\409\\\\win32]\n"
                          "@=\"C:\\\\missing\\\\a.tlb\"\n");
  Touch("drive_c/windows/system32/B.TLB");
  auto prefix = Open();
  ASSERT_NE(prefix, nullptr);
  testing::RecordingScanSink sink;
  ScanSeams seams{prefix->registry(), prefix->file_system(), prefix->environment()};
  ScanTypeLibraries(seams, ScanOptions{}, sink);
  ASSERT_EQ(sink.rows.size(), 1u);
  EXPECT_EQ(sink.rows.at(0).path, "C:\\windows\\System32\\b.tlb");
  EXPECT_EQ(sink.rows.at(0).clsid, "{BBBB}");
  LibraryRows rows;
  ScanIntoRows(seams, ScanOptions{true}, &rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows.at(0).file, "A.TLB");
  // {aaaa} sorts before {bbbb}, so it was added first.
  EXPECT_EQ(rows.HiddenNumber(0), 0u);
  EXPECT_EQ(sink.status_history[0], "Searching HKEY_CLASSES_ROOT \\TypeLib: {aaaa}");
}

// A 64-bit prefix without 32-bit Wine: a library registered by a 64-bit
// program with a "win32" path into system32 has no file there for a 32-bit
// program (syswow64 has no copy), so that view lists it as missing while the
// 64-bit view finds it. The shared TypeLib (a link from Wow6432Node) and the
// user's registrations are seen by both.
TEST_F(PrefixDir, BitnessViewsOfASixtyFourBitPrefix) {
  Write("system.reg", Win64Classes() +
                          "[Software\\\\Classes\\\\TypeLib\\\\{W}\\\\1.0\\\\0\\\\win32]\n"
                          "@=\"C:\\\\windows\\\\system32\\\\w.dll\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{W}\\\\1.0\\\\0\\\\win64]\n"
                          "@=\"C:\\\\windows\\\\system32\\\\w.dll\"\n"
                          "[Software\\\\Classes\\\\TypeLib\\\\{X}\\\\1.0\\\\0\\\\win32]\n"
                          "@=\"C:\\\\x.tlb\"\n");
  Write("user.reg",
        "WINE REGISTRY Version 2\n\n"
        "[Software\\\\Classes\\\\TypeLib\\\\{U}\\\\1.0\\\\0\\\\win32]\n"
        "@=\"C:\\\\u.tlb\"\n");
  Touch("drive_c/windows/system32/t.tlb", "MSFT");
  Touch("drive_c/windows/system32/w.dll", "MZ");
  Touch("drive_c/windows/syswow64/w.dll", "MZ");
  Touch("drive_c/x.tlb", "junk");
  Touch("drive_c/u.tlb", "SLTG");
  struct View {
    ProgramBitness program;
    bool both;
    std::vector<std::string> rows;  // File, bits and problem
    size_t left_out;
  };
  const View views[] = {
      {ProgramBitness::k32Bit, false, {"U.TLB 32 ", "W.DLL 32 ", "X.TLB 32 not a type library"}, 1},
      {ProgramBitness::k64Bit,
       false,
       {"T.TLB 32 ", "U.TLB 32 ", "W.DLL 32 ", "X.TLB 32 not a type library"},
       0},
      {ProgramBitness::k32Bit,
       true,
       {"U.TLB 32 ", "W.DLL 32 ", "W.DLL 64 ", "X.TLB 32 not a type library"},
       1},
  };
  for (const View& view : views) {
    auto prefix = Open(view.program);
    ASSERT_NE(prefix, nullptr);
    testing::RecordingScanSink sink;
    ScanOptions options;
    options.both_bitnesses = view.both;
    ScanTypeLibraries({prefix->registry(), prefix->file_system(), prefix->environment(),
                       &prefix->file_system_64()},
                      options, sink);
    std::vector<std::string> rows;
    for (size_t row = 0; row < sink.rows.size(); ++row) {
      const LibraryEntry& entry = sink.rows.at(row);
      rows.push_back(entry.file + " " + std::to_string(entry.bits) + " " +
                     RowProblemText(entry.problem));
    }
    EXPECT_EQ(rows, view.rows) << "both " << view.both;
    EXPECT_EQ(sink.left_out.size(), view.left_out) << "both " << view.both;
  }
}

TEST_F(PrefixDir, MissingRegistryIsAnError) {
  EXPECT_FALSE(WinePrefix::Open(dir_, ProgramBitness::k32Bit).ok());
  EXPECT_FALSE(WinePrefix::Open(dir_ + "/nonexistent", ProgramBitness::k32Bit).ok());
  Write("system.reg", "not a registry\n");
  EXPECT_FALSE(WinePrefix::Open(dir_, ProgramBitness::k32Bit).ok());
}

}  // namespace
}  // namespace velbrook::catalogue
