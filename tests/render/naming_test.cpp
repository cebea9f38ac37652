// ParamPrefix, InvokeKindWord and MemberDeclName with their edge cases; the
// identifier rule, name scopes and the notes of renamings.
#include "render/naming.h"

#include <gtest/gtest.h>

#include <unordered_set>

#include "fakes/fake_component.h"
#include "render/missing_types.h"
#include "render/text_ops.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using typeinfo::kInvokeData;
using typeinfo::kInvokeFunc;
using typeinfo::kInvokePropertyGet;
using typeinfo::kInvokePropertyPut;
using typeinfo::kInvokePropertyPutRef;

struct PrefixCase {
  int32_t vt;
  const char* prefix;
};

class ParamPrefixTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(ParamPrefixTest, MatchesTable) {
  EXPECT_EQ(ParamPrefix(GetParam().vt), GetParam().prefix) << GetParam().vt;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParamPrefixTest,
    ::testing::Values(PrefixCase{8, "str"}, PrefixCase{2, "w_"}, PrefixCase{4, "s_"},
                      PrefixCase{5, "d_"}, PrefixCase{7, "d_"}, PrefixCase{16, "b_"},
                      PrefixCase{12, "v_"}, PrefixCase{30, "str"}, PrefixCase{31, "str"},
                      PrefixCase{4096, "a_"}, PrefixCase{8192, "a_"}, PrefixCase{6, "q_"},
                      PrefixCase{20, "q_"}, PrefixCase{21, "q_"}, PrefixCase{3, "l_"},
                      PrefixCase{17, "l_"}, PrefixCase{18, "l_"}, PrefixCase{11, "l_"},
                      PrefixCase{9, "l_"}, PrefixCase{26, "l_"}, PrefixCase{0, "l_"},
                      PrefixCase{8195, "l_"}, PrefixCase{8200, "l_"}));

FakeMember Member(const char* name, int32_t kind) {
  FakeMember member(name);
  member.SetInvokeKind(kind);
  return member;
}

TEST(InvokeKindWordTest, EveryKind) {
  EXPECT_EQ(InvokeKindWord(Member("a", kInvokeData)), "property");
  EXPECT_EQ(InvokeKindWord(Member("a", kInvokeFunc)), "call");
  EXPECT_EQ(InvokeKindWord(Member("a", kInvokePropertyGet)), "get");
  EXPECT_EQ(InvokeKindWord(Member("a", kInvokePropertyPut)), "put");
  EXPECT_EQ(InvokeKindWord(Member("a", kInvokePropertyPutRef)), "putref");
  EXPECT_EQ(InvokeKindWord(Member("a", 3)), "call");
  EXPECT_EQ(InvokeKindWord(Member("a", 16)), "call");
}

TEST(MemberDeclNameTest, EventPrefix) {
  RenderContext context;
  context.event = true;
  EXPECT_EQ(MemberDeclName(context, Member("OnLoad", kInvokeFunc)), "OnLoad");
  EXPECT_EQ(MemberDeclName(context, Member("Load", kInvokeFunc)), "onLoad");
  EXPECT_EQ(MemberDeclName(context, Member("online", kInvokeFunc)), "online");
  EXPECT_EQ(MemberDeclName(context, Member("ONE", kInvokeFunc)), "ONE");
  EXPECT_EQ(MemberDeclName(context, Member("o", kInvokeFunc)), "ono");
  // A put event still gets only the event prefix.
  EXPECT_EQ(MemberDeclName(context, Member("Color", kInvokePropertyPut)), "onColor");
}

TEST(MemberDeclNameTest, PutPrefixes) {
  RenderContext context;
  EXPECT_EQ(MemberDeclName(context, Member("SetColor", kInvokePropertyPut)), "SetColor");
  EXPECT_EQ(MemberDeclName(context, Member("putColor", kInvokePropertyPut)), "putColor");
  EXPECT_EQ(MemberDeclName(context, Member("Color", kInvokePropertyPut)), "set_Color");
  EXPECT_EQ(MemberDeclName(context, Member("Font", kInvokePropertyPutRef)), "setbyref_Font");
  EXPECT_EQ(MemberDeclName(context, Member("SetFont", kInvokePropertyPutRef)), "setbyref_SetFont");
  EXPECT_EQ(MemberDeclName(context, Member("Color", kInvokePropertyGet)), "Color");
  EXPECT_EQ(MemberDeclName(context, Member("SetColor", kInvokeFunc)), "SetColor");
}

TEST(MemberDeclNameTest, ReservedWords) {
  RenderContext context;
  EXPECT_EQ(MemberDeclName(context, Member("End", kInvokeFunc)), "_End");
  EXPECT_EQ(MemberDeclName(context, Member("GET", kInvokeFunc)), "_GET");
  EXPECT_EQ(MemberDeclName(context, Member("Ending", kInvokeFunc)), "Ending");
  // The prefixed name is what is compared: set_end is no reserved word.
  EXPECT_EQ(MemberDeclName(context, Member("End", kInvokePropertyPut)), "set_End");
  EXPECT_TRUE(ReservedMemberWords().Contains("end"));
  EXPECT_TRUE(ReservedMemberWords().Contains("get"));
  EXPECT_EQ(ReservedMemberWords().Count(), 2u);
}

TEST(MemberDeclNameTest, UniquenessSuffixes) {
  RenderContext context;
  FakeMember value = Member("Value", kInvokePropertyGet);
  EXPECT_EQ(MemberDeclName(context, value), "Value");
  AddDeclaredName(&context, "Value");
  EXPECT_EQ(MemberDeclName(context, value), "Value_2");
  // No side effect: asking again gives the same name.
  EXPECT_EQ(MemberDeclName(context, value), "Value_2");
  AddDeclaredName(&context, "Value_2");
  EXPECT_EQ(MemberDeclName(context, value), "Value_3");
}

TEST(MemberDeclNameTest, ValueThreeWhenTwoAreTaken) {
  RenderContext context;
  context.member_names.Append("value");
  context.member_names.Append("value_2");
  EXPECT_EQ(MemberDeclName(context, Member("Value", kInvokePropertyGet)), "Value_3");
}

TEST(MemberDeclNameTest, SuffixGoesPastNine) {
  RenderContext context;
  context.member_names.Append("x");
  for (int i = 2; i <= 10; ++i) context.member_names.Append("x_" + std::to_string(i));
  EXPECT_EQ(MemberDeclName(context, Member("X", kInvokeFunc)), "X_11");
}

TEST(MemberDeclNameTest, OnlyLowerCaseLinesBlock) {
  RenderContext context;
  context.member_names.Append("Value");
  EXPECT_EQ(MemberDeclName(context, Member("Value", kInvokePropertyGet)), "Value");
  // Whole-line equality: a longer line blocks nothing either.
  context.member_names.Append("value2");
  context.member_names.Append("xvalue");
  EXPECT_EQ(MemberDeclName(context, Member("value", kInvokePropertyGet)), "value");
}

TEST(MemberDeclNameTest, ReservedAndTakenTogether) {
  RenderContext context;
  context.member_names.Append("_end");
  EXPECT_EQ(MemberDeclName(context, Member("END", kInvokeFunc)), "_END_2");
}

TEST(MemberDeclNameTest, PutAndGetOfOneProperty) {
  RenderContext context;
  FakeMember get = Member("Value", kInvokePropertyGet);
  FakeMember put = Member("Value", kInvokePropertyPut);
  AddDeclaredName(&context, MemberDeclName(context, get));
  EXPECT_EQ(MemberDeclName(context, put), "set_Value");
}

// Names from real libraries and the corners of the rule.
struct IdentifierCase {
  const char* name;
  const char* identifier;
};

class ToIdentifierTest : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(ToIdentifierTest, MakesAnIdentifier) {
  const IdentifierCase& c = GetParam();
  EXPECT_EQ(ToIdentifier(c.name), c.identifier);
  EXPECT_TRUE(IsIdentifier(c.identifier)) << c.identifier;
  EXPECT_EQ(IsIdentifier(c.name), std::string(c.name) == c.identifier) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Names, ToIdentifierTest,
                         ::testing::Values(IdentifierCase{"Size NE SW", "Size_NE_SW"},
                                           IdentifierCase{"I-Beam", "I_Beam"},
                                           IdentifierCase{".NET", "_NET"},
                                           IdentifierCase{"0 (Pixel)", "_0__Pixel_"},
                                           IdentifierCase{"3D", "_3D"}, IdentifierCase{"", "_"},
                                           IdentifierCase{"Gr\xF6\xDF"
                                                          "e",
                                                          "Gr__e"},
                                           IdentifierCase{"a\r\nb", "a__b"},
                                           IdentifierCase{"clrRed", "clrRed"},
                                           IdentifierCase{"_x9", "_x9"}, IdentifierCase{"x_", "x_"},
                                           IdentifierCase{"_", "_"}));

// One scope: each row claims a name after the rows above it.
struct ClaimCase {
  const char* wanted;
  const char* written;
  const char* reason;  // empty: written as it is
};

TEST(NameScopeTest, ClaimsInOrder) {
  const ClaimCase cases[] = {
      {"Value", "Value", ""},
      {"value", "value_2", "the name is already used (HotBasic ignores case)"},
      {"VALUE", "VALUE_3", "the name is already used (HotBasic ignores case)"},
      {"Value_4", "Value_4", ""},
      {"Value", "Value_5", "the name is already used (HotBasic ignores case)"},
      {"Size NE SW", "Size_NE_SW", "not a HotBasic identifier"},
      {"Size_NE_SW", "Size_NE_SW_2", "the name is already used (HotBasic ignores case)"},
      {"Size-NE-SW", "Size_NE_SW_3", "not a HotBasic identifier"},
      {"0 (Pixel)", "_0__Pixel_", "not a HotBasic identifier"},
      {"Dim", "Dim_", "a word HotBasic or the generic COM block reserves"},
      {"COMRESULT", "COMRESULT_", "a word HotBasic or the generic COM block reserves"},
      {"dim_", "dim__2", "the name is already used (HotBasic ignores case)"},
      {"Rect", "Rect", ""},
  };
  NameScope scope(NameScope::Closed::kReservedWords);
  for (const ClaimCase& c : cases) {
    std::optional<Rename> rename;
    EXPECT_EQ(scope.Claim(c.wanted, &rename), c.written) << c.wanted;
    EXPECT_EQ(rename.has_value(), *c.reason != '\0') << c.wanted;
    if (rename) {
      EXPECT_EQ(rename->original, c.wanted);
      EXPECT_EQ(rename->written, c.written);
      EXPECT_EQ(rename->reason, c.reason);
    }
  }
}

TEST(NameScopeTest, InsideATypeOnlyTheMemberWordsAreClosed) {
  NameScope scope(NameScope::Closed::kMemberWords);
  std::optional<Rename> rename;
  EXPECT_EQ(scope.Claim("End", &rename), "End_");
  EXPECT_EQ(scope.Claim("Dim", &rename), "Dim");
  EXPECT_FALSE(rename);
}

TEST(NameScopeTest, ThousandsOfEqualNamesStayDistinct) {
  NameScope scope(NameScope::Closed::kReservedWords);
  std::unordered_set<std::string> seen;
  std::optional<Rename> rename;
  std::string last;
  for (int i = 0; i < 10000; ++i) {
    last = scope.Claim(i % 2 ? "x" : "X", &rename);
    EXPECT_TRUE(seen.insert(AsciiLower(last)).second) << last;
  }
  EXPECT_EQ(last, "x_10000");
}

TEST(StandaloneNameTest, ReservedAndInvalidNamesOnly) {
  std::optional<Rename> rename;
  EXPECT_EQ(StandaloneName("Rect", &rename), "Rect");
  EXPECT_FALSE(rename);
  EXPECT_EQ(StandaloneName("GUID", &rename), "GUID_");
  ASSERT_TRUE(rename);
  EXPECT_EQ(RenameNote(*rename),
            "renamed \"GUID\" to GUID_: a word HotBasic or the generic COM block reserves");
  // The same name always gives the same result: no scope remembers it.
  EXPECT_EQ(StandaloneName("GUID", &rename), "GUID_");
  EXPECT_EQ(FieldName("End", &rename), "End_");
  EXPECT_EQ(FieldName("Type", &rename), "Type");
  EXPECT_FALSE(rename);
  EXPECT_EQ(FieldName("x y", &rename), "x_y");
}

TEST(RenameNoteTest, ControlCharactersCannotBreakTheCommentLine) {
  EXPECT_EQ(
      RenameNote({"a\r\nshowmessage \"x\"", "a__showmessage__x_", "not a HotBasic identifier"}),
      "renamed \"a??showmessage \"x\"\" to a__showmessage__x_: not a HotBasic identifier");
}

TEST(RenameWarningTest, EachRenamingOnceAndTenListed) {
  EXPECT_EQ(RenameWarning({}), "");
  const Rename twice{"a b", "a_b", "not a HotBasic identifier"};
  EXPECT_EQ(RenameWarning({twice, twice}),
            "Sorry, 1 name of this library could not be written as they are and were "
            "renamed:\r\n\r\nrenamed \"a b\" to a_b: not a HotBasic identifier\r\n\r\n"
            "(each renaming is noted in the file beside the name.)");
  std::vector<Rename> many;
  for (int i = 0; i < 12; ++i) many.push_back({"x" + std::to_string(i), "y", "why"});
  const std::string text = RenameWarning(many);
  EXPECT_EQ(text.find("Sorry, 12 names "), 0u);
  EXPECT_NE(text.find("renamed \"x9\" to y: why\r\n... and 2 more\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("x10"), std::string::npos);
}

TEST(MemberDeclNameTest, InvalidNamesBecomeIdentifiers) {
  RenderContext context;
  FakeMember spaced = Member("Size NE", kInvokeFunc);
  EXPECT_EQ(MemberDeclName(context, spaced), "Size_NE");
  ASSERT_TRUE(MemberRename(context, spaced));
  EXPECT_EQ(MemberRename(context, spaced)->original, "Size NE");
  EXPECT_EQ(MemberDeclName(context, Member("A-B", kInvokePropertyPut)), "set_A_B");
  EXPECT_EQ(MemberDeclName(context, Member("3D", kInvokeFunc)), "_3D");
  // The prefix makes a leading digit harmless.
  EXPECT_EQ(MemberDeclName(context, Member("3D", kInvokePropertyPut)), "set_3D");
  EXPECT_FALSE(MemberRename(context, Member("3D", kInvokePropertyPut)));
  // The renamed name is what uniqueness compares.
  AddDeclaredName(&context, "size_ne");
  EXPECT_EQ(MemberDeclName(context, spaced), "Size_NE_2");
  context.event = true;
  EXPECT_EQ(MemberDeclName(context, Member("Mouse Down", kInvokeFunc)), "onMouse_Down");
}

// One warning per imported library in the order first met, each type once,
// ten listed.
TEST(MissingTypeWarningsTest, OnePerLibraryEachTypeOnceTenListed) {
  EXPECT_TRUE(MissingTypeWarnings({}).empty());
  std::vector<typeinfo::MissingType> missing{{"b.tlb", "{B}"}, {"a.tlb", "{A}"}, {"b.tlb", "{B}"}};
  for (int i = 0; i < 12; ++i) missing.push_back({"a.tlb", "type #" + std::to_string(i)});
  const std::vector<std::string> warnings = MissingTypeWarnings(missing);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_EQ(warnings[0],
            "Sorry, the library this one imports as b.tlb was not found, so 1 type from it is "
            "written as integers: {B}.");
  EXPECT_EQ(warnings[1],
            "Sorry, the library this one imports as a.tlb was not found, so 13 types from it are "
            "written as integers: {A}, type #0, type #1, type #2, type #3, type #4, type #5, "
            "type #6, type #7, type #8 and 3 more.");
}

}  // namespace
}  // namespace velbrook::render
