// ScanTypeLibraries over an in-memory registry: rows, sorting, skip rules,
// expansion, status and count texts, abort between libraries.
#include "catalogue/library_scan.h"

#include <gtest/gtest.h>

#include "catalogue/vector_library_list.h"
#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::MemoryEnvironment;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;
using testing::RecordingWindow;

constexpr char kGuidA[] = "{aaaaaaaa-0000-0000-0000-00000000000a}";
constexpr char kGuidB[] = "{bbbbbbbb-0000-0000-0000-00000000000b}";
constexpr char kGuidC[] = "{cccccccc-0000-0000-0000-00000000000c}";

class ScanTest : public ::testing::Test {
 protected:
  // Registers version V of library G with a description and a Win32 file.
  void Register(const std::string& guid, const std::string& version, const std::string& description,
                const std::string& file, bool file_exists = true, const std::string& locale = "0") {
    std::string base = "TypeLib\\" + guid + "\\" + version;
    registry_.AddValue(base, "", description);
    registry_.AddValue(base + "\\" + locale + "\\win32", "", file);
    if (file_exists) files_.AddFile(file);
  }
  void Scan(bool include_missing = false) {
    ScanOptions options;
    options.include_files_not_found = include_missing;
    ScanTypeLibraries(Seams(), options);
  }
  CatalogueSeams Seams() {
    return CatalogueSeams{registry_, files_, env_, list_, window_, run_state_};
  }
  std::string Cell(int row, int column) { return list_.CellText(row, column); }

  MemoryRegistry registry_;
  MemoryFileSystem files_;
  MemoryEnvironment env_;
  VectorLibraryList list_;
  RecordingWindow window_;
  CatalogueRunState run_state_;
};

TEST(FileColumnOf, LastComponentUpperCased) {
  EXPECT_EQ(FileColumnOf("C:\\Windows\\System32\\stdole2.tlb"), "STDOLE2.TLB");
  EXPECT_EQ(FileColumnOf("plain.tlb"), "PLAIN.TLB");
}

TEST(FileColumnOf, ResourceNumberKeepsTheModuleName) {
  EXPECT_EQ(FileColumnOf("C:\\Windows\\System32\\msxml3.dll\\2"), "MSXML3.DLL\\2");
  EXPECT_EQ(FileColumnOf("c:\\dir\\noext"), "DIR\\NOEXT");
  EXPECT_EQ(FileColumnOf("noext"), "NOEXT");
}

TEST(FileColumnOf, UpperCasesAsciiLettersOnly) {
  EXPECT_EQ(FileColumnOf("c:\\\xe9t\xe9.tlb"), "\xe9T\xe9.TLB");
}

TEST_F(ScanTest, FillsAllColumns) {
  Register(kGuidA, "1.0", "Library A", "C:\\libs\\a.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnFile), "A.TLB");
  EXPECT_EQ(Cell(0, kColumnDescription), "Library A");
  EXPECT_EQ(Cell(0, kColumnPath), "C:\\libs\\a.tlb");
  EXPECT_EQ(Cell(0, kColumnClsid), "{AAAAAAAA-0000-0000-0000-00000000000A}");
  EXPECT_EQ(Cell(0, kColumnHidden), "0");
}

TEST_F(ScanTest, TwoVersionsGiveTwoRows) {
  Register(kGuidA, "1.0", "A one", "C:\\a1.tlb");
  Register(kGuidA, "2.0", "A two", "C:\\a2.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 2);
  EXPECT_EQ(Cell(0, kColumnDescription), "A one");
  EXPECT_EQ(Cell(1, kColumnDescription), "A two");
  EXPECT_EQ(Cell(0, kColumnClsid), Cell(1, kColumnClsid));
}

TEST_F(ScanTest, OpensEachKeyOnceAndTestsEachFileOnce) {
  Register(kGuidA, "1.0", "A one", "C:\\shared.tlb");
  Register(kGuidA, "2.0", "A two", "C:\\a2.tlb");
  Register(kGuidB, "1.0", "B", "C:\\shared.tlb");
  Register(kGuidC, "1.0", "C", "C:\\gone.tlb", false);
  Register(kGuidC, "2.0", "C again", "C:\\gone.tlb", false);
  Scan();
  EXPECT_EQ(list_.RowCount(), 3);
  // TypeLib, three GUID keys, five version keys and their five win32 keys.
  EXPECT_EQ(registry_.open_count(), 14);
  for (const char* file : {"C:\\shared.tlb", "C:\\a2.tlb", "C:\\gone.tlb"}) {
    EXPECT_EQ(files_.test_count(file), 1) << file;
  }
}

TEST_F(ScanTest, NextScanTestsTheFilesAgain) {
  Register(kGuidA, "1.0", "A", "C:\\later.tlb", false);
  Scan();
  EXPECT_EQ(list_.RowCount(), 0);
  files_.AddFile("C:\\later.tlb");
  Scan();
  EXPECT_EQ(list_.RowCount(), 1);
}

TEST_F(ScanTest, RowsSortedByFileAndEqualFilesKeepTheirOrder) {
  Register(kGuidA, "1.0", "first zeta", "C:\\zeta.tlb");
  Register(kGuidB, "1.0", "alpha", "C:\\alpha.tlb");
  Register(kGuidC, "1.0", "second zeta", "D:\\other\\Zeta.tlb");
  Register(kGuidC, "2.0", "short", "C:\\alph.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 4);
  EXPECT_EQ(Cell(0, kColumnFile), "ALPH.TLB");
  EXPECT_EQ(Cell(1, kColumnFile), "ALPHA.TLB");
  EXPECT_EQ(Cell(2, kColumnDescription), "first zeta");
  EXPECT_EQ(Cell(3, kColumnDescription), "second zeta");
  // Hidden records the order of addition, not the position.
  EXPECT_EQ(Cell(0, kColumnHidden), "3");
  EXPECT_EQ(Cell(1, kColumnHidden), "1");
  EXPECT_EQ(Cell(2, kColumnHidden), "0");
  EXPECT_EQ(Cell(3, kColumnHidden), "2");
}

TEST_F(ScanTest, SortIsByteWise) {
  Register(kGuidA, "1.0", "lower", "C:\\b.tlb");
  Register(kGuidB, "1.0", "high byte", "C:\\\xc4.tlb");
  Register(kGuidC, "1.0", "underscore", "C:\\_.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 3);
  EXPECT_EQ(Cell(0, kColumnFile), "B.TLB");
  EXPECT_EQ(Cell(1, kColumnFile), "_.TLB");
  EXPECT_EQ(Cell(2, kColumnFile), "\xc4.TLB");
}

TEST_F(ScanTest, SystemRootReferenceIsExpanded) {
  env_.Set("SystemRoot", "C:\\WINDOWS");
  registry_.AddValue(std::string("TypeLib\\") + kGuidA + "\\1.0", "", "OLE Automation");
  registry_.AddValue(std::string("TypeLib\\") + kGuidA + "\\1.0\\0\\win32", "",
                     "%SystemRoot%\\System32\\stdole2.tlb");
  files_.AddFile("C:\\WINDOWS\\System32\\stdole2.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnPath), "C:\\WINDOWS\\System32\\stdole2.tlb");
  EXPECT_EQ(Cell(0, kColumnFile), "STDOLE2.TLB");
}

TEST_F(ScanTest, UndefinedReferenceStaysAndTheFileIsLookedUpAsWritten) {
  Register(kGuidA, "1.0", "unexpanded", "%NoSuchVariable%\\x.tlb", false);
  Scan(true);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnPath), "%NoSuchVariable%\\x.tlb");
}

TEST_F(ScanTest, PathsOfTwoCharactersOrLessAreNotListed) {
  Register(kGuidA, "1.0", "two", "C:");
  Register(kGuidA, "2.0", "three", "C:x");
  Register(kGuidB, "1.0", "empty", "");
  Scan(true);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "three");
  // The length rule holds with the option off too, although "C:" exists.
  Scan(false);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "three");
}

TEST_F(ScanTest, DescriptionTooLongIsEmpty) {
  Register(kGuidA, "1.0", std::string(300, 'd'), "C:\\long.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "");
  EXPECT_EQ(Cell(0, kColumnFile), "LONG.TLB");
}

TEST_F(ScanTest, DescriptionPrefersTheFirstValueName) {
  // A version key whose first value is named shows the name.
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "NamedFirst", "data");
  registry_.AddValue(base + "\\0\\win32", "", "C:\\n.tlb");
  files_.AddFile("C:\\n.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "NamedFirst");
}

TEST_F(ScanTest, MissingFileListedOnlyWithTheOption) {
  Register(kGuidA, "1.0", "present", "C:\\present.tlb", true);
  Register(kGuidB, "1.0", "missing", "C:\\missing.tlb", false);
  Scan(false);
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "present");
  Scan(true);
  ASSERT_EQ(list_.RowCount(), 2);
  EXPECT_EQ(Cell(0, kColumnPath), "C:\\missing.tlb");
  EXPECT_EQ(Cell(1, kColumnPath), "C:\\present.tlb");
}

TEST_F(ScanTest, Win32SubkeyInAnyCaseIsFound) {
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "", "mixed case");
  registry_.AddValue(base + "\\0\\wIN32", "", "C:\\m.tlb");
  files_.AddFile("C:\\m.tlb");
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnPath), "C:\\m.tlb");
}

TEST_F(ScanTest, VersionWithoutWin32EntryIsNotListed) {
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "", "win64 only");
  registry_.AddValue(base + "\\0\\win64", "", "C:\\x64.tlb");
  files_.AddFile("C:\\x64.tlb");
  Scan(true);
  EXPECT_EQ(list_.RowCount(), 0);
}

TEST_F(ScanTest, UnopenableLibraryKeyIsSkipped) {
  Register(kGuidA, "1.0", "hidden", "C:\\a.tlb");
  Register(kGuidB, "1.0", "visible", "C:\\b.tlb");
  registry_.FailOpen(std::string("TypeLib\\") + kGuidA);
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "visible");
}

TEST_F(ScanTest, StatusAndCountTexts) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Register(kGuidB, "1.0", "b", "C:\\b.tlb", false);
  Scan();
  ASSERT_EQ(window_.status_history.size(), 3u);
  EXPECT_EQ(window_.status_history[0],
            std::string("Searching HKEY_CLASSES_ROOT \\TypeLib: ") + kGuidA);
  EXPECT_EQ(window_.status_history[1],
            std::string("Searching HKEY_CLASSES_ROOT \\TypeLib: ") + kGuidB);
  EXPECT_EQ(window_.status_text, "");
  EXPECT_EQ(window_.count_text, "1");
  EXPECT_EQ(window_.count_suffix, " TypeLibs found");
  // One pump per library and one that meets the end of the list.
  EXPECT_EQ(window_.pumps, 3);
  EXPECT_TRUE(window_.abort_enabled);
}

TEST_F(ScanTest, NoTypeLibKeyLeavesAnEmptyListAndTheOldTexts) {
  list_.InsertRow(0, "OLD.TLB");
  Scan();
  EXPECT_EQ(list_.RowCount(), 0);
  EXPECT_EQ(window_.status_text, "old status");
  EXPECT_EQ(window_.count_text, "old count");
  EXPECT_EQ(window_.count_suffix, "old suffix");
}

TEST_F(ScanTest, AbortKeepsRowsFoundSoFarAndTheOldCounts) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Register(kGuidB, "1.0", "b", "C:\\b.tlb");
  Register(kGuidC, "1.0", "c", "C:\\c.tlb");
  // Abort pressed while the messages before the second library are pumped.
  window_.on_pump = [this](int pump) {
    if (pump == 2) window_.PressAbort();
  };
  Scan();
  ASSERT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnDescription), "a");
  EXPECT_EQ(window_.status_text, "Aborted");
  EXPECT_EQ(window_.count_text, "old count");
  EXPECT_EQ(window_.count_suffix, "old suffix");
  EXPECT_FALSE(window_.abort_enabled);
}

TEST_F(ScanTest, AbortPressedBeforeTheScanIsCleared) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  window_.PressAbort();
  Scan();
  EXPECT_EQ(list_.RowCount(), 1);
  EXPECT_TRUE(window_.abort_enabled);
  EXPECT_FALSE(window_.abort_requested);
}

TEST_F(ScanTest, RescanStartsFromAnEmptyList) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Scan();
  Scan();
  EXPECT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(Cell(0, kColumnHidden), "0");
}

TEST_F(ScanTest, ScanStartedFromThePumpIsRefused) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Register(kGuidB, "1.0", "b", "C:\\b.tlb");
  int nested_pumps = -1;
  window_.on_pump = [this, &nested_pumps](int pump) {
    if (pump == 2) {
      int before = window_.pumps;
      Scan();
      nested_pumps = window_.pumps - before;
    }
  };
  Scan();
  EXPECT_EQ(nested_pumps, 0);
  EXPECT_EQ(list_.RowCount(), 2);
}

}  // namespace
}  // namespace velbrook::catalogue
