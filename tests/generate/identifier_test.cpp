// Names from real libraries that are no HotBasic identifiers, reserved or
// equal but for case: how the $define groups, record TYPEs and wrappers
// write them, note them and warn once.
#include <gtest/gtest.h>

#include "fakes/text_compare.h"
#include "shapes_fake.h"

namespace velbrook::generate::testing {
namespace {

using fakes::SameBytes;

std::shared_ptr<FakeType> Enumeration(const std::string& name,
                                      const std::vector<std::pair<std::string, int32_t>>& values) {
  auto enumeration = std::make_shared<FakeType>(name, typeinfo::kTypeKindEnum);
  for (const auto& [member, value] : values) {
    auto constant = std::make_shared<FakeMember>(member);
    constant->SetConstantValue(Int4(value));
    enumeration->AddMember(constant);
  }
  return enumeration;
}

// A run with every row of the four lists checked.
struct Generated {
  std::string body;
  std::vector<std::string> warnings;
};

Generated GenerateAll(const FakeLibrary& library, bool use_invoke) {
  TestContents contents = BuildTestContents(library, {});
  contents.lists.classes.CheckAll();
  contents.lists.events.CheckAll();
  contents.lists.types.CheckAll();
  contents.lists.enumerations.CheckAll();
  TestRun run(library, &contents, use_invoke);
  std::string body = run.Body();
  return {std::move(body), run.warnings};
}

TEST(IdentifierTest, DefineNamesFromRealLibraries) {
  FakeLibrary library;
  library.AddEnumeration(Enumeration("Cursors", {{"Size NE SW", 6},
                                                 {"I-Beam", 3},
                                                 {".NET", 1},
                                                 {"0 (Pixel)", 0},
                                                 {"Arrow", 1},
                                                 {"Arrow", 2},
                                                 {"ARROW", 3},
                                                 {"Dim", 4}}));
  // $define names are one scope across every enumeration of the file.
  library.AddEnumeration(Enumeration("More", {{"arrow", 9}, {"Hand", 5}}));
  const Generated run = GenerateAll(library, true);
  EXPECT_TRUE(SameBytes(
      "' CursorsEnumeration\r\n"
      "  'renamed \"Size NE SW\" to Size_NE_SW: not a HotBasic identifier\r\n"
      "  $define Size_NE_SW 6\r\n"
      "  'renamed \"I-Beam\" to I_Beam: not a HotBasic identifier\r\n"
      "  $define I_Beam 3\r\n"
      "  'renamed \".NET\" to _NET: not a HotBasic identifier\r\n"
      "  $define _NET 1\r\n"
      "  'renamed \"0 (Pixel)\" to _0__Pixel_: not a HotBasic identifier\r\n"
      "  $define _0__Pixel_ 0\r\n"
      "  $define Arrow 1\r\n"
      "  'renamed \"Arrow\" to Arrow_2: the name is already used (HotBasic ignores case)\r\n"
      "  $define Arrow_2 2\r\n"
      "  'renamed \"ARROW\" to ARROW_3: the name is already used (HotBasic ignores case)\r\n"
      "  $define ARROW_3 3\r\n"
      "  'renamed \"Dim\" to Dim_: a word HotBasic or the generic COM block reserves\r\n"
      "  $define Dim_ 4\r\n"
      "\r\n"
      "' MoreEnumeration\r\n"
      "  'renamed \"arrow\" to arrow_4: the name is already used (HotBasic ignores case)\r\n"
      "  $define arrow_4 9\r\n"
      "  $define Hand 5\r\n"
      "\r\n",
      run.body));
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0].find("Sorry, 8 names of this library could not be written as they "
                                 "are and were renamed:\r\n\r\nrenamed \"Size NE SW\""),
            0u)
      << run.warnings[0];
}

TEST(IdentifierTest, ValidNamesLeaveNoNoteAndNoWarning) {
  ShapesFake shapes;
  const Generated run = GenerateAll(shapes.library, false);
  EXPECT_EQ(run.body.find("renamed"), std::string::npos);
  for (const std::string& warning : run.warnings) {
    EXPECT_EQ(warning.find("renamed"), std::string::npos) << warning;
  }
}

// A reserved record name is renamed where the record is written and where a
// field names it, so the embedding still finds it; fields are renamed in
// their line.
TEST(IdentifierTest, RecordNamesAndFields) {
  FakeLibrary library;
  auto params = Record("DISPPARAMS");
  params->AddMember(Field("c Args", 3)).AddMember(Field("End", 3));
  auto holder = Record("Holder");
  holder->AddMember(RecordField("args", params));
  library.AddRecord(params);
  library.AddRecord(holder);
  const Generated run = GenerateAll(library, true);
  EXPECT_TRUE(SameBytes(
      "  TYPE DISPPARAMS_ 'renamed \"DISPPARAMS\" to DISPPARAMS_: a word HotBasic or the "
      "generic COM block reserves\r\n"
      "     c_Args as LONG '[VT_I4] 'renamed \"c Args\" to c_Args: not a HotBasic identifier\r\n"
      "     End_ as LONG '[VT_I4] 'renamed \"End\" to End_: a word HotBasic or the generic COM "
      "block reserves\r\n"
      "  END TYPE\r\n"
      "\r\n"
      "  TYPE Holder\r\n"
      "    'embedded args as DISPPARAMS_\r\n"
      "     args_c_Args as LONG '[VT_I4] 'renamed \"c Args\" to c_Args: not a HotBasic "
      "identifier\r\n"
      "     args_End_ as LONG '[VT_I4] 'renamed \"End\" to End_: a word HotBasic or the generic "
      "COM block reserves\r\n"
      "    'end of embedded args\r\n"
      "  END TYPE\r\n"
      "\r\n",
      run.body));
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0].find("Sorry, 3 names "), 0u) << run.warnings[0];
}

// Interface and class names go into the wrapper TYPE, the GUID constants
// and the creators; the heading notes the renamings.
TEST(IdentifierTest, WrapperNames) {
  FakeLibrary library;
  auto iface = fakes::Interface("Bad Face", {Dispatch()});
  iface->SetVTableInterface(iface);
  iface->MemberList();
  library.AddClass(Coclass("My Class", "{0}", iface)).AddInterface(iface);
  const Generated run = GenerateAll(library, false);
  const std::string& body = run.body;
  EXPECT_NE(body.find("'Interface Bad_Face\r\n"
                      "'renamed \"Bad Face\" to Bad_Face: not a HotBasic identifier\r\n"
                      "'   default interface to object My_Class\r\n"
                      "'renamed \"My Class\" to My_Class: not a HotBasic identifier\r\n"),
            std::string::npos)
      << body;
  for (const char* line :
       {"dim IID_Bad_Face as GUID\r\n", "dim CLSID_My_Class as GUID\r\n", "type Bad_Face\r\n",
        "    CreateMy_Class as sub", "declare sub BAD_FACECreateMy_Class\r\n",
        "CoCreateInstance(CLSID_My_Class, 0, 21, IID_Bad_Face, hbObj)",
        "end type '-(Bad_Face)\r\n"}) {
    EXPECT_NE(body.find(line), std::string::npos) << line;
  }
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0].find("Sorry, 2 names "), 0u) << run.warnings[0];
}

}  // namespace
}  // namespace velbrook::generate::testing
