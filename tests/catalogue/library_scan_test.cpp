// ScanTypeLibraries over an in-memory registry: entries, the File order of
// the rows they make, skip rules, expansion, status texts, abort between
// libraries.
#include "catalogue/library_scan.h"

#include <gtest/gtest.h>

#include "catalogue/library_rows.h"
#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::MemoryEnvironment;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;
using testing::RecordingScanSink;

enum Column { kFile, kDescription, kPath, kClsid, kHidden };

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
  // A scan from an empty list, as each scan of the program starts.
  ScanOutcome Scan(bool include_missing = false) {
    ScanOptions options;
    options.include_files_not_found = include_missing;
    sink_.rows.Clear();
    return ScanTypeLibraries({registry_, files_, env_}, options, sink_);
  }
  std::string Cell(size_t row, Column column) {
    const LibraryEntry& entry = sink_.rows.at(row);
    switch (column) {
      case kFile:
        return entry.file;
      case kDescription:
        return entry.description;
      case kPath:
        return entry.path;
      case kClsid:
        return entry.clsid;
      case kHidden:
        break;
    }
    return std::to_string(sink_.rows.HiddenNumber(row));
  }
  size_t RowCount() const { return sink_.rows.size(); }

  MemoryRegistry registry_;
  MemoryFileSystem files_;
  MemoryEnvironment env_;
  RecordingScanSink sink_;
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
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kFile), "A.TLB");
  EXPECT_EQ(Cell(0, kDescription), "Library A");
  EXPECT_EQ(Cell(0, kPath), "C:\\libs\\a.tlb");
  EXPECT_EQ(Cell(0, kClsid), "{AAAAAAAA-0000-0000-0000-00000000000A}");
  EXPECT_EQ(Cell(0, kHidden), "0");
}

TEST_F(ScanTest, TwoVersionsGiveTwoRows) {
  Register(kGuidA, "1.0", "A one", "C:\\a1.tlb");
  Register(kGuidA, "2.0", "A two", "C:\\a2.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 2u);
  EXPECT_EQ(Cell(0, kDescription), "A one");
  EXPECT_EQ(Cell(1, kDescription), "A two");
  EXPECT_EQ(Cell(0, kClsid), Cell(1, kClsid));
}

TEST_F(ScanTest, OpensEachKeyOnceAndTestsEachFileOnce) {
  Register(kGuidA, "1.0", "A one", "C:\\shared.tlb");
  Register(kGuidA, "2.0", "A two", "C:\\a2.tlb");
  Register(kGuidB, "1.0", "B", "C:\\shared.tlb");
  Register(kGuidC, "1.0", "C", "C:\\gone.tlb", false);
  Register(kGuidC, "2.0", "C again", "C:\\gone.tlb", false);
  Scan();
  EXPECT_EQ(RowCount(), 3u);
  // TypeLib, three GUID keys, five version keys and their five win32 keys.
  EXPECT_EQ(registry_.open_count(), 14);
  for (const char* file : {"C:\\shared.tlb", "C:\\a2.tlb", "C:\\gone.tlb"}) {
    EXPECT_EQ(files_.test_count(file), 1) << file;
  }
  // The first bytes of each file found, once; of a missing one, never.
  EXPECT_EQ(files_.head_count("C:\\shared.tlb"), 1);
  EXPECT_EQ(files_.head_count("C:\\gone.tlb"), 0);
}

TEST_F(ScanTest, NextScanTestsTheFilesAgain) {
  Register(kGuidA, "1.0", "A", "C:\\later.tlb", false);
  Scan();
  EXPECT_EQ(RowCount(), 0u);
  files_.AddFile("C:\\later.tlb");
  Scan();
  EXPECT_EQ(RowCount(), 1u);
}

TEST_F(ScanTest, RowsSortedByFileAndEqualFilesKeepTheirOrder) {
  Register(kGuidA, "1.0", "first zeta", "C:\\zeta.tlb");
  Register(kGuidB, "1.0", "alpha", "C:\\alpha.tlb");
  Register(kGuidC, "1.0", "second zeta", "D:\\other\\Zeta.tlb");
  Register(kGuidC, "2.0", "short", "C:\\alph.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 4u);
  EXPECT_EQ(Cell(0, kFile), "ALPH.TLB");
  EXPECT_EQ(Cell(1, kFile), "ALPHA.TLB");
  EXPECT_EQ(Cell(2, kDescription), "first zeta");
  EXPECT_EQ(Cell(3, kDescription), "second zeta");
  // Hidden records the order of addition, not the position.
  EXPECT_EQ(Cell(0, kHidden), "3");
  EXPECT_EQ(Cell(1, kHidden), "1");
  EXPECT_EQ(Cell(2, kHidden), "0");
  EXPECT_EQ(Cell(3, kHidden), "2");
}

TEST_F(ScanTest, SortIsByteWise) {
  Register(kGuidA, "1.0", "lower", "C:\\b.tlb");
  Register(kGuidB, "1.0", "high byte", "C:\\\xc4.tlb");
  Register(kGuidC, "1.0", "underscore", "C:\\_.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 3u);
  EXPECT_EQ(Cell(0, kFile), "B.TLB");
  EXPECT_EQ(Cell(1, kFile), "_.TLB");
  EXPECT_EQ(Cell(2, kFile), "\xc4.TLB");
}

TEST_F(ScanTest, SystemRootReferenceIsExpanded) {
  env_.Set("SystemRoot", "C:\\WINDOWS");
  registry_.AddValue(std::string("TypeLib\\") + kGuidA + "\\1.0", "", "OLE Automation");
  registry_.AddValue(std::string("TypeLib\\") + kGuidA + "\\1.0\\0\\win32", "",
                     "%SystemRoot%\\System32\\stdole2.tlb");
  files_.AddFile("C:\\WINDOWS\\System32\\stdole2.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kPath), "C:\\WINDOWS\\System32\\stdole2.tlb");
  EXPECT_EQ(Cell(0, kFile), "STDOLE2.TLB");
}

TEST_F(ScanTest, UndefinedReferenceStaysAndTheFileIsLookedUpAsWritten) {
  Register(kGuidA, "1.0", "unexpanded", "%NoSuchVariable%\\x.tlb", false);
  Scan(true);
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kPath), "%NoSuchVariable%\\x.tlb");
}

TEST_F(ScanTest, PathsOfTwoCharactersOrLessAreNotListed) {
  Register(kGuidA, "1.0", "two", "C:");
  Register(kGuidA, "2.0", "three", "C:x");
  Register(kGuidB, "1.0", "empty", "");
  Scan(true);
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "three");
  // The length rule holds with the option off too, although "C:" exists.
  Scan(false);
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "three");
}

TEST_F(ScanTest, DescriptionTooLongIsEmpty) {
  Register(kGuidA, "1.0", std::string(300, 'd'), "C:\\long.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "");
  EXPECT_EQ(Cell(0, kFile), "LONG.TLB");
}

TEST_F(ScanTest, DescriptionPrefersTheFirstValueName) {
  // A version key whose first value is named shows the name.
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "NamedFirst", "data");
  registry_.AddValue(base + "\\0\\win32", "", "C:\\n.tlb");
  files_.AddFile("C:\\n.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "NamedFirst");
}

TEST_F(ScanTest, MissingFileListedOnlyWithTheOption) {
  Register(kGuidA, "1.0", "present", "C:\\present.tlb", true);
  Register(kGuidB, "1.0", "missing", "C:\\missing.tlb", false);
  Scan(false);
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "present");
  Scan(true);
  ASSERT_EQ(RowCount(), 2u);
  EXPECT_EQ(Cell(0, kPath), "C:\\missing.tlb");
  EXPECT_EQ(Cell(1, kPath), "C:\\present.tlb");
}

struct FileCase {
  const char* what;
  const char* bytes;  // null: the file cannot be read
  bool exists;
  RowProblem expected;
};

class ProblemOfFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ProblemOfFileTest, TellsFromExistenceAndTheFirstBytes) {
  const FileCase& test = GetParam();
  MemoryFileSystem files;
  if (test.exists && test.bytes == nullptr) files.AddUnreadableFile("C:\\f");
  if (test.exists && test.bytes != nullptr) files.AddFile("C:\\f", test.bytes);
  EXPECT_EQ(ProblemOfFile(files, "C:\\f"), test.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProblemOfFileTest,
    ::testing::Values(FileCase{"msft", "MSFT\x02\x00", true, RowProblem::kNone},
                      FileCase{"sltg", "SLTG\x01", true, RowProblem::kNone},
                      FileCase{"module", "MZ\x90\x00", true, RowProblem::kNone},
                      FileCase{"empty", "", true, RowProblem::kNotTypeLibrary},
                      FileCase{"short", "MSF", true, RowProblem::kNotTypeLibrary},
                      FileCase{"zip", "PK\x03\x04", true, RowProblem::kNotTypeLibrary},
                      FileCase{"unreadable", nullptr, true, RowProblem::kUnreadable},
                      FileCase{"missing", "MSFT", false, RowProblem::kFileNotFound}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.what); });

TEST_F(ScanTest, BrokenRowsCarryTheirReasonAndMissingOnesAreCountedWhenLeftOut) {
  Register(kGuidA, "1.0", "fine", "C:\\fine.tlb");
  Register(kGuidB, "1.0", "corrupt", "C:\\corrupt.tlb", false);
  files_.AddFile("C:\\corrupt.tlb", "junk");
  Register(kGuidC, "1.0", "missing", "C:\\missing.tlb", false);
  Scan(false);
  ASSERT_EQ(RowCount(), 2u);
  EXPECT_EQ(sink_.rows.at(0).problem, RowProblem::kNotTypeLibrary);
  EXPECT_EQ(sink_.rows.at(1).problem, RowProblem::kNone);
  ASSERT_EQ(sink_.left_out.size(), 1u);
  EXPECT_EQ(sink_.left_out[0].path, "C:\\missing.tlb");
  EXPECT_EQ(sink_.left_out[0].problem, RowProblem::kFileNotFound);
  sink_.left_out.clear();
  Scan(true);
  ASSERT_EQ(RowCount(), 3u);
  EXPECT_EQ(Cell(2, kPath), "C:\\missing.tlb");
  EXPECT_EQ(sink_.rows.at(2).problem, RowProblem::kFileNotFound);
  EXPECT_TRUE(sink_.left_out.empty());
}

// Each registration, its win32 and win64 files, and what a scan of both
// gives: the rows (path and bits, in File order) and the 64-bit count.
TEST_F(ScanTest, BothBitnessesListEachPlatformFileTestedInItsOwnFileSystem) {
  const std::string base_a = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base_a, "", "both");
  registry_.AddValue(base_a + "\\0\\win32", "", "C:\\w\\system32\\a.dll");
  registry_.AddValue(base_a + "\\0\\win64", "", "C:\\w\\system32\\a.dll");
  const std::string base_b = std::string("TypeLib\\") + kGuidB + "\\1.0";
  registry_.AddValue(base_b, "", "64 only");
  registry_.AddValue(base_b + "\\409\\win64", "", "C:\\b64.tlb");
  Register(kGuidC, "1.0", "32 only", "C:\\c32.tlb");
  // The 32-bit view of system32 lacks a.dll (no 32-bit copy installed).
  MemoryFileSystem files_64;
  files_64.AddFile("C:\\w\\system32\\a.dll", "MZ").AddFile("C:\\b64.tlb");
  ScanOptions options;
  options.both_bitnesses = true;
  sink_.rows.Clear();
  ASSERT_EQ(ScanTypeLibraries({registry_, files_, env_, &files_64}, options, sink_),
            ScanOutcome::kCompleted);
  std::vector<std::string> rows;
  for (size_t row = 0; row < RowCount(); ++row) {
    rows.push_back(Cell(row, kPath) + " " + std::to_string(sink_.rows.at(row).bits));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"C:\\w\\system32\\a.dll 64", "C:\\b64.tlb 64",
                                            "C:\\c32.tlb 32"}));
  ASSERT_EQ(sink_.left_out.size(), 1u);
  EXPECT_EQ(sink_.left_out[0].bits, 32);
  // A 32-bit scan lists C only; the count tells of the two 64-bit ones.
  Scan();
  EXPECT_EQ(RowCount(), 1u);
  EXPECT_EQ(CountWin64Registrations({registry_, files_, env_}), 2u);
}

TEST_F(ScanTest, Win32SubkeyInAnyCaseIsFound) {
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "", "mixed case");
  registry_.AddValue(base + "\\0\\wIN32", "", "C:\\m.tlb");
  files_.AddFile("C:\\m.tlb");
  Scan();
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kPath), "C:\\m.tlb");
}

TEST_F(ScanTest, VersionWithoutWin32EntryIsNotListed) {
  std::string base = std::string("TypeLib\\") + kGuidA + "\\1.0";
  registry_.AddValue(base, "", "win64 only");
  registry_.AddValue(base + "\\0\\win64", "", "C:\\x64.tlb");
  files_.AddFile("C:\\x64.tlb");
  Scan(true);
  EXPECT_EQ(RowCount(), 0u);
}

TEST_F(ScanTest, UnopenableLibraryKeyIsSkipped) {
  Register(kGuidA, "1.0", "hidden", "C:\\a.tlb");
  Register(kGuidB, "1.0", "visible", "C:\\b.tlb");
  registry_.FailOpen(std::string("TypeLib\\") + kGuidA);
  Scan();
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "visible");
}

TEST_F(ScanTest, StatusTexts) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Register(kGuidB, "1.0", "b", "C:\\b.tlb", false);
  EXPECT_EQ(Scan(), ScanOutcome::kCompleted);
  ASSERT_EQ(sink_.status_history.size(), 3u);
  EXPECT_EQ(sink_.status_history[0],
            std::string("Searching HKEY_CLASSES_ROOT \\TypeLib: ") + kGuidA);
  EXPECT_EQ(sink_.status_history[1],
            std::string("Searching HKEY_CLASSES_ROOT \\TypeLib: ") + kGuidB);
  EXPECT_EQ(sink_.status_history[2], "");
  EXPECT_EQ(RowCount(), 1u);
  // One poll per library and one that meets the end of the list.
  EXPECT_EQ(sink_.polls, 3);
}

TEST_F(ScanTest, NoTypeLibKeyAddsNothingAndShowsNothing) {
  EXPECT_EQ(Scan(), ScanOutcome::kNoTypeLibKey);
  EXPECT_EQ(RowCount(), 0u);
  EXPECT_TRUE(sink_.status_history.empty());
  EXPECT_EQ(sink_.polls, 0);
}

TEST_F(ScanTest, AbortKeepsEntriesFoundSoFar) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  Register(kGuidB, "1.0", "b", "C:\\b.tlb");
  Register(kGuidC, "1.0", "c", "C:\\c.tlb");
  // Abort pressed while the messages before the second library are processed.
  sink_.on_poll = [this](int poll) {
    if (poll == 2) sink_.abort_requested = true;
  };
  EXPECT_EQ(Scan(), ScanOutcome::kAborted);
  ASSERT_EQ(RowCount(), 1u);
  EXPECT_EQ(Cell(0, kDescription), "a");
  // The status text of the last library visited stays; no empty text.
  EXPECT_EQ(sink_.status_history.back(),
            std::string("Searching HKEY_CLASSES_ROOT \\TypeLib: ") + kGuidA);
}

TEST_F(ScanTest, ScanIntoRowsStartsFromEmptyRows) {
  Register(kGuidA, "1.0", "a", "C:\\a.tlb");
  LibraryRows rows;
  rows.Add({"OLD.TLB", "", "", ""});
  EXPECT_EQ(ScanIntoRows({registry_, files_, env_}, ScanOptions{}, &rows), ScanOutcome::kCompleted);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.at(0).file, "A.TLB");
  EXPECT_EQ(rows.HiddenNumber(0), 0u);
}

}  // namespace
}  // namespace velbrook::catalogue
