// SearchLibraries over fake libraries: key building, whole-name matching with
// underscores ignored, ProgID parts, found rows, progress, messages, abort.
#include "catalogue/library_search.h"

#include <gtest/gtest.h>

#include <utility>

#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::FakeLibraryContents;
using testing::FakeOpener;
using testing::MemoryEnvironment;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;
using testing::RecordingSearchSink;

constexpr char kCircleGuid[] = "{C1C1C1C1-0000-0000-0000-000000000001}";

class SearchTest : public ::testing::Test {
 protected:
  // A row whose Path names a library of the fake opener.
  void AddRow(const std::string& path, FakeLibraryContents contents) {
    sink_.paths.push_back(path);
    opener_.Add(path, std::move(contents));
  }
  void AddUnopenableRow(const std::string& path) { sink_.paths.push_back(path); }
  // The rows found, and the end message as the program shows it.
  std::vector<size_t> Search(const std::string& text) {
    sink_.found.clear();
    sink_.progress.clear();
    outcome_ = SearchLibraries(sink_, NameTest(opener_, registry_, SearchKey(text)));
    message_ = outcome_.aborted ? "" : SearchEndMessage(text, outcome_.found_count);
    std::vector<size_t> rows;
    for (const auto& [row, count] : sink_.found) rows.push_back(row);
    return rows;
  }
  static FakeLibraryContents Interfaces(std::vector<std::string> names) {
    FakeLibraryContents contents;
    contents.interfaces = std::move(names);
    return contents;
  }

  MemoryRegistry registry_;
  RecordingSearchSink sink_;
  FakeOpener opener_;
  SearchOutcome outcome_;
  std::string message_;
};

TEST(SearchKey, RemovesUnderscoresLowerCasesAndTrims) {
  EXPECT_EQ(SearchKey(" \t_I_Shape_Drawer \t"), "ishapedrawer");
  EXPECT_EQ(SearchKey("   "), "");
  EXPECT_EQ(SearchKey("A B"), "a b");
}

TEST(ProgIdPartMatches, FirstAndSecondPartsOnly) {
  EXPECT_TRUE(ProgIdPartMatches("Shapes.Circle.1", "shapes"));
  EXPECT_TRUE(ProgIdPartMatches("Shapes.Circle.1", "circle"));
  EXPECT_FALSE(ProgIdPartMatches("Shapes.Circle.1", "1"));
  EXPECT_FALSE(ProgIdPartMatches("Shapes.Circle.1", "shapes.circle.1"));
  EXPECT_FALSE(ProgIdPartMatches("Shapes.Circle.1", "circ"));
  EXPECT_TRUE(ProgIdPartMatches("NoDots", "nodots"));
  EXPECT_TRUE(ProgIdPartMatches("Two.Parts", "parts"));
  EXPECT_FALSE(ProgIdPartMatches("", "x"));
}

TEST(SearchProgressText, CountShownOnceSomethingIsFound) {
  EXPECT_EQ(SearchProgressText(0, 12, 0), "Searching... 1 / 12");
  EXPECT_EQ(SearchProgressText(9, 12, 2), "Searching... 10 / 12  - found: 2");
}

TEST(SearchEndMessage, FoundCountOrNotFound) {
  EXPECT_EQ(SearchEndMessage(" Work_Book ", 2), "Found  Work_Book  in 2 libraries.");
  EXPECT_EQ(SearchEndMessage("Nothing", 0), "I could not find Nothing");
}

TEST_F(SearchTest, UnderscoresAndCaseAreIgnoredOnBothSides) {
  AddRow("C:\\a.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\b.tlb", Interfaces({"I_Shape_Drawer"}));
  EXPECT_EQ(Search("ishape_DRAWER"), std::vector<size_t>{1});
  EXPECT_EQ(message_, "Found ishape_DRAWER in 1 libraries.");
}

TEST_F(SearchTest, PartOfANameDoesNotMatch) {
  AddRow("C:\\a.tlb", Interfaces({"IShapeDrawer"}));
  EXPECT_TRUE(Search("Shape").empty());
  EXPECT_EQ(message_, "I could not find Shape");
}

TEST_F(SearchTest, CoclassNameAndDefaultInterfaceMatch) {
  FakeLibraryContents by_class;
  by_class.classes.push_back({"Circle", kCircleGuid, "ICircle"});
  AddRow("C:\\class.tlb", by_class);
  FakeLibraryContents by_default;
  by_default.classes.push_back({"Square", "{00000000-0000-0000-0000-000000000002}", "ICircle"});
  AddRow("C:\\default.tlb", by_default);
  EXPECT_EQ(Search("circle"), std::vector<size_t>{0});
  EXPECT_EQ(Search("I_Circle"), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(message_, "Found I_Circle in 2 libraries.");
}

TEST_F(SearchTest, ProgIdPartsMatchButNotTheWholeProgId) {
  registry_.AddValue(std::string("CLSID\\") + kCircleGuid + "\\ProgID", "",
                     "ShapeLib.RoundThing.1");
  FakeLibraryContents contents;
  contents.classes.push_back({"Circle", kCircleGuid, ""});
  AddRow("C:\\shapes.tlb", contents);
  EXPECT_EQ(Search("shapelib").size(), 1u);
  EXPECT_EQ(Search("ROUNDTHING").size(), 1u);
  EXPECT_TRUE(Search("ShapeLib.RoundThing.1").empty());
  EXPECT_TRUE(Search("1").empty());
}

TEST_F(SearchTest, ProgIdPartsAreOnlyLowerCased) {
  registry_.AddValue(std::string("CLSID\\") + kCircleGuid + "\\ProgID", "", "My_Lib.Circle");
  FakeLibraryContents contents;
  contents.classes.push_back({"Circle", kCircleGuid, ""});
  AddRow("C:\\shapes.tlb", contents);
  // The key loses its underscore, the ProgID part keeps it.
  EXPECT_TRUE(Search("My_Lib").empty());
  EXPECT_TRUE(Search("MyLib").empty());
}

TEST_F(SearchTest, EachMatchIsCountedOnceInRowOrder) {
  AddRow("C:\\0.tlb", Interfaces({"IOther"}));
  AddRow("C:\\1.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\2.tlb", Interfaces({"IOther"}));
  AddRow("C:\\3.tlb", Interfaces({"IFoo", "IFoo"}));
  Search("IFoo");
  // The first match (count 1) is the one the program shows alone.
  EXPECT_EQ(sink_.found, (std::vector<std::pair<size_t, int>>{{1, 1}, {3, 2}}));
  EXPECT_EQ(outcome_.found_count, 2);
  EXPECT_FALSE(outcome_.aborted);
}

TEST_F(SearchTest, ProgressAfterEveryRow) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\1.tlb", Interfaces({"IBar"}));
  Search("ifoo");
  EXPECT_EQ(sink_.progress, (std::vector<std::string>{"Searching... 1 / 2  - found: 1",
                                                      "Searching... 2 / 2  - found: 1"}));
}

TEST_F(SearchTest, UnopenableLibraryDoesNotMatch) {
  AddUnopenableRow("C:\\gone.tlb");
  AddRow("C:\\here.tlb", Interfaces({"IFoo"}));
  EXPECT_EQ(Search("IFoo"), std::vector<size_t>{1});
  EXPECT_EQ(opener_.opened(), (std::vector<std::string>{"C:\\gone.tlb", "C:\\here.tlb"}));
}

TEST_F(SearchTest, EveryLibraryIsOpenedAnewEachSearch) {
  AddRow("C:\\a.tlb", Interfaces({"IFoo"}));
  Search("IFoo");
  Search("IFoo");
  EXPECT_EQ(opener_.opened().size(), 2u);
}

TEST_F(SearchTest, AbortStopsBeforeTheNextRowWithoutMessage) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\1.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\2.tlb", Interfaces({"IFoo"}));
  sink_.on_poll = [this](int poll) {
    if (poll == 3) sink_.abort_requested = true;
  };
  EXPECT_EQ(Search("IFoo"), (std::vector<size_t>{0, 1}));
  EXPECT_TRUE(outcome_.aborted);
  EXPECT_EQ(message_, "");
  EXPECT_EQ(sink_.progress.back(), "Searching... 2 / 3  - found: 2");
  EXPECT_EQ(opener_.opened().size(), 2u);
}

TEST_F(SearchTest, RowsAddedOrRemovedMeanwhileAreFollowed) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\1.tlb", Interfaces({"IFoo"}));
  // A scan run from the message processing leaves one row.
  sink_.on_poll = [this](int poll) {
    if (poll == 2) sink_.paths.pop_back();
  };
  EXPECT_EQ(Search("IFoo"), std::vector<size_t>{0});
  EXPECT_EQ(sink_.progress, std::vector<std::string>{"Searching... 1 / 2  - found: 1"});
}

}  // namespace
}  // namespace velbrook::catalogue
