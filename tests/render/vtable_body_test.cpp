// Vtable call bodies: the bare sub, SetName, string results, out-only
// strings, pointer levels and the by-address types.
#include "render/vtable_body.h"

#include <gtest/gtest.h>

#include "fakes/fake_component.h"
#include "fakes/text_compare.h"
#include "render/member_render.h"
#include "render/param_table.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using fakes::Param;
using fakes::SameBytes;
using namespace typeinfo;

RenderContext VtableContext(const char* interface_name) {
  RenderContext context;
  context.interface_name = interface_name;
  context.use_invoke = [] { return false; };
  return context;
}

TEST(VtableCallBodyTest, BareSubAtOffsetTwelve) {
  ParamTable table;
  EXPECT_TRUE(
      SameBytes("Velbrookpsub=byref(byref(byref(hbObj))+12)\r\n"
                "callfunc Velbrookpsub, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n",
                VtableCallBody(table, "sub", 12)));
}

TEST(VtableCallBodyTest, BareSubThroughRenderMember) {
  RenderContext context = VtableContext("IFoo");
  FakeMember member("Reset");
  member.SetVTableOffset(12);
  EXPECT_TRUE(
      SameBytes("' sub Reset\r\n"
                "declare sub IFOOReset\r\n"
                "sub IFOOReset\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+12)\r\n"
                "callfunc Velbrookpsub, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(VtableCallBodyTest, SetName) {
  RenderContext context = VtableContext("IFoo");
  FakeMember member("SetName");
  member.SetVTableOffset(32);
  member.AddParameter(Param("Name", kParamFlagIn, 8));
  EXPECT_TRUE(
      SameBytes("' sub SetName\r\n"
                "declare sub IFOOSetName _\r\n"
                "   (strName as STRING) ' [VT_BSTR]  \r\n"
                "sub IFOOSetName\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,@strName,-1,0,0)\r\n"
                "defstr wstrName=space$(Velbrookl+Velbrookl+4)\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,@strName,-1,@wstrName+4,Velbrookl)\r\n"
                "byref(@wstrName)=Velbrookl+Velbrookl-2\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+32)\r\n"
                "callfunc Velbrookpsub, @wstrName+4, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(VtableCallBodyTest, BstrRetval) {
  RenderContext context = VtableContext("IDoc");
  FakeMember member("Title");
  member.SetInvokeKind(kInvokePropertyGet).SetVTableOffset(36);
  member.AddParameter(Param("pTitle", kParamFlagOut | kParamFlagRetval, 8));
  EXPECT_TRUE(
      SameBytes("' function Title\r\n"
                "declare function IDOCTitle as STRING\r\n"
                "function IDOCTitle\r\n"
                "defint lp_pTitle\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+36)\r\n"
                "callfunc Velbrookpsub, @lp_pTitle, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "result=ANSI(lp_pTitle)\r\n"
                "end function\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(VtableCallBodyTest, OutOnlyBstrGetsNoConversion) {
  RenderContext context = VtableContext("IDoc");
  FakeMember member("GetText");
  member.SetVTableOffset(40);
  member.AddParameter(Param("text", kParamFlagOut, 8, 1))
      .AddParameter(Param("flags", kParamFlagIn, 3));
  EXPECT_TRUE(
      SameBytes("' sub GetText\r\n"
                "declare sub IDOCGetText _\r\n"
                "   (pstrtext as integer, _ ' STRING [VT_BSTR] [byref] [pointerlevel=1] \r\n"
                "    l_flags as integer) ' [VT_I4]  \r\n"
                "sub IDOCGetText\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+40)\r\n"
                "callfunc Velbrookpsub, l_flags, ppwpstrtext, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(VtableCallBodyTest, InStringWithPointerLevelAndByref) {
  ParamTable table;
  table.rows.push_back({"strA", "STRING", "[VT_BSTR] [in] [pointerlevel=1] ", "STRING"});
  table.rows.push_back({"strB", "STRING", "[VT_BSTR] [in] [byref] ", "STRING"});
  EXPECT_TRUE(
      SameBytes("Velbrookl=MultiByteToWideChar(0,0,@strA,-1,0,0)\r\n"
                "defstr wstrA=space$(Velbrookl+Velbrookl+4)\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,@strA,-1,@wstrA+4,Velbrookl)\r\n"
                "byref(@wstrA)=Velbrookl+Velbrookl-2\r\n"
                "defint ppwstrA=@wstrA+4\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,strB,-1,0,0)\r\n"
                "defstr wstrB=space$(Velbrookl+Velbrookl+4)\r\n"
                "Velbrookl=MultiByteToWideChar(0,0,strB,-1,@wstrB+4,Velbrookl)\r\n"
                "byref(@wstrB)=Velbrookl+Velbrookl-2\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+20)\r\n"
                "callfunc Velbrookpsub, @wstrB+4, @ppwstrA, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n",
                VtableCallBody(table, "sub", 20)));
}

TEST(VtableCallBodyTest, ByAddressTypes) {
  RenderContext context = VtableContext("IMath");
  FakeMember member("Mix");
  member.SetVTableOffset(44);
  member.AddParameter(Param("d", kParamFlagIn, 5))
      .AddParameter(Param("v", kParamFlagIn, 12))
      .AddParameter(Param("q", kParamFlagIn, 20))
      .AddParameter(Param("n", kParamFlagIn, 3))
      .AddParameter(Param("s", kParamFlagIn, 4))
      .AddParameter(Param("w", kParamFlagIn, 2));
  const std::string text = RenderMember(&context, member);
  EXPECT_NE(text.find("callfunc Velbrookpsub, w_w, s_s, l_n, @q_q, @v_v, @d_d, byref(hbObj)\r\n"),
            std::string::npos)
      << text;
}

// Shaped like IDispatch::GetIDsOfNames in stdole: the caller's name array
// and text pass as addresses, never as a BYTE or a WORD.
TEST(VtableCallBodyTest, InPointersPassTheirAddress) {
  RenderContext context = VtableContext("IFinder");
  FakeMember member("FindNames");
  member.SetVTableOffset(20);
  member.AddParameter(Param("rgszNames", kParamFlagIn, 16, 2))
      .AddParameter(Param("cNames", kParamFlagIn, 23))
      .AddParameter(Param("pchFindText", kParamFlagIn, 18, 1));
  EXPECT_TRUE(
      SameBytes("' sub FindNames\r\n"
                "declare sub IFINDERFindNames _\r\n"
                "   (pb_rgszNames as integer, _ ' BYTE [VT_I1] [pointerlevel=2] \r\n"
                "    l_cNames as integer, _ ' [VT_UINT] \r\n"
                "    pl_pchFindText as integer) ' WORD [VT_UI2]  [pointerlevel=1] \r\n"
                "sub IFINDERFindNames\r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+20)\r\n"
                "callfunc Velbrookpsub, pl_pchFindText, l_cNames, pb_rgszNames, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "end sub\r\n"
                "\r\n",
                RenderMember(&context, member)));
}

TEST(VtableCallBodyTest, GuidPassedByAddress) {
  ParamTable table;
  table.rows.push_back({"_riid", "GUID", "[VT=0] [in] ", "GUID"});
  table.rows.push_back({"_ppv", "integer", "[byref] [retval] ", "DWORD"});
  table.retval_index = 1;
  EXPECT_TRUE(
      SameBytes("dim _ppv as integer ' [byref] [retval] \r\n"
                "Velbrookpsub=byref(byref(byref(hbObj))+0)\r\n"
                "callfunc Velbrookpsub, @_ppv, @_riid, byref(hbObj)\r\n"
                "COMRESULT = EAX\r\n"
                "result=_ppv\r\n",
                VtableCallBody(table, "function", 0)));
}

}  // namespace
}  // namespace velbrook::render
