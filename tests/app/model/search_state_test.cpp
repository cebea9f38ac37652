// The search state: the kind choice, progress, found rows and the end
// message; the results of a search by member, GUID, ProgID or any kind.
#include "app/model/search_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/model/search_results.h"

namespace velbrook::app {
namespace {

using ::testing::ElementsAre;

TEST(SearchStateTest, EndMessageOnlyOnceEveryRowWasWalked) {
  SearchState search;
  search.Start(" Work_Book ");
  search.Found(1);
  search.Found(3);
  search.Progress("Searching... 4 / 4  - found: 2");
  EXPECT_TRUE(search.running());
  EXPECT_EQ(search.EndMessage(), "");
  search.Finish(/*aborted=*/false);
  EXPECT_THAT(search.found_rows(), ElementsAre(1, 3));
  EXPECT_EQ(search.EndMessage(), "Found  Work_Book  in 2 libraries.");
  EXPECT_EQ(search.progress_text(), "Searching... 4 / 4  - found: 2");
  search.Start("Nothing");
  EXPECT_TRUE(search.found_rows().empty());
  EXPECT_EQ(search.progress_text(), "");
  search.Finish(false);
  EXPECT_EQ(search.EndMessage(), "I could not find Nothing");
}

TEST(SearchStateTest, AbortedSearchHasNoMessage) {
  SearchState search;
  search.Start("x");
  search.Found(0);
  search.Finish(/*aborted=*/true);
  EXPECT_TRUE(search.aborted());
  EXPECT_EQ(search.found_count(), 1);
  EXPECT_EQ(search.EndMessage(), "");
}

TEST(SearchStateTest, KindChoiceDefaultsToNamesAndIsKeptBetweenSearches) {
  using catalogue::SearchKind;
  SearchState search;
  EXPECT_EQ(search.kind(), SearchKind::kName);
  const std::vector<std::pair<int, SearchKind>> choices = {
      {0, SearchKind::kName},   {1, SearchKind::kMember}, {2, SearchKind::kGuid},
      {3, SearchKind::kProgId}, {4, SearchKind::kAny},    {5, SearchKind::kName},
      {-1, SearchKind::kName},
  };
  for (const auto& [choice, kind] : choices) {
    EXPECT_EQ(SearchKindOfChoice(choice), kind) << choice;
  }
  EXPECT_THAT(SearchKindLabels(),
              ElementsAre("Object class or interface", "Member", "GUID", "ProgID", "Any"));
  search.ChooseKind(1);
  search.Start("Navigate");
  search.Finish(false);
  search.Start("Next");
  EXPECT_EQ(search.kind(), SearchKind::kMember);
  search.ChooseKind(7);
  EXPECT_EQ(search.kind_choice(), 0);
}

TEST(SearchResultsTest, OneRowPerItemWithItsLibrary) {
  SearchResultsModel results;
  EXPECT_EQ(results.CountText(), "0 items found in 0 libraries");
  catalogue::SearchHit method;
  method.kind = catalogue::ItemKind::kMethod;
  method.name = "BaseOne";
  method.owner_kind = catalogue::ItemKind::kInterface;
  method.owner = "IDerived";
  method.declared_by = "IBase";
  method.index = 3;
  catalogue::SearchHit coclass;
  coclass.kind = catalogue::ItemKind::kObjectClass;
  coclass.name = "Widget";
  const LibraryEntry a{"A.TLB", "A library", "c:\\a.tlb", "{A}"};
  const LibraryEntry b{"B.TLB", "B library", "c:\\b.tlb", "{B}"};
  results.Add(a, {method, coclass});
  EXPECT_EQ(results.CountText(), "2 items found in 1 library");
  results.Add(b, {});  // a library without items adds nothing
  results.Add(b, {coclass});
  ASSERT_EQ(results.size(), 3u);
  std::vector<std::string> row;
  for (int column = 0; column < SearchResultsModel::kColumnCount; ++column) {
    row.push_back(results.CellText(0, column));
  }
  EXPECT_THAT(row, ElementsAre("A.TLB", "method", "BaseOne", "IDerived", "IBase", "c:\\a.tlb"));
  EXPECT_EQ(results.CellText(2, SearchResultsModel::kKindColumn), "object class");
  EXPECT_EQ(results.CellText(2, SearchResultsModel::kOwnerColumn), "");
  EXPECT_EQ(results.Result(2).library.path, "c:\\b.tlb");
  EXPECT_EQ(results.CellText(3, 0), "");
  EXPECT_EQ(results.CellText(0, SearchResultsModel::kColumnCount), "");
  EXPECT_EQ(results.CountText(), "3 items found in 2 libraries");
  results.Clear();
  EXPECT_EQ(results.size(), 0u);
  EXPECT_EQ(results.CountText(), "0 items found in 0 libraries");
}

}  // namespace
}  // namespace velbrook::app
