// ParamPrefix, InvokeKindWord and MemberDeclName with their edge cases.
#include "render/naming.h"

#include <gtest/gtest.h>

#include "fakes/fake_component.h"

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

}  // namespace
}  // namespace velbrook::render
