// The generic block's fixed lines: count, line ends, header, guards,
// declarations, globals, identifiers, messages and the writer.
#include "generic_block/generic_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/text_compare.h"
#include "render/guid_constant.h"

namespace velbrook::generic_block {
namespace {

std::vector<std::string> Lines() {
  return std::vector<std::string>(std::begin(kGenericBlockLines), std::end(kGenericBlockLines));
}

// Index of the first line equal to line at or after from; -1 when none.
int Find(const std::vector<std::string>& lines, const std::string& line, int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i) {
    if (lines[i] == line) return i;
  }
  return -1;
}

// Asserts that each expected line appears, in this order (not necessarily
// adjacent), and returns the index of the last.
int ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected,
                  int from = 0) {
  int at = from - 1;
  for (const std::string& line : expected) {
    const int found = Find(lines, line, at + 1);
    EXPECT_GE(found, 0) << "missing or out of order: " << fakes::VisibleLine(line);
    if (found >= 0) at = found;
  }
  return at;
}

// Asserts that the lines follow each other directly, from index start.
void ExpectAdjacent(const std::vector<std::string>& lines, int start,
                    const std::vector<std::string>& expected) {
  ASSERT_GE(start, 0);
  for (size_t k = 0; k < expected.size(); ++k) {
    ASSERT_LT(start + k, lines.size());
    EXPECT_EQ(lines[start + k], expected[k]) << "line " << start + k + 1;
  }
}

TEST(GenericBlockTest, Has787LinesEachEndedByCrLf) {
  const std::string text = GenericBlockText();
  size_t crlf = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r') << "bare LF at byte " << i;
      ++crlf;
    } else if (text[i] == '\r') {
      ASSERT_LT(i + 1, text.size());
      EXPECT_EQ(text[i + 1], '\n') << "bare CR at byte " << i;
    }
  }
  EXPECT_EQ(crlf, 787u);
  EXPECT_EQ(kGenericBlockLineCount, 787u);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(GenericBlockTest, BlanksOnlyNoTabs) {
  for (const std::string& line : Lines()) {
    EXPECT_EQ(line.find('\t'), std::string::npos) << line;
    EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  }
}

TEST(GenericBlockTest, HeaderLines) {
  ExpectAdjacent(Lines(), 0,
                 {"'--------------- Generic COM and ActiveX declarations and initialization", "'",
                  "' Starting with Velbrook version 1.7, this .INC file can be used in DLLs",
                  "' In that case, you must ",
                  "'   1) $include it twice: once before the END statement and once after. "
                  "(technically, that's once for declarations and once for implementations)",
                  "'   2) make a call to sub ComInit in the initialization of the dll", "'",
                  "'Note: for code legibility, you may want to save this section into a separate "
                  ".inc file",
                  "'(until around line 750)", "'", "",
                  "'- part 1 : declarations of variables and subs", "$ifndef VelbrookGenerics",
                  "$define VelbrookGenerics 'defining the VelbrookGenerics symbol prevents "
                  "including the code twice, therefore letting the user $include several helper "
                  "files without problem",
                  "$typecheck on", "$equalprec on"});
}

TEST(GenericBlockTest, HeaderKeepsItsTrailingBlank) {
  const std::string text = GenericBlockText();
  EXPECT_NE(text.find("\r\n' In that case, you must \r\n"), std::string::npos);
}

TEST(GenericBlockTest, PartOneEnds) {
  const std::vector<std::string> lines = Lines();
  const int end = Find(lines, "$endif 'end of part 1 -- declarations");
  ASSERT_GE(end, 3);
  ExpectAdjacent(lines, end - 3,
                 {"$ifndef DLL", "    ComInit 'API declares", "$endif",
                  "$endif 'end of part 1 -- declarations"});
}

TEST(GenericBlockTest, PartTwoFraming) {
  const std::vector<std::string> lines = Lines();
  const int start = Find(lines, "'-- part 2 -- implementations");
  ExpectAdjacent(
      lines, start,
      {"'-- part 2 -- implementations",
       "'if this .inc is included in a DLL, then only include it after the END "
       "statement",
       "$ifndef VelbrookGenerics2", "    '--- black magic", "    $ifndef DLL",
       "        $define doVelbrookGenerics2", "    $else",
       "        $ifdef doVelbrookGenerics2nexttime", "            $define doVelbrookGenerics2",
       "        $else", "            $define doVelbrookGenerics2nexttime", "        $endif",
       "    $endif", "    $ifndef doVelbrookGenerics2 'stop here for now", "    $else",
       "    '--- /black magic", "$define VelbrookGenerics2"});
  // The block ends with the closing framing and the footer.
  const int n = static_cast<int>(lines.size());
  ExpectAdjacent(lines, n - 9,
                 {"'--- black magic", "    $endif 'doVelbrookGenerics2", "'--- /black magic", "",
                  "$endif 'VelbrookGenerics2 -end of part 2 -- implementation", "",
                  "'----------- End of generic COM declarations and initialization", "", ""});
}

TEST(GenericBlockTest, TypesAndTheirFields) {
  const std::vector<std::string> lines = Lines();
  const int interface_type = Find(lines, "type INTERFACE 'generic IDispatch interface wrapper");
  ASSERT_GE(interface_type, 0);
  const int activex_type = Find(lines, "type ACTIVEX extends CANVAS 'generic ACTIVEX object");
  ASSERT_GE(activex_type, 0);
  auto field_word = [&](int index) {
    return lines[index].substr(4, lines[index].find(' ', 4) - 4);
  };
  const std::vector<std::string> interface_members = {
      "pointer",        "CreateObject",  "invoke",           "getnum",  "getstr",
      "QueryInterface", "ConnectEvents", "DisconnectEvents", "SetEvent"};
  for (size_t k = 0; k < interface_members.size(); ++k) {
    EXPECT_EQ(field_word(interface_type + 1 + k), interface_members[k]);
    EXPECT_NE(lines[interface_type + 1 + k].find(" '"), std::string::npos) << "comment";
  }
  EXPECT_EQ(lines[interface_type + 10], "end type");
  std::vector<std::string> activex_members = interface_members;
  activex_members[1] = "CreateActiveX";
  for (size_t k = 0; k < activex_members.size(); ++k) {
    EXPECT_EQ(field_word(activex_type + 1 + k), activex_members[k]);
  }
  EXPECT_NE(lines[interface_type + 2].find("(\"MSCAL.Calendar\")"), std::string::npos);
  EXPECT_NE(lines[activex_type + 2].find("(\"MSCAL.Calendar\")"), std::string::npos);
  EXPECT_EQ(lines[interface_type + 9],
            "    SetEvent as sub 'register a user-defined event handler: myobj.SetEvent(eventcode, "
            "codeptr(thesub))");
  ExpectAdjacent(lines, Find(lines, "type GUID"),
                 {"type GUID", "    d1 as integer", "    d23 as integer", "    d4 as integer",
                  "    d5 as integer", "end type"});
  const int disp = Find(lines, "type DISPPARAMS");
  ASSERT_GE(disp, 0);
  EXPECT_EQ(field_word(disp + 1), "rgvarg");
  EXPECT_EQ(field_word(disp + 2), "rgdispidnamedargs");
  EXPECT_EQ(field_word(disp + 3), "cArgs");
  EXPECT_EQ(field_word(disp + 4), "cNamedArgs");
  const int enum_type = Find(lines, "type ENUM");
  ExpectAdjacent(lines, enum_type - 6,
                 {"'dim foreach as ENUM, thisobj as INTERFACE",
                  "'foreach.Enum(an interface that is a collection of objects)",
                  "'   thisobj.pointer=foreach.NextItem",
                  "'   if thisobj.pointer then [do something with the object thus retrieved].",
                  "'       Note: you MUST test for thisobj.pointer<>0", "'foreach.EndEnum"});
  const char* fields[] = {"pointer", "loopstart", "nextfunction", "lastresult"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(
        lines[enum_type + 1 + k].rfind(std::string("    ") + fields[k] + " as integer=0 '", 0), 0u)
        << lines[enum_type + 1 + k];
  }
  ExpectAdjacent(lines, enum_type + 5,
                 {"    Enum as sub", "    NextItem as function", "    EndEnum as sub", "end type"});
}

TEST(GenericBlockTest, DeclarationsInOrder) {
  ExpectInOrder(
      Lines(),
      {"declare sub ComInit",
       "declare function WinErrorMsg(dwError as integer) as string",
       "declare function ANSI(lps as integer) as string",
       "declare sub setindirect(setindirectv as variant, setindirecti as integer)",
       "declare function GetIdOfName(methodname as string) as integer",
       "declare sub invokewrapper(calltype as integer, pretval as integer)",
       "declare sub ACTIVEXinvoke",
       "declare function ACTIVEXgetnum as double",
       "declare function ACTIVEXgetstr as string",
       "declare sub INTERFACEinvoke",
       "declare function INTERFACEgetnum as double",
       "declare function INTERFACEgetstr as string",
       "declare sub ConnectEvents(cestring as string)",
       "declare sub DisconnectEvents",
       "declare sub standardEventQueryInterface STD (pthis as integer, riid as integer, "
       "ppvObject as integer)",
       "declare sub standardEventReturn1 STD (pthis as integer)",
       "declare sub standardEventNOTIMPL1 STD (pthis as integer, p1 as integer)",
       "declare sub standardEventNOTIMPL3 STD (pthis as integer, p1 as integer, p2 as integer, "
       "p3 as integer)",
       "declare sub standardEventNOTIMPL5 STD (pthis as integer, p1 as integer, p2 as integer, "
       "p3 as integer, p4 as integer, p5 as integer)",
       "declare sub standardEventInvoke STD (pthis as integer, dispidMember as integer, lpriid "
       "as integer, lcid as integer, wFlags as integer, lpdispparams as integer, lpvarResult as "
       "integer, lpexcepinfo as integer, puArgErr as integer)",
       "declare sub SetEvent(dispidmember as integer, subptr as integer)",
       "declare sub INTERFACECreateObject(progid as string)",
       "declare sub ACTIVEXCreateActiveX(progid as string)",
       "declare function GetObject(gos as string) as integer",
       "declare function doqueryinterface(qipointer as integer, qistring as string) as integer",
       "declare function INTERFACEQueryInterface(qistring as string) as integer",
       "declare function ACTIVEXQueryInterface(qistring as string) as integer",
       "declare sub InterfaceAddRef(ipointer as integer)",
       "declare sub InterfaceRelease(ipointer as integer)",
       "declare sub ENUMEnum(enumintf as INTERFACE)",
       "declare function ENUMNextItem as integer",
       "declare sub ENUMEndEnum"});
}

TEST(GenericBlockTest, GlobalVariables) {
  ExpectInOrder(
      Lines(),
      {"defint Velbrookl, Velbrookpsub 'scratch variables", "void=&h80020004 'DISP_E_PARAMNOTFOUND",
       "byref(@void)=10 'variant type VT_ERROR", "byref(@nullvariant)=1 'variant type VT_NULL",
       "defint COMRESULT=-1 'set as result of all COM calls. 0=OK. other values mean error",
       "defint COMencoding=0 'change value if you use string arguments not encoded in ANSI, e.g. "
       "936 for Chinese GB encoding, 65001 for UTF-8",
       "dim standardEventsVtable(6) as integer",
       "standardEventsVtable(0)=codeptr(standardEventQueryInterface)",
       "standardEventsVtable(1)=codeptr(standardEventReturn1) 'AddRef",
       "standardEventsVtable(2)=codeptr(standardEventReturn1) 'Release",
       "standardEventsVtable(3)=codeptr(standardEventNOTIMPL1) 'GetTypeInfoCount",
       "standardEventsVtable(4)=codeptr(standardEventNOTIMPL3) 'GetTypeInfo",
       "standardEventsVtable(5)=codeptr(standardEventNOTIMPL5) 'GetIDsOfNames",
       "standardEventsVtable(6)=codeptr(standardEventInvoke) 'Invoke"});
}

// The identifiers' groups must agree with the GUID constants the renderer
// writes for the same GUID texts (letters aside, which keep their case).
TEST(GenericBlockTest, InterfaceIdentifiers) {
  const std::vector<std::string> lines = Lines();
  struct Known {
    const char* name;
    const char* guid;
  } known[] = {{"IID_IDispatch", "{00020400-0000-0000-C000-000000000046}"},
               {"IID_IUnknown", "{00000000-0000-0000-C000-000000000046}"},
               {"IID_IObjectWithSite", "{FC4801A3-2BA9-11CF-A229-00AA003D7352}"}};
  for (const Known& k : known) {
    const int with = Find(lines, std::string("with ") + k.name);
    ASSERT_GE(with, 1) << k.name;
    EXPECT_EQ(lines[with - 1].rfind(std::string("dim ") + k.name + " as GUID", 0), 0u);
    const render::GuidGroups g = render::GuidGroupsOf(k.guid);
    std::string expected =
        "    .d1=&h" + g.d1 + " : .d23=&h" + g.d23 + " : .d4=&h" + g.d4 + " : .d5=&h" + g.d5;
    std::string actual = lines[with + 1];
    std::transform(expected.begin(), expected.end(), expected.begin(), ::tolower);
    std::transform(actual.begin(), actual.end(), actual.begin(), ::tolower);
    EXPECT_EQ(actual, expected) << k.name;
    EXPECT_EQ(lines[with + 2], "end with");
  }
  EXPECT_GE(Find(lines, "    .d1=&hFC4801A3 : .d23=&h11cf2ba9 : .d4=&haa0029a2 : .d5=&h52733d00"),
            0);
  const int null_with = Find(lines, "with IID_Null");
  ASSERT_GE(null_with, 0);
  EXPECT_EQ(lines[null_with + 1], "    .d1=0 : .d23=0 : .d4=0 : .d5=0");
}

TEST(GenericBlockTest, ApiDeclaresWithTheirLibraries) {
  const std::vector<std::string> lines = Lines();
  const struct {
    const char* name;
    const char* library;
  } apis[] = {{"BindMoniker", "ole32"},
              {"CoInitialize", "ole32"},
              {"CoCreateInstance", "ole32"},
              {"CreateBindCtx", "ole32"},
              {"MkParseDisplayName", "ole32"},
              {"CLSIDFromProgID", "ole32.dll"},
              {"CLSIDFromString", "ole32.dll"},
              {"FormatMessageA", "kernel32"},
              {"MultiByteToWideChar", "kernel32"},
              {"WideCharToMultiByte", "kernel32"},
              {"RtlZeroMemory", "kernel32"},
              {"GlobalAlloc", "kernel32.dll"},
              {"GlobalFree", "kernel32.dll"},
              {"AtlAxWinInit", "ATL.DLL"},
              {"AtlAxCreateControl", "ATL.DLL"},
              {"AtlAxGetControl", "ATL.DLL"}};
  for (const auto& api : apis) {
    const std::string wanted =
        std::string(" ") + api.name + " lib \"" + api.library + "\" alias \"" + api.name + "\"";
    bool found = false;
    for (const std::string& line : lines) {
      if (line.find("declare ") != std::string::npos && line.find(wanted) != std::string::npos)
        found = true;
    }
    EXPECT_TRUE(found) << api.name;
  }
  ExpectInOrder(lines, {"sub ComInit", "    begin runonce", "        CoInitialize(0)",
                        "        AtlAxWinInit", "        $ifdef DLL",
                        "            eventconnections.initialize 20000 : eventconnections.size=0",
                        "            eventtable.initialize 20000 : eventtable.size=0",
                        "        $endif", "    end runonce", "end sub"});
}

TEST(GenericBlockTest, MessagesAndConstants) {
  const std::string text = GenericBlockText();
  for (const char* part :
       {"showmessage \"COM error\"+chr$(13)+\"dispid for \"+iwname+\" not found\"",
        "showmessage \"Couldn't find Class ID of object, type:\"+chr$(13)+progid",
        "showmessage \"Creation of object failed, "
        "type:\"+chr$(13)+progid+chr$(13)+WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"",
        "showmessage \"Couldn't get IDispatch of object, "
        "type:\"+chr$(13)+progid+chr$(13)+WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"",
        "showmessage \"Creation of \"+progid+\" object "
        "failed:\"+chr$(13)+WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"",
        "showmessage \"Error in .Enum: The collection does not support object enumeration.\"",
        "\"{B196B284-BAB4-101A-B69C-00AA00341D07}\"",
        "COMRESULT=&h80000003",
        "COMRESULT=&h80000005",
        "retval &h80004001",
        "FormatMessageA(&h1200, 0, dwError, 0, @wemsg, 260, 0)",
        "wemsg=space$(261)",
        "CoCreateInstance(@coclsid, 0, 21, @IID_IUnknown, hbObj)",
        "byref(iwvar)=&h4009",
        "iwputid=-3",
        "callfunc Velbrookpsub, @giddispid, &h400, 1, @gidnameptr, @IID_Null, byref(hbObj)",
        "callfunc Velbrookpsub, 0, 0, pretval, @iwparams, calltype, &h400, @IID_Null, iwdispid, "
        "byref(hbObj)",
        "Velbrookpsub=byref(byref(byref(hbObj))+24)",
        "Velbrookpsub=byref(byref(byref(hbObj))+20)",
        "invokewrapper(1, 0)",
        "invokewrapper(3, @gnv)",
        "getnum(\"_NewEnum\")",
        "if (byref(seiv) and &hFFFF)=&h400c then",
        "asm push ebx",
        "asm pop ebx"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  }
}

// Subs, functions, types and loops open and close in pairs.
TEST(GenericBlockTest, BlocksBalance) {
  int subs = 0, functions = 0, types = 0, withs = 0, fors = 0, whiles = 0, runonce = 0;
  for (const std::string& raw : Lines()) {
    const std::string line = raw.substr(std::min(raw.find_first_not_of(' '), raw.size()));
    auto starts = [&](const char* word) { return line.rfind(word, 0) == 0; };
    if (starts("sub ")) ++subs;
    if (line == "end sub") --subs;
    if (starts("function ")) ++functions;
    if (line == "end function") --functions;
    if (starts("type ")) ++types;
    if (line == "end type") --types;
    if (starts("with ")) ++withs;
    if (line == "end with") --withs;
    if (starts("for ")) ++fors;
    if (starts("next ")) --fors;
    if (starts("while ")) ++whiles;
    if (line == "wend") --whiles;
    if (line == "begin runonce") ++runonce;
    if (line == "end runonce") --runonce;
    EXPECT_GE(subs, 0);
    EXPECT_LE(subs, 1) << "nested sub at " << raw;
    EXPECT_LE(functions, 1) << raw;
  }
  EXPECT_EQ(subs, 0);
  EXPECT_EQ(functions, 0);
  EXPECT_EQ(types, 0);
  EXPECT_EQ(withs, 0);
  EXPECT_EQ(fors, 0);
  EXPECT_EQ(whiles, 0);
  EXPECT_EQ(runonce, 0);
}

// Every declared sub or function has exactly one implementation.
TEST(GenericBlockTest, EveryDeclarationIsImplemented) {
  const std::vector<std::string> lines = Lines();
  for (const std::string& line : lines) {
    for (const char* kind : {"sub", "function"}) {
      const std::string head = std::string("declare ") + kind + " ";
      if (line.rfind(head, 0) != 0) continue;
      std::string name = line.substr(head.size());
      name = name.substr(0, name.find_first_of(" ("));
      int implementations = 0;
      for (const std::string& other : lines) {
        const std::string start = std::string(kind) + " " + name;
        if (other.rfind(start, 0) == 0 &&
            (other.size() == start.size() || other[start.size()] == '(' ||
             other[start.size()] == ' ')) {
          ++implementations;
        }
      }
      EXPECT_EQ(implementations, 1) << name;
    }
  }
}

TEST(GenericBlockTest, WritingTwiceGivesTwoIdenticalCopies) {
  std::string out = "head\r\n";
  WriteGenericBlock(&out);
  const size_t first_end = out.size();
  WriteGenericBlock(&out);
  const std::string block = GenericBlockText();
  ASSERT_EQ(out.size(), 6 + 2 * block.size());
  EXPECT_TRUE(fakes::SameBytes(block, out.substr(6, block.size())));
  EXPECT_TRUE(fakes::SameBytes(block, out.substr(first_end)));
  EXPECT_EQ(out.substr(0, 6), "head\r\n");
}

TEST(GenericBlockTest, NoLineLongerThanTheLongestFixedLine) {
  // A line past this would mean text glued together by a missing comma.
  for (const std::string& line : Lines()) EXPECT_LT(line.size(), 400u) << line;
}

}  // namespace
}  // namespace velbrook::generic_block
