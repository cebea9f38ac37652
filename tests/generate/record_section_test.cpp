// Record types with embedding, and the enumeration groups, byte-exact.
#include "generate/record_section.h"

#include <gtest/gtest.h>

#include "fakes/text_compare.h"
#include "shapes_fake.h"

namespace velbrook::generate::testing {
namespace {

using fakes::SameBytes;

// The records section alone: every record and enumeration checked as given.
std::string Records(const FakeLibrary& library, const std::vector<size_t>& checked_types) {
  TestContents contents = BuildTestContents(library, {});
  for (size_t row : checked_types) contents.lists.types.SetChecked(row, true);
  TestRun run(library, &contents, true);
  return run.Body();
}

// Every record of the library checked: the run, for its text and warnings.
struct EveryRecord {
  explicit EveryRecord(const FakeLibrary& library)
      : contents(BuildTestContents(library, {})), run(library, &contents, true) {
    contents.lists.types.CheckAll();
  }
  TestContents contents;
  TestRun run;
};

TEST(GenerateRecordTest, PointAndRectExample) {
  ShapesFake shapes;
  EXPECT_TRUE(
      SameBytes("  TYPE Point\r\n"
                "     x as LONG '[VT_I4]\r\n"
                "     y as LONG '[VT_I4]\r\n"
                "  END TYPE\r\n"
                "\r\n"
                "  TYPE Rect\r\n"
                "    'embedded topLeft as Point\r\n"
                "     topLeft_x as LONG '[VT_I4]\r\n"
                "     topLeft_y as LONG '[VT_I4]\r\n"
                "    'end of embedded topLeft\r\n"
                "    'embedded bottomRight as Point\r\n"
                "     bottomRight_x as LONG '[VT_I4]\r\n"
                "     bottomRight_y as LONG '[VT_I4]\r\n"
                "    'end of embedded bottomRight\r\n"
                "  END TYPE\r\n"
                "\r\n",
                Records(shapes.library, {0, 1}), "records_point_rect.inc"));
}

TEST(GenerateRecordTest, EmbeddingDoesNotDependOnRowOrder) {
  // Rect checked and listed before Point: its embedding reads Point's fields
  // all the same, and records come out in row order.
  ShapesFake shapes;
  TestContents contents = BuildTestContents(shapes.library, {});
  contents.lists.types.SortByColumn(0, true);  // Rect, Point
  contents.lists.types.CheckAll();
  TestRun run(shapes.library, &contents, true);
  const std::string body = run.Body();
  EXPECT_EQ(body.find("  TYPE Rect\r\n    'embedded topLeft as Point\r\n"
                      "     topLeft_x as LONG '[VT_I4]\r\n"),
            0u);
  EXPECT_NE(body.find("  END TYPE\r\n\r\n  TYPE Point\r\n"), std::string::npos);
}

TEST(GenerateRecordTest, UncheckedRecordIsNotEmbedded) {
  ShapesFake shapes;
  EXPECT_TRUE(
      SameBytes("  TYPE Rect\r\n"
                "     topLeft as Point\r\n"
                "     bottomRight as Point\r\n"
                "  END TYPE\r\n"
                "\r\n",
                Records(shapes.library, {1})));
}

TEST(GenerateRecordTest, ThreeLevelsExpandFully) {
  ShapesFake shapes;
  auto frame = Record("Frame");
  frame->AddMember(RecordField("outer", shapes.rect));
  shapes.library.AddRecord(frame);
  EXPECT_TRUE(SameBytes(
      "  TYPE Point\r\n     x as LONG '[VT_I4]\r\n     y as LONG '[VT_I4]\r\n  END TYPE\r\n\r\n"
      "  TYPE Rect\r\n"
      "    'embedded topLeft as Point\r\n"
      "     topLeft_x as LONG '[VT_I4]\r\n"
      "     topLeft_y as LONG '[VT_I4]\r\n"
      "    'end of embedded topLeft\r\n"
      "    'embedded bottomRight as Point\r\n"
      "     bottomRight_x as LONG '[VT_I4]\r\n"
      "     bottomRight_y as LONG '[VT_I4]\r\n"
      "    'end of embedded bottomRight\r\n"
      "  END TYPE\r\n\r\n"
      "  TYPE Frame\r\n"
      "    'embedded outer as Rect\r\n"
      "    'embedded outer_topLeft as Point\r\n"
      "     outer_topLeft_x as LONG '[VT_I4]\r\n"
      "     outer_topLeft_y as LONG '[VT_I4]\r\n"
      "    'end of embedded outer_topLeft\r\n"
      "    'embedded outer_bottomRight as Point\r\n"
      "     outer_bottomRight_x as LONG '[VT_I4]\r\n"
      "     outer_bottomRight_y as LONG '[VT_I4]\r\n"
      "    'end of embedded outer_bottomRight\r\n"
      "    'end of embedded outer\r\n"
      "  END TYPE\r\n\r\n",
      Records(shapes.library, {0, 1, 2})));
}

// A record naming itself by value (real libraries point to the next element
// of a list instead) keeps that line, wherever the record is embedded.
TEST(GenerateRecordTest, RecordNamingItselfKeepsThatLine) {
  FakeLibrary library;
  auto node = Record("Node");
  node->AddMember(Field("value", 3));
  node->AddMember(RecordField("next", node));
  auto holder = Record("Holder");
  holder->AddMember(RecordField("first", node));
  library.AddRecord(node).AddRecord(holder);
  EveryRecord every(library);
  TestRun& run = every.run;
  EXPECT_TRUE(SameBytes(
      "  TYPE Node\r\n     value as LONG '[VT_I4]\r\n     next as Node\r\n  END TYPE\r\n\r\n"
      "  TYPE Holder\r\n    'embedded first as Node\r\n     first_value as LONG '[VT_I4]\r\n"
      "     first_next as Node\r\n    'end of embedded first\r\n  END TYPE\r\n\r\n",
      run.Body()));
  EXPECT_TRUE(run.warnings.empty());
}

// Records that reach themselves through other records have no flattened
// form: each is written as it is under a comment, with a warning, and a
// record embedding one of them keeps that field as a single line.
TEST(GenerateRecordTest, RecordsContainingEachOtherAreNotFlattened) {
  FakeLibrary library;
  auto a = Record("A");
  auto b = Record("B");
  a->AddMember(Field("v", 3));
  a->AddMember(RecordField("b", b));
  b->AddMember(RecordField("a", a));
  auto user = Record("User");
  user->AddMember(RecordField("x", a));
  library.AddRecord(a).AddRecord(b).AddRecord(user);
  EveryRecord every(library);
  TestRun& run = every.run;
  EXPECT_TRUE(
      SameBytes("  TYPE A\r\n    'not flattened: it contains itself through other records\r\n"
                "     v as LONG '[VT_I4]\r\n     b as B\r\n  END TYPE\r\n\r\n"
                "  TYPE B\r\n    'not flattened: it contains itself through other records\r\n"
                "     a as A\r\n  END TYPE\r\n\r\n"
                "  TYPE User\r\n     x as A\r\n  END TYPE\r\n\r\n",
                run.Body()));
  ASSERT_EQ(run.warnings.size(), 2u);
  EXPECT_EQ(run.warnings[0],
            "Sorry, record A is not flattened.\r\n\r\n(it contains itself through other "
            "records; its fields are written as they are.)");
  EXPECT_EQ(run.warnings[1].rfind("Sorry, record B is not flattened.\r\n", 0), 0u);
}

// A record embedding one of 65534 fields flattens to 65536 lines, the most
// allowed; one field more and it is written as it is.
TEST(GenerateRecordTest, FlattenedSizeLimitFromBothSides) {
  for (int fields : {65534, 65535}) {
    FakeLibrary library;
    auto big = Record("Big");
    for (int f = 0; f < fields; ++f) big->AddMember(Field("f", 3));
    auto holder = Record("Holder");
    holder->AddMember(RecordField("big", big));
    library.AddRecord(holder).AddRecord(big);
    EveryRecord every(library);
    TestRun& run = every.run;
    const std::string body = run.Body();
    const bool flattened = fields == 65534;
    EXPECT_EQ(body.find("  TYPE Holder\r\n    'embedded big as Big\r\n") == 0, flattened);
    EXPECT_EQ(body.find("  TYPE Holder\r\n    'not flattened: embedding its records would take "
                        "more than 65536 lines\r\n     big as Big\r\n  END TYPE\r\n") == 0,
              !flattened);
    EXPECT_EQ(run.warnings.size(), flattened ? 0u : 1u) << fields;
  }
}

// Planning walks a chain of 50,000 records (each embedding the one before)
// without recursion; writing them all would pass the whole file's limit.
// Fields name their record through a stand-in of the same name, so that the
// fakes hold no chain of 50,000 owners either.
TEST(GenerateRecordTest, LongChainIsPlannedAndTheRunStopsAtItsLimit) {
  FakeLibrary library;
  auto first = Record("C0");
  first->AddMember(Field("v", 3));
  library.AddRecord(first);
  for (int k = 1; k < 50000; ++k) {
    auto next = Record("C" + std::to_string(k));
    next->AddMember(RecordField("c", Record("C" + std::to_string(k - 1))));
    library.AddRecord(next);
  }
  EveryRecord every(library);
  TestRun& run = every.run;
  EXPECT_EQ(run.Generate().substr(0, 37), "generation failed: generation stopped");
}

TEST(GenerateRecordTest, LeadingUnderscoresAreRemovedAndTheRecordEmbeds) {
  FakeLibrary library;
  auto point = Record("_Point");
  point->AddMember(Field("x", 3));
  auto user = Record("User");
  user->AddMember(RecordField("at", point));
  library.AddRecord(point).AddRecord(user);
  EveryRecord every(library);
  TestRun& run = every.run;
  const std::string text = run.Generate();
  // The contents name the record as the component does.
  EXPECT_NE(text.find("'Types\r\n'    _Point\r\n'    User\r\n'\r\n"), std::string::npos);
  EXPECT_TRUE(
      SameBytes("  TYPE Point\r\n     x as LONG '[VT_I4]\r\n  END TYPE\r\n\r\n"
                "  TYPE User\r\n    'embedded at as Point\r\n     at_x as LONG '[VT_I4]\r\n"
                "    'end of embedded at\r\n  END TYPE\r\n\r\n",
                run.Body()));
}

TEST(GenerateRecordTest, FieldTypeTexts) {
  auto guid = Record("_GUID");
  auto other_enum = std::make_shared<FakeType>("__Fill", typeinfo::kTypeKindEnum);
  EXPECT_EQ(RecordFieldLine(*RecordField("id", guid)), "     id as STRING*16 'GUID");
  EXPECT_EQ(RecordFieldLine(*Field("clsid", 72)), "     clsid as DWORD 'GUID pointer '[VT_CLSID]");
  EXPECT_EQ(RecordFieldLine(*Field("name", 8)), "     name as DWORD 'string pointer '[VT_BSTR]");
  EXPECT_EQ(RecordFieldLine(*Field("any", 12)),
            "     any as DWORD 'variant pointer '[VT_DWORD 'variant pointer]");
  // (replace-all reaches the comment too: every "VARIANT" is replaced)
  EXPECT_EQ(RecordFieldLine(*Field("list", 0x2000 | 3)),
            "     list as DWORD  ' Array of LONG '[VT_I4]");
  EXPECT_EQ(RecordFieldLine(*Field("texts", 0x2000 | 8)),
            "     texts as DWORD  ' Array of STRING '[VT_BSTR]");
  EXPECT_EQ(RecordFieldLine(*RecordField("style", other_enum)),
            "     style as DWORD '[VT_EMPTY] enum Fill");
}

TEST(GenerateRecordTest, FixedArrayBounds) {
  auto one = std::make_shared<FakeTypeDescriptor>(0x1000 | 17);
  one->SetBounds({{0, 9}});
  auto field = std::make_shared<FakeMember>("data");
  field->SetInvokeKind(typeinfo::kInvokeData).SetValueType(one);
  EXPECT_EQ(RecordFieldLine(*field), "     data(0 TO 9) as BYTE '[VT_UI1]");

  auto two = std::make_shared<FakeTypeDescriptor>(0x1000 | 3);
  two->SetBounds({{0, 2}, {-1, 3}});
  field->SetValueType(two);
  EXPECT_EQ(RecordFieldLine(*field), "     data(0 TO 2, -1 TO 3) as LONG '[VT_I4]");

  // No bounds delivered: no bounds text.
  field->SetValueType(std::make_shared<FakeTypeDescriptor>(0x1000 | 3));
  EXPECT_EQ(RecordFieldLine(*field), "     data as LONG '[VT_I4]");
  // A string array element keeps its word: the pointer replacements are
  // not applied to a fixed array's element text.
  auto strings = std::make_shared<FakeTypeDescriptor>(0x1000 | 8);
  strings->SetBounds({{1, 4}});
  field->SetValueType(strings);
  EXPECT_EQ(RecordFieldLine(*field), "     data(1 TO 4) as STRING '[VT_BSTR]");
}

// A field of the given VT at the given offset (-1: none).
std::shared_ptr<FakeMember> FieldAt(const std::string& name, int32_t vt, int64_t offset) {
  auto field = Field(name, vt);
  field->SetInstanceOffset(offset);
  return field;
}

// Offsets the fields as written do not fit (a corrupt library, or a
// HotBasic type wider than its field): packed order, a comment and a
// warning naming the record and the field.
TEST(GenerateRecordTest, OffsetsThatDoNotFitKeepPackedOrder) {
  const struct {
    int64_t a_offset;
    int32_t b_vt;
    int64_t b_offset;
    uint32_t size;
    const char* why;
  } kCases[] = {
      {4, 3, 0, 8, "field b at offset 0 begins before the field before it ends (at 8 as written)"},
      {0, 3, 2, 8, "field b at offset 2 begins before the field before it ends (at 4 as written)"},
      {0, 3, 4, 6, "field b ends at 8 as written, past the record's size 6"},
      {0, 3, -1, 8, "the library gives field b no offset"},
      {0, 15, 4, 8, "the size of field b as written is not known"},
      {0, 3, 4, 0xFFFFFFFFu, "its size 4294967295 is larger than any real record's"},
  };
  for (const auto& c : kCases) {
    FakeLibrary library;
    auto record = Record("Bad");
    record->SetLayout(c.size, 4);
    record->AddMember(FieldAt("a", 3, c.a_offset)).AddMember(FieldAt("b", c.b_vt, c.b_offset));
    library.AddRecord(record);
    EveryRecord every(library);
    TestRun& run = every.run;
    const std::string b_type = c.b_vt == 3 ? "LONG '[VT_I4]" : "";
    EXPECT_TRUE(SameBytes("  TYPE Bad\r\n    'fields one after the other: " + std::string(c.why) +
                              "\r\n     a as LONG '[VT_I4]\r\n     b as " + b_type +
                              "\r\n  END TYPE\r\n\r\n",
                          run.Body()))
        << c.why;
    ASSERT_EQ(run.warnings.size(), 1u) << c.why;
    EXPECT_EQ(run.warnings[0],
              "Sorry, record Bad is not laid out as the library lays it out.\r\n\r\n(" +
                  std::string(c.why) + "; its fields are written one after the other.)");
  }
}

// Padding members are named after no field of the record, whatever its case.
TEST(GenerateRecordTest, PaddingNamesAvoidFieldNames) {
  FakeLibrary library;
  auto record = Record("Padded");
  record->SetLayout(12, 4);
  record->AddMember(FieldAt("PAD1", 17, 0)).AddMember(FieldAt("pad2", 3, 4));
  library.AddRecord(record);
  EXPECT_TRUE(SameBytes(
      "  TYPE Padded\r\n     PAD1 as BYTE '[VT_UI1]\r\n     pad3(0 TO 2) as BYTE 'padding\r\n"
      "     pad2 as LONG '[VT_I4]\r\n     pad4(0 TO 3) as BYTE 'padding\r\n  END TYPE\r\n\r\n",
      Records(library, {0})));
}

TEST(GenerateRecordTest, RecordWithoutFields) {
  FakeLibrary library;
  library.AddRecord(Record("Empty"));
  EXPECT_TRUE(SameBytes("  TYPE Empty\r\n  END TYPE\r\n\r\n", Records(library, {0})));
}

// Enumerations.
std::string Enumerations(const FakeLibrary& library) {
  TestContents contents = BuildTestContents(library, {});
  contents.lists.enumerations.CheckAll();
  TestRun run(library, &contents, true);
  return run.Body();
}

TEST(GenerateEnumerationTest, ColorsWithHelpText) {
  ShapesFake shapes;
  EXPECT_TRUE(
      SameBytes("' ColorsEnumeration\r\n"
                "' The colors of a shape\r\n"
                "\r\n"
                "  $define clrRed 255\r\n"
                "  $define clrGreen 65280\r\n"
                "\r\n",
                Enumerations(shapes.library), "enum_colors.inc"));
}

TEST(GenerateEnumerationTest, WithoutHelpAndWithoutConstants) {
  FakeLibrary library;
  auto plain = std::make_shared<FakeType>("Plain", typeinfo::kTypeKindEnum);
  auto one = std::make_shared<FakeMember>("one");
  one->SetConstantValue(Int4(1));
  plain->AddMember(one);
  library.AddEnumeration(plain);
  library.AddEnumeration(std::make_shared<FakeType>("_Nothing", typeinfo::kTypeKindEnum));
  EXPECT_TRUE(
      SameBytes("' PlainEnumeration\r\n"
                "  $define one 1\r\n"
                "\r\n"
                "' _NothingEnumeration\r\n"
                "\r\n",
                Enumerations(library)));
}

}  // namespace
}  // namespace velbrook::generate::testing
