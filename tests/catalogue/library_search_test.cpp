// SearchLibraries over fake libraries: key building, whole-name matching with
// underscores ignored, ProgID parts, selection, captions, messages, abort.
#include "catalogue/library_search.h"

#include <gtest/gtest.h>

#include "catalogue/vector_library_list.h"
#include "catalogue_fakes.h"

namespace velbrook::catalogue {
namespace {

using testing::FakeLibraryContents;
using testing::FakeOpener;
using testing::MemoryEnvironment;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;
using testing::RecordingWindow;

constexpr char kCircleGuid[] = "{C1C1C1C1-0000-0000-0000-000000000001}";

class SearchTest : public ::testing::Test {
 protected:
  // A list row whose Path names a library of the fake opener.
  void AddRow(const std::string& path, FakeLibraryContents contents) {
    int row = list_.RowCount();
    list_.InsertRow(row, path);
    list_.SetCellText(row, kColumnPath, path);
    opener_.Add(path, std::move(contents));
  }
  void AddUnopenableRow(const std::string& path) {
    int row = list_.RowCount();
    list_.InsertRow(row, path);
    list_.SetCellText(row, kColumnPath, path);
  }
  int Search(const std::string& text) {
    return SearchLibraries(CatalogueSeams{registry_, files_, env_, list_, window_, run_state_},
                           opener_, text);
  }
  static FakeLibraryContents Interfaces(std::vector<std::string> names) {
    FakeLibraryContents contents;
    contents.interfaces = std::move(names);
    return contents;
  }

  MemoryRegistry registry_;
  MemoryFileSystem files_;
  MemoryEnvironment env_;
  VectorLibraryList list_;
  RecordingWindow window_;
  CatalogueRunState run_state_;
  FakeOpener opener_;
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

TEST_F(SearchTest, UnderscoresAndCaseAreIgnoredOnBothSides) {
  AddRow("C:\\a.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\b.tlb", Interfaces({"I_Shape_Drawer"}));
  EXPECT_EQ(Search("ishape_DRAWER"), 1);
  EXPECT_EQ(list_.SelectedRows(), std::vector<int>{1});
  ASSERT_EQ(window_.messages.size(), 1u);
  EXPECT_EQ(window_.messages[0], "Found ishape_DRAWER in 1 libraries.");
}

TEST_F(SearchTest, PartOfANameDoesNotMatch) {
  AddRow("C:\\a.tlb", Interfaces({"IShapeDrawer"}));
  EXPECT_EQ(Search("Shape"), 0);
  EXPECT_TRUE(list_.SelectedRows().empty());
  ASSERT_EQ(window_.messages.size(), 1u);
  EXPECT_EQ(window_.messages[0], "I could not find Shape");
  EXPECT_EQ(window_.caption, "Velbrook");
}

TEST_F(SearchTest, CoclassNameAndDefaultInterfaceMatch) {
  FakeLibraryContents by_class;
  by_class.classes.push_back({"Circle", kCircleGuid, "ICircle"});
  AddRow("C:\\class.tlb", by_class);
  FakeLibraryContents by_default;
  by_default.classes.push_back({"Square", "{00000000-0000-0000-0000-000000000002}", "ICircle"});
  AddRow("C:\\default.tlb", by_default);
  EXPECT_EQ(Search("circle"), 1);
  EXPECT_EQ(list_.SelectedRows(), std::vector<int>{0});
  window_.messages.clear();
  EXPECT_EQ(Search("I_Circle"), 2);
  EXPECT_EQ(list_.SelectedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(window_.messages.back(), "Found I_Circle in 2 libraries.");
}

TEST_F(SearchTest, ProgIdPartsMatchButNotTheWholeProgId) {
  registry_.AddValue(std::string("CLSID\\") + kCircleGuid + "\\ProgID", "",
                     "ShapeLib.RoundThing.1");
  FakeLibraryContents contents;
  contents.classes.push_back({"Circle", kCircleGuid, ""});
  AddRow("C:\\shapes.tlb", contents);
  EXPECT_EQ(Search("shapelib"), 1);
  EXPECT_EQ(Search("ROUNDTHING"), 1);
  EXPECT_EQ(Search("ShapeLib.RoundThing.1"), 0);
  EXPECT_EQ(Search("1"), 0);
}

TEST_F(SearchTest, ProgIdPartsAreOnlyLowerCased) {
  registry_.AddValue(std::string("CLSID\\") + kCircleGuid + "\\ProgID", "", "My_Lib.Circle");
  FakeLibraryContents contents;
  contents.classes.push_back({"Circle", kCircleGuid, ""});
  AddRow("C:\\shapes.tlb", contents);
  // The key loses its underscore, the ProgID part keeps it.
  EXPECT_EQ(Search("My_Lib"), 0);
  EXPECT_EQ(Search("MyLib"), 0);
}

TEST_F(SearchTest, BlankTextEndsWithoutMessage) {
  AddRow("C:\\a.tlb", Interfaces({"IFoo"}));
  EXPECT_EQ(Search(" \t "), 0);
  EXPECT_TRUE(window_.messages.empty());
  EXPECT_TRUE(window_.captions.empty());
  EXPECT_TRUE(opener_.opened().empty());
  EXPECT_EQ(Search("___"), 0);
  EXPECT_TRUE(window_.messages.empty());
}

TEST_F(SearchTest, FirstMatchReplacesTheEarlierSelectionLaterOnesAdd) {
  AddRow("C:\\0.tlb", Interfaces({"IOther"}));
  AddRow("C:\\1.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\2.tlb", Interfaces({"IOther"}));
  AddRow("C:\\3.tlb", Interfaces({"IFoo", "IFoo"}));
  list_.SelectRow(0);
  list_.SelectRow(2);
  EXPECT_EQ(Search("IFoo"), 2);
  EXPECT_EQ(list_.SelectedRows(), (std::vector<int>{1, 3}));
  EXPECT_EQ(list_.shown_row(), 1);
  EXPECT_EQ(list_.focused_row(), 3);
  EXPECT_EQ(list_.focus_count(), 1);
}

TEST_F(SearchTest, CaptionShowsProgressAndIsRestored) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\1.tlb", Interfaces({"IBar"}));
  Search("ifoo");
  EXPECT_EQ(window_.captions,
            (std::vector<std::string>{"Searching... 1 / 2  - found: 1",
                                      "Searching... 2 / 2  - found: 1", "Velbrook"}));
}

TEST_F(SearchTest, UnopenableLibraryDoesNotMatch) {
  AddUnopenableRow("C:\\gone.tlb");
  AddRow("C:\\here.tlb", Interfaces({"IFoo"}));
  EXPECT_EQ(Search("IFoo"), 1);
  EXPECT_EQ(list_.SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(opener_.opened(), (std::vector<std::string>{"C:\\gone.tlb", "C:\\here.tlb"}));
}

TEST_F(SearchTest, EveryLibraryIsOpenedAnewEachSearch) {
  AddRow("C:\\a.tlb", Interfaces({"IFoo"}));
  Search("IFoo");
  Search("IFoo");
  EXPECT_EQ(opener_.opened().size(), 2u);
}

TEST_F(SearchTest, AbortKeepsTheSelectionAndShowsNoMessage) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\1.tlb", Interfaces({"IFoo"}));
  AddRow("C:\\2.tlb", Interfaces({"IFoo"}));
  window_.on_pump = [this](int pump) {
    if (pump == 3) window_.PressAbort();
  };
  EXPECT_EQ(Search("IFoo"), 2);
  EXPECT_EQ(list_.SelectedRows(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(window_.messages.empty());
  EXPECT_EQ(window_.caption, "Searching... 2 / 3  - found: 2");
  EXPECT_EQ(list_.focus_count(), 1);
  EXPECT_EQ(opener_.opened().size(), 2u);
}

TEST_F(SearchTest, EarlierAbortRequestIsCleared) {
  AddRow("C:\\0.tlb", Interfaces({"IFoo"}));
  window_.PressAbort();
  EXPECT_EQ(Search("IFoo"), 1);
  EXPECT_TRUE(window_.abort_enabled);
}

}  // namespace
}  // namespace velbrook::catalogue
