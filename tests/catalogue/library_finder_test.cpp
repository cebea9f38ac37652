// FindInLibrary over the IDL fixtures read by the portable reader, ProgIDs in
// an in-memory registry: every kind, hits and misses, and the name kind
// finding a library exactly when the library search's own test does.
#include "catalogue/library_finder.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/library_search.h"
#include "catalogue_fakes.h"
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::catalogue {
namespace {

using testing::MemoryRegistry;

constexpr char kShapeClsid[] = "{D81FEB2D-C273-4B7E-8535-936455038944}";

// "kind name #index", a member as "kind name of owner-kind owner #index", an
// inherited one with "from base" before the index.
std::string HitText(const SearchHit& hit) {
  std::string text = std::string(ItemKindWord(hit.kind)) + " " + hit.name;
  if (IsMemberKind(hit.kind))
    text += std::string(" of ") + ItemKindWord(hit.owner_kind) + " " + hit.owner;
  if (!hit.declared_by.empty()) text += " from " + hit.declared_by;
  return text + " #" + std::to_string(hit.index);
}

class LibraryFinderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    opener_ = new typeinfo::msft::PortableOpener();
    libraries_ = new std::map<std::string, std::unique_ptr<typeinfo::Library>>();
    for (const char* name : {"shapes", "inherit", "types", "records"}) {
      auto library =
          opener_->OpenLibraryFile(std::string(VELBROOK_FIXTURE_DIR) + "/" + name + ".tlb");
      ASSERT_TRUE(library.ok()) << name << ": " << library.error().message;
      (*libraries_)[name] = std::move(library.value());
    }
  }
  static void TearDownTestSuite() {
    delete libraries_;
    delete opener_;
  }
  void SetUp() override {
    registry_.AddValue(std::string("CLSID\\") + kShapeClsid + "\\ProgID", "", "Shapes.Shape.1");
    registry_.AddValue(std::string("CLSID\\") + kShapeClsid + "\\VersionIndependentProgID", "",
                       "Shapes_Lib.Shape");
  }
  std::vector<std::string> Find(const std::string& fixture, SearchKind kind,
                                const std::string& text) {
    std::vector<std::string> texts;
    for (const SearchHit& hit :
         FindInLibrary(*libraries_->at(fixture), SearchQuery{text, kind}, registry_)) {
      texts.push_back(HitText(hit));
    }
    return texts;
  }

  static typeinfo::msft::PortableOpener* opener_;
  static std::map<std::string, std::unique_ptr<typeinfo::Library>>* libraries_;
  MemoryRegistry registry_;
};

typeinfo::msft::PortableOpener* LibraryFinderTest::opener_ = nullptr;
std::map<std::string, std::unique_ptr<typeinfo::Library>>* LibraryFinderTest::libraries_ = nullptr;

struct FinderCase {
  const char* fixture;
  SearchKind kind;
  const char* text;
  std::vector<std::string> hits;
};

TEST_F(LibraryFinderTest, EachKindOverTheFixtures) {
  const SearchKind kName = SearchKind::kName, kMember = SearchKind::kMember,
                   kGuid = SearchKind::kGuid, kProgId = SearchKind::kProgId,
                   kAny = SearchKind::kAny;
  const FinderCase cases[] = {
      // Name: object classes and interfaces, "_" and case ignored; the
      // default interface hit takes the interface list's position.
      {"shapes", kName, "shape", {"object class Shape #1"}},
      {"shapes", kName, "I_SHAPE", {"interface IShape #1"}},
      {"shapes", kName, "dshapeevents", {"event interface DShapeEvents #2"}},
      {"shapes", kName, "Point", {}},
      {"shapes", kName, "Move", {}},
      {"shapes", kName, "Shapes", {"object class Shape #1"}},  // ProgID part
      {"inherit", kName, "IAutoDerived", {"interface IAutoDerived #5"}},
      // Member: whole name, case ignored, one hit for a property's get and
      // put; inherited members with their base, but not IUnknown's.
      {"shapes", kMember, "MOVE", {"method Move of interface IShape #1"}},
      {"shapes", kMember, "name", {"property Name of interface IShape #1"}},
      {"shapes", kMember, "moved", {"event Moved of event interface DShapeEvents #2"}},
      {"shapes", kMember, "x", {"field x of record Point #1"}},
      {"shapes", kMember, "colNone", {"constant colNone of enumeration Colors #1"}},
      {"shapes", kMember, "Mov", {}},
      {"shapes", kMember, "QueryInterface", {}},
      {"shapes", kMember, "shape", {}},
      {"inherit",
       kMember,
       "Level",
       {"property Level of interface IMiddle #2",
        "property Level of interface IDerived from IMiddle #3"}},
      {"inherit",
       kMember,
       "baseone",
       {"method BaseOne of interface IBase #1", "method BaseOne of interface IMiddle from IBase #2",
        "method BaseOne of interface IDerived from IBase #3"}},
      {"inherit",
       kMember,
       "Name",
       {"property Name of interface IAutoBase #4",
        "property Name of interface IAutoDerived from IAutoBase #5"}},
      {"inherit", kMember, "count", {"property Count of interface DPure #10"}},
      {"inherit", kMember, "changed", {"event Changed of event interface DShared #8"}},
      {"types", kMember, "LANGNEUTRAL", {"constant langNeutral of module TypesConstants #1"}},
      {"types", kMember, "Ping", {"method Ping of module TypesEntry #2"}},
      {"records", kMember, "topLeft", {"field topLeft of record Rect #2"}},
      // GUID: library, CLSID, interface, record, enumeration; braces and
      // case aside; an unknown or an all-zero GUID finds nothing.
      {"shapes", kGuid, "{B2ABFF04-1B1B-4128-A4F6-F4CE4E231C20}", {"library ShapesLib #0"}},
      {"shapes", kGuid, "d81feb2d-c273-4b7e-8535-936455038944", {"object class Shape #1"}},
      {"shapes", kGuid, " {25ca9503-06D2-413C-9AFF-75561CC7353C} ", {"interface IShape #1"}},
      {"shapes",
       kGuid,
       "5341D8A6-0526-430A-B33C-31744D216094",
       {"event interface DShapeEvents #2"}},
      {"shapes", kGuid, "182C1D97-9B88-4695-8FD1-FB9B00BB5645", {"record Point #1"}},
      {"shapes", kGuid, "{DEC6CA49-A761-4C99-8546-828AA25359FA}", {"enumeration Colors #1"}},
      {"shapes", kGuid, "{D9D9D9D9-9999-4999-8999-999999999999}", {}},
      {"records", kGuid, "{00000000-0000-0000-0000-000000000000}", {}},
      {"types", kGuid, "A0AA346E-0A5F-45E9-9E43-30019A4B39AD", {"module TypesEntry #2"}},
      // ProgID: whole ProgID or version-independent one, or their first or
      // second part, case ignored, "_" kept.
      {"shapes", kProgId, "shapes.shape.1", {"object class Shape #1"}},
      {"shapes", kProgId, "Shapes_Lib.Shape", {"object class Shape #1"}},
      {"shapes", kProgId, "SHAPES", {"object class Shape #1"}},
      {"shapes", kProgId, "shapes_lib", {"object class Shape #1"}},
      {"shapes", kProgId, "ShapesLib", {}},
      {"shapes", kProgId, "1", {}},
      {"shapes", kProgId, "Shapes.Shape", {}},
      {"inherit", kProgId, "Shapes", {}},
      // Any: every kind, each item once.
      {"shapes", kAny, "Shape", {"object class Shape #1"}},
      {"shapes", kAny, "Name", {"property Name of interface IShape #1"}},
      {"shapes", kAny, "{D81FEB2D-C273-4B7E-8535-936455038944}", {"object class Shape #1"}},
      {"shapes", kAny, "not-a-guid", {}},
  };
  for (const FinderCase& c : cases) {
    EXPECT_EQ(Find(c.fixture, c.kind, c.text), c.hits)
        << c.fixture << " kind " << static_cast<int>(c.kind) << " \"" << c.text << "\"";
  }
}

TEST_F(LibraryFinderTest, NameKindFindsALibraryExactlyWhenTheLibrarySearchDoes) {
  for (const auto& [fixture, library] : *libraries_) {
    for (const char* text : {"Shape", "i_shape", "Shapes", "IAutoDerived", "DEventsB", "Kinds",
                             "Point", "Move", "Fill", "RecordUser", "IFramedArea", "nothing"}) {
      const bool found =
          !FindInLibrary(*library, SearchQuery{text, SearchKind::kName}, registry_).empty();
      EXPECT_EQ(found, LibraryDefines(*library, SearchKey(text), registry_))
          << fixture << " \"" << text << "\"";
    }
  }
}

TEST(CheckSearchQuery, RefusesBlankTextsAndMalformedGuids) {
  struct Row {
    SearchKind kind;
    const char* text;
    bool ok;
  } rows[] = {
      {SearchKind::kName, "IShape", true},
      {SearchKind::kName, " _ _ ", false},  // blank once "_" is dropped
      {SearchKind::kMember, "_", true},
      {SearchKind::kMember, " \t", false},
      {SearchKind::kProgId, "", false},
      {SearchKind::kAny, "x", true},
      {SearchKind::kAny, "{not a guid}", true},
      {SearchKind::kGuid, "{D81FEB2D-C273-4B7E-8535-936455038944}", true},
      {SearchKind::kGuid, "d81feb2d-c273-4b7e-8535-936455038944", true},
      {SearchKind::kGuid, "{D81FEB2D-C273-4B7E-8535-93645503894}", false},  // one digit short
      {SearchKind::kGuid, "{D81FEB2D-C273-4B7E-8535-936455038944", false},  // one brace
      {SearchKind::kGuid, "D81FEB2D-C273-4B7E-8535-93645503894G", false},   // not hex
      {SearchKind::kGuid, "D81FEB2DC2734B7E85359364550389440000", false},   // no dashes
      {SearchKind::kGuid, "", false},
  };
  for (const Row& row : rows) {
    Status status = CheckSearchQuery(SearchQuery{row.text, row.kind});
    EXPECT_EQ(status.ok(), row.ok) << "\"" << row.text << "\"";
    if (!status.ok()) {
      EXPECT_EQ(status.error().kind, ErrorKind::kInvalidArgument);
    }
  }
  Status bad = CheckSearchQuery(SearchQuery{"{123}", SearchKind::kGuid});
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().message,
            "not a GUID: \"{123}\" (expected 8-4-4-4-12 hexadecimal digits, with or without "
            "braces)");
}

TEST_F(LibraryFinderTest, ARefusedQueryFindsNothing) {
  EXPECT_TRUE(Find("shapes", SearchKind::kGuid, "{D81FEB2D}").empty());
  EXPECT_TRUE(Find("shapes", SearchKind::kMember, "  ").empty());
}

}  // namespace
}  // namespace velbrook::catalogue
