// RenderMember and TypeMemberLine: the worked examples in every style and the
// edge cases of parameter analysis.
#include "render/member_render.h"

#include <gtest/gtest.h>

#include "fakes/fake_component.h"
#include "fakes/text_compare.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using fakes::FakeType;
using fakes::Param;
using fakes::SameBytes;
using fakes::UdtParam;
using namespace typeinfo;

constexpr int32_t kOutRetval = kParamFlagOut | kParamFlagRetval;

RenderContext Context(const char* interface_name, bool use_invoke) {
  RenderContext context;
  context.interface_name = interface_name;
  context.use_invoke = [use_invoke] { return use_invoke; };
  return context;
}

FakeMember CountMember() {
  FakeMember member("Count");
  member.SetInvokeKind(kInvokePropertyGet).SetVTableOffset(28);
  member.AddParameter(Param("pVal", kOutRetval, 3));
  return member;
}

FakeMember AddMember() {
  FakeMember member("Add");
  member.SetVTableOffset(28);
  member.AddParameter(Param("a", kParamFlagIn, 3))
      .AddParameter(Param("name", kParamFlagIn, 8))
      .AddParameter(Param("pResult", kOutRetval, 3));
  return member;
}

TEST(RenderMemberTest, CountInvokeStyle) {
  RenderContext context = Context("IItems", true);
  EXPECT_TRUE(
      SameBytes("' Count -- retval: integer / [VT_I4] [retval] \r\n"
                "'x = intf.getnum (\"Count\")\r\n"
                "\r\n",
                RenderMember(&context, CountMember())));
  EXPECT_EQ(context.kind_word, "function");
}

TEST(RenderMemberTest, CountVtableStyle) {
  RenderContext context = Context("IItems", false);
  EXPECT_TRUE(
      SameBytes("' function Count\r\n"
                "declare function IITEMSCount as integer\r\n"
                "function IITEMSCount\r\n"
                "dim _pVal as integer ' [VT_I4] [byref] [retval] \r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+28)\r\n"
                "callfunc Velbrookpsub, @_pVal, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "result=_pVal\r\n"
                "end function\r\n"
                "\r\n",
                RenderMember(&context, CountMember())));
}

TEST(RenderMemberTest, ClickEvent) {
  RenderContext context = Context("DEvents", false);
  context.event = true;
  context.activex = true;
  FakeMember click("Click");
  click.SetMemberId(-600);
  EXPECT_TRUE(
      SameBytes("  ''  .onClick\r\n"
                "  ''   obj.SetEvent(-600, codeptr(onClick)) 'onClick\r\n"
                "'declare sub onClick STD \r\n"
                "'sub onClick\r\n"
                "'end sub\r\n"
                "\r\n",
                RenderMember(&context, click)));
  EXPECT_EQ(context.kind_word, "sub");
}

TEST(RenderMemberTest, MouseMoveEvent) {
  RenderContext context = Context("DEvents", true);
  context.event = true;
  FakeMember move("MouseMove");
  move.SetMemberId(5);
  move.AddParameter(Param("Button", kParamFlagIn, 2)).AddParameter(Param("X", kParamFlagIn, 4));
  EXPECT_TRUE(
      SameBytes("  ''  .onMouseMove\r\n"
                "  ''   obj.SetEvent(5, codeptr(onMouseMove)) 'onMouseMove\r\n"
                "'declare sub onMouseMove STD  _\r\n"
                "'   (vButton as variant, _ ' WORD [VT_I2] \r\n"
                "'    vX as variant) ' SINGLE [VT_R4]  \r\n"
                "'sub onMouseMove\r\n"
                "'end sub\r\n"
                "\r\n",
                RenderMember(&context, move)));
}

TEST(RenderMemberTest, AddInvokeStyle) {
  RenderContext context = Context("ICalc", true);
  EXPECT_TRUE(
      SameBytes("' Add -- retval: integer / [VT_I4] [retval] \r\n"
                "'x = intf.getnum (\"Add\", _\r\n"
                "'    l_a as integer, _ ' [VT_I4] \r\n"
                "'    strname as STRING) ' [VT_BSTR]  \r\n"
                "\r\n",
                RenderMember(&context, AddMember())));
}

TEST(RenderMemberTest, AddInvokeStyleOnActiveXUsesObj) {
  RenderContext context = Context("ICalc", true);
  context.activex = true;
  const std::string text = RenderMember(&context, AddMember());
  EXPECT_NE(text.find("'x = obj.getnum (\"Add\", _\r\n"), std::string::npos) << text;
}

TEST(RenderMemberTest, AddVtableStyle) {
  RenderContext context = Context("ICalc", false);
  EXPECT_TRUE(
      SameBytes("' function Add\r\n"
                "declare function ICALCAdd _\r\n"
                "   (l_a as integer, _ ' [VT_I4] \r\n"
                "    strname as STRING) as integer ' [VT_BSTR]  \r\n"
                "function ICALCAdd\r\n"
                "dim _pResult as integer ' [VT_I4] [byref] [retval] \r\n"
                "Velbrookl=MultiByteToWideChar(0,0,@strname,-1,0,0)\r\n"
                "defstr wstrname=space$(Velbrookl+Velbrookl+4)\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,@strname,-1,@wstrname+4,Velbrookl)\r\n"
                "byref(@wstrname)=Velbrookl+Velbrookl-2\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+28)\r\n"
                "callfunc Velbrookpsub, @_pResult, @wstrname+4, l_a, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "result=_pResult\r\n"
                "end function\r\n"
                "\r\n",
                RenderMember(&context, AddMember())));
}

TEST(RenderMemberTest, DataMemberRendersNothing) {
  RenderContext context = Context("IFoo", false);
  context.kind_word = "sub";
  FakeMember field("Width");
  field.SetInvokeKind(kInvokeData);
  EXPECT_EQ(RenderMember(&context, field), "");
  EXPECT_EQ(context.kind_word, "integer");
  EXPECT_TRUE(SameBytes("Width as integer" + std::string(24, ' '), TypeMemberLine(context, field)));
}

TEST(RenderMemberTest, ReadsUseInvokeOncePerCall) {
  RenderContext context = Context("IItems", true);
  int reads = 0;
  // A control that flips on every read: one call must see one value.
  context.use_invoke = [&reads] { return ++reads % 2 == 1; };
  const std::string first = RenderMember(&context, CountMember());
  EXPECT_EQ(reads, 1);
  EXPECT_TRUE(
      SameBytes("' Count -- retval: integer / [VT_I4] [retval] \r\n"
                "'x = intf.getnum (\"Count\")\r\n"
                "\r\n",
                first));
  const std::string second = RenderMember(&context, CountMember());
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(second.substr(0, 17), "' function Count\r");
}

TEST(RenderMemberTest, RetvalFirstOfTwoGetsNoComma) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("Item");
  member.SetInvokeKind(kInvokePropertyGet);
  member.AddParameter(Param("pItem", kOutRetval, 9)).AddParameter(Param("Index", kParamFlagIn, 3));
  EXPECT_TRUE(
      SameBytes("' Item -- retval: integer / [VT_DISPATCH] [retval] \r\n"
                "'x = intf.getnum (\"Item\" _\r\n"
                "'    l_Index as integer) ' [VT_I4]  \r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, StringResultUsesGetstr) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("Caption");
  member.SetInvokeKind(kInvokePropertyGet).SetHelpString("  The caption.\r\n");
  member.AddParameter(Param("pbstr", kOutRetval, 8));
  EXPECT_TRUE(
      SameBytes("' Caption -- retval: STRING / [VT_BSTR] [retval]  -- The caption.\r\n"
                "'s$ = intf.getstr (\"Caption\")\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, SubInvokeStyleWithPutName) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("Color");
  member.SetInvokeKind(kInvokePropertyPut);
  member.AddParameter(Param("rhs", kParamFlagIn, 3));
  EXPECT_TRUE(
      SameBytes("' set_Color\r\n"
                "'intf.invoke (\"set_Color\", _\r\n"
                "'    l_rhs as integer) ' [VT_I4]  \r\n"
                "\r\n",
                RenderMember(&context, member)));
  EXPECT_EQ(context.kind_word, "sub");
}

TEST(RenderMemberTest, SubWithoutParametersInvokeStyle) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("Refresh");
  EXPECT_TRUE(
      SameBytes("' Refresh\r\n"
                "'intf.invoke (\"Refresh\")\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, StandardMemberDescription) {
  RenderContext context = Context("IUnknown", true);
  FakeMember member("AddRef");
  member.SetHelpString("ignored");
  EXPECT_TRUE(
      SameBytes("' AddRef -- Increments reference count.\r\n"
                "'intf.invoke (\"AddRef\")\r\n"
                "\r\n",
                RenderMember(&context, member)));
  EXPECT_TRUE(SameBytes("AddRef as sub" + std::string(27, ' ') + "' Increments reference count.",
                        TypeMemberLine(context, member)));
}

TEST(RenderMemberTest, NullParameterAndNullDescriptor) {
  RenderContext context = Context("IFoo", false);
  FakeMember member("Odd");
  member.AddParameter(nullptr).AddParameter(
      std::make_shared<fakes::FakeParameter>("_x", kParamFlagIn, nullptr));
  EXPECT_TRUE(
      SameBytes("' sub Odd\r\n"
                "declare sub IFOOOdd _\r\n"
                "   (Unknown as integer, _ ' unreadable\r\n"
                "    x as integer) ' unreadable  \r\n"
                "sub IFOOOdd\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+0)\r\n"
                "callfunc Velbrookpsub, x, Unknown, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, UnnamedRecordParameter) {
  RenderContext context = Context("IWin", true);
  auto rect = std::make_shared<FakeType>("RECT", kTypeKindRecord);
  FakeMember member("Move");
  member.AddParameter(UdtParam("", kParamFlagIn, rect));
  EXPECT_TRUE(
      SameBytes("' Move\r\n"
                "'intf.invoke (\"Move\", _\r\n"
                "'    l_RECT as integer) ' record [VT=0]  RECT\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, RecordParameterNoteKeepsAttributes) {
  RenderContext context = Context("IWin", false);
  auto rect = std::make_shared<FakeType>("RECT", kTypeKindRecord);
  FakeMember member("Move");
  member.AddParameter(UdtParam("", kParamFlagIn, rect)).AddParameter(Param("b", kParamFlagIn, 3));
  const std::string text = RenderMember(&context, member);
  EXPECT_NE(text.find("   (l_RECT as integer, _ ' record [VT=0] RECT\r\n"), std::string::npos)
      << text;
}

// An unresolved type is an integer like a resolved one; the note names what
// is missing (in comment-safe text) and the context collects it.
TEST(RenderMemberTest, GuidAndUnresolvedUserTypes) {
  RenderContext context = Context("IFoo", false);
  auto guid = std::make_shared<FakeType>("GUID", kTypeKindRecord);
  auto nothing = std::make_shared<fakes::FakeTypeDescriptor>(0);
  auto missing = std::make_shared<fakes::FakeTypeDescriptor>(0);
  missing->SetMissing({"od'd\r.tlb", "{G}"});
  FakeMember member("Use");
  member.SetVTableOffset(12);
  member.AddParameter(UdtParam("riid", kParamFlagIn, guid))
      .AddParameter(std::make_shared<fakes::FakeParameter>("p2", kParamFlagIn, nothing))
      .AddParameter(std::make_shared<fakes::FakeParameter>("p3", kParamFlagIn, missing));
  EXPECT_TRUE(
      SameBytes("' sub Use\r\n"
                "declare sub IFOOUse _\r\n"
                "   (_riid as GUID, _ ' [VT=0] \r\n"
                "    l_p2 as integer, _ ' missing [VT=0] \r\n"
                "    l_p3 as integer) ' missing [VT=0]  {G} from od?d?.tlb\r\n"
                "sub IFOOUse\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+12)\r\n"
                "callfunc Velbrookpsub, l_p3, l_p2, @_riid, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
  ASSERT_EQ(context.missing.size(), 1u);
  EXPECT_EQ(context.missing[0].import_file, "od'd\r.tlb");
}

TEST(RenderMemberTest, ArrayVectorAndOutParameters) {
  RenderContext context = Context("IArr", false);
  FakeMember member("Fill");
  member.SetVTableOffset(40);
  member.AddParameter(Param("values", kParamFlagIn, 0x2000 | 3))
      .AddParameter(Param("bytes", kParamFlagIn, 0x1000 | 17))
      .AddParameter(Param("count", kParamFlagOut, 3))
      .AddParameter(Param("pLast", kParamFlagOut, 5));
  EXPECT_TRUE(
      SameBytes("' sub Fill\r\n"
                "declare sub IARRFill _\r\n"
                "   (avalues as integer, _ ' Array of LONG [VT_I4] LONG [VT_I4]\r\n"
                "    abytes as integer, _ ' Vector of BYTE [VT_UI1] BYTE [VT_UI1]\r\n"
                "    pl_count as integer, _ ' LONG [VT_I4] [byref] \r\n"
                "    ppLast as integer) ' DOUBLE [VT_R8] [byref] \r\n"
                "sub IARRFill\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+40)\r\n"
                "callfunc Velbrookpsub, ppLast, pl_count, abytes, avalues, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, AttributeWordsInOrder) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("M");
  member.AddParameter(
      Param("__v", kParamFlagIn | kParamFlagLcid | kParamFlagOptional | kParamFlagHasDefault, 12));
  EXPECT_TRUE(
      SameBytes("' M\r\n"
                "'intf.invoke (\"M\", _\r\n"
                "'    v_v as VARIANT) ' [VT_VARIANT]  [lcid] [optional] [hasdefault] \r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(RenderMemberTest, LowSixteenBitsOfParameterCount) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("M");
  member.AddParameter(Param("a", kParamFlagIn, 3));
  member.ParameterList().SetCount(0x10000);  // low half zero: no parameters
  EXPECT_TRUE(SameBytes("' M\r\n'intf.invoke (\"M\")\r\n\r\n", RenderMember(&context, member)));
}

TEST(RenderMemberTest, RenamedNamesAreNotedAboveTheBlock) {
  RenderContext context = Context("IFoo", false);
  FakeMember member("Go To");
  member.SetVTableOffset(12);
  member.AddParameter(Param("the x", kParamFlagIn, 3))
      .AddParameter(Param("THE X", kParamFlagIn, 3));
  EXPECT_TRUE(
      SameBytes("'renamed \"Go To\" to Go_To: not a HotBasic identifier\r\n"
                "'renamed \"the x\" to l_the_x: not a HotBasic identifier\r\n"
                "'renamed \"THE X\" to l_THE_X_2: not a HotBasic identifier\r\n"
                "' sub Go_To\r\n"
                "declare sub IFOOGo_To _\r\n"
                "   (l_the_x as integer, _ ' [VT_I4] \r\n"
                "    l_THE_X_2 as integer) ' [VT_I4]  \r\n"
                "sub IFOOGo_To\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+12)\r\n"
                "callfunc Velbrookpsub, l_THE_X_2, l_the_x, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
  ASSERT_EQ(context.renames.size(), 3u);
  EXPECT_EQ(context.renames[2].written, "l_THE_X_2");
}

TEST(RenderMemberTest, ParameterNamesEqualButForCaseGetSuffixes) {
  RenderContext context = Context("IFoo", true);
  FakeMember member("Pair");
  // "a" + array name "s" would read "as"; two nameless parameters share
  // "Unknown".
  member.AddParameter(Param("x", kParamFlagIn, 3))
      .AddParameter(Param("X", kParamFlagIn, 3))
      .AddParameter(Param("s", kParamFlagIn, 0x2003))
      .AddParameter(nullptr)
      .AddParameter(nullptr);
  const std::string text = RenderMember(&context, member);
  EXPECT_NE(text.find("'    l_X_2 as integer, _ ' [VT_I4] \r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("'    as_ as integer, _ ' Array of LONG"), std::string::npos) << text;
  EXPECT_NE(text.find("'    Unknown_2 as integer) ' unreadable"), std::string::npos) << text;
}

TEST(TypeMemberLineTest, PadsToFortyAndAddsDescription) {
  RenderContext context = Context("IItems", false);
  FakeMember count = CountMember();
  count.SetHelpString("Number of items.");
  RenderMember(&context, count);
  EXPECT_TRUE(SameBytes("Count as function" + std::string(23, ' ') + "' Number of items.",
                        TypeMemberLine(context, count)));
  FakeMember long_name(std::string(40, 'N'));
  RenderMember(&context, long_name);
  EXPECT_TRUE(SameBytes(std::string(40, 'N') + " as sub", TypeMemberLine(context, long_name)));
  FakeMember exact(std::string(33, 'E'));  // 33 + " as sub" = 40
  RenderMember(&context, exact);
  exact.SetHelpString("d");
  EXPECT_TRUE(SameBytes(std::string(33, 'E') + " as sub' d", TypeMemberLine(context, exact)));
}

}  // namespace
}  // namespace velbrook::render
