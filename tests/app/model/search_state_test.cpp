// The search state: progress, found rows and the end message.
#include "app/model/search_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velbrook::app
