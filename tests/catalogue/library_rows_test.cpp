// The library list's one order: FileOrderLess, the sorted place of an added
// row (after equal Files), hidden numbers, and adding after a reorder.
#include "catalogue/library_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velbrook::catalogue {
namespace {

struct OrderCase {
  const char* a;
  const char* b;
  bool less;
};

class FileOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(FileOrderTest, ComparesBytesAsUnsignedWithPrefixesFirst) {
  EXPECT_EQ(FileOrderLess(GetParam().a, GetParam().b), GetParam().less)
      << GetParam().a << " < " << GetParam().b;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileOrderTest,
    ::testing::Values(OrderCase{"A.TLB", "B.TLB", true}, OrderCase{"B.TLB", "A.TLB", false},
                      OrderCase{"A.TLB", "A.TLB", false}, OrderCase{"ALPH.TLB", "ALPHA.TLB", true},
                      OrderCase{"ALPH", "ALPH.TLB", true}, OrderCase{"B.TLB", "_.TLB", true},
                      OrderCase{"_.TLB", "\xc4.TLB", true}, OrderCase{"\xc4.TLB", "Z.TLB", false},
                      OrderCase{"", "A", true}, OrderCase{"a.tlb", "B.TLB", false}));

std::vector<std::string> Files(const LibraryRows& rows) {
  std::vector<std::string> files;
  for (size_t row = 0; row < rows.size(); ++row) files.push_back(rows.at(row).file);
  return files;
}

std::vector<size_t> Hidden(const LibraryRows& rows) {
  std::vector<size_t> numbers;
  for (size_t row = 0; row < rows.size(); ++row) numbers.push_back(rows.HiddenNumber(row));
  return numbers;
}

TEST(LibraryRowsTest, EachEntryGoesAfterEqualFilesAndBeforeGreaterOnes) {
  LibraryRows rows;
  EXPECT_EQ(rows.Add({"C.TLB", "first C", "", ""}), 0u);
  EXPECT_EQ(rows.Add({"A.TLB", "", "", ""}), 0u);
  EXPECT_EQ(rows.Add({"C.TLB", "second C", "", ""}), 2u);
  EXPECT_EQ(rows.Add({"B.TLB", "", "", ""}), 1u);
  EXPECT_EQ(rows.Add({"D.TLB", "", "", ""}), 4u);
  EXPECT_EQ(Files(rows), (std::vector<std::string>{"A.TLB", "B.TLB", "C.TLB", "C.TLB", "D.TLB"}));
  EXPECT_EQ(rows.at(2).description, "first C");
  EXPECT_EQ(Hidden(rows), (std::vector<size_t>{1, 3, 0, 2, 4}));
  EXPECT_EQ(rows.Added(3).file, "B.TLB");
  rows.Clear();
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(rows.Add({"Z.TLB", "", "", ""}), 0u);
  EXPECT_EQ(rows.HiddenNumber(0), 0u);
}

TEST(LibraryRowsTest, ManyEntriesEndInTheOrderAStableSortGives) {
  LibraryRows rows;
  std::vector<std::string> added;
  for (int i = 0; i < 2000; ++i) {
    std::string file = std::to_string((i * 7919) % 613) + ".TLB";
    added.push_back(file);
    rows.Add({file, std::to_string(i), "", ""});
  }
  std::vector<size_t> expected(added.size());
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = i;
  std::stable_sort(expected.begin(), expected.end(),
                   [&](size_t a, size_t b) { return FileOrderLess(added[a], added[b]); });
  EXPECT_EQ(Hidden(rows), expected);
}

TEST(LibraryRowsTest, AfterAnotherOrderAnEntryGoesBeforeTheFirstGreaterRow) {
  LibraryRows rows;
  rows.Add({"A.TLB", "", "", ""});
  rows.Add({"C.TLB", "", "", ""});
  rows.Add({"E.TLB", "", "", ""});
  // Shown as E, A, C (a header click on another column, say).
  ASSERT_TRUE(rows.Reorder({2, 0, 1}));
  EXPECT_EQ(rows.Add({"B.TLB", "", "", ""}), 0u);  // E.TLB is the first greater
  EXPECT_EQ(rows.Add({"F.TLB", "", "", ""}), 4u);  // none is greater
  EXPECT_EQ(Files(rows), (std::vector<std::string>{"B.TLB", "E.TLB", "A.TLB", "C.TLB", "F.TLB"}));
  // Back in File order, places come from the binary search again.
  ASSERT_TRUE(rows.Reorder({0, 3, 1, 2, 4}));
  EXPECT_EQ(rows.Add({"D.TLB", "", "", ""}), 3u);
}

TEST(LibraryRowsTest, ReorderMustNameEveryRowOnce) {
  LibraryRows rows;
  rows.Add({"A.TLB", "", "", ""});
  rows.Add({"B.TLB", "", "", ""});
  EXPECT_FALSE(rows.Reorder({0}));
  EXPECT_FALSE(rows.Reorder({0, 0}));
  EXPECT_FALSE(rows.Reorder({0, 2}));
  EXPECT_EQ(Hidden(rows), (std::vector<size_t>{0, 1}));
  EXPECT_TRUE(rows.Reorder({1, 0}));
  EXPECT_EQ(Files(rows), (std::vector<std::string>{"B.TLB", "A.TLB"}));
}

}  // namespace
}  // namespace velbrook::catalogue
