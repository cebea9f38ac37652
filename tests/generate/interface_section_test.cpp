// Interface blocks and event blocks, byte-exact against the worked examples.
#include "generate/interface_section.h"

#include <gtest/gtest.h>

#include "fakes/text_compare.h"
#include "render/guid_constant.h"
#include "shapes_fake.h"

namespace velbrook::generate::testing {
namespace {

using fakes::SameBytes;

// GUID constants as the renderer writes them, for the expected texts.
std::string Guids(const TestRun& run, bool use_invoke,
                  const std::vector<std::pair<std::string, const typeinfo::Type*>>& constants) {
  render::RenderContext context;
  context.use_invoke = [use_invoke] { return use_invoke; };
  LookupProgIds prog_ids(&run.inputs.prog_id);
  std::string text;
  for (const auto& constant : constants) {
    const size_t split = constant.first.find('_') + 1;
    render::WriteGuidConstant(&context, constant.first.substr(0, split),
                              constant.first.substr(split), *constant.second, &prog_ids, &text);
  }
  return text;
}

constexpr char kHeading[] =
    "\r\n"
    "'--------------------------------\r\n"
    "'\r\n"
    "'Interface IShape\r\n"
    "'   default interface to object Shape - progID: Example.Shape\r\n"
    "'\r\n"
    "'--------------------------------\r\n"
    "\r\n";

constexpr char kEventBlock[] =
    "'EVENT INTERFACE DShapeEvents - events for Shape\r\n"
    "'Connection to the event interface:\r\n"
    "'    obj.ConnectEvents(\"{00000000-0000-0000-0000-000000000001}\") 'DShapeEvents\r\n"
    "'------\r\n"
    "\r\n";

struct ShapesRun {
  explicit ShapesRun(bool use_invoke)
      : contents(BuildTestContents(shapes.library, ShapesSources())),
        run(shapes.library, &contents, use_invoke) {
    run.prog_ids[kShapeGuid] = "Example.Shape";
    contents.lists.classes.SetChecked(0, true);  // Shape
  }
  ShapesFake shapes;
  TestContents contents;
  TestRun run;
};

TEST(GenerateInterfaceTest, VtableExample) {
  ShapesRun s(false);
  const std::string guids = Guids(s.run, false,
                                  {{"IID_IShape", s.shapes.shape_interface.get()},
                                   {"CLSID_Shape", s.shapes.shape.get()},
                                   {"IID_DShapeEvents", s.shapes.events.get()}});
  const std::string expected =
      std::string(kHeading) + guids +
      "type IShape\r\n"
      "    pointer as integer = 0                  ' pointer to interface vtable\r\n"
      "    nbeventsset as integer = 0     'number of user-defined event handlers set\r\n"
      "    eventpointers as string * 800  'buffer for event dispidmembers and pointers\r\n"
      "    SetEvent as sub      'sub used to register event handlers\r\n"
      "    CreateShape as sub                      ' create an instance of the Shape object\r\n"
      "end type '-(IShape)\r\n"
      "\r\n"
      "' Creation of Shape object\r\n"
      "declare sub ISHAPECreateShape\r\n"
      "sub ISHAPECreateShape\r\n"
      "CoCreateInstance(CLSID_Shape, 0, 21, IID_IShape, hbObj) 'CLSCTX_ALL\r\n"
      "COMRESULT=EAX\r\n"
      "if COMRESULT then showmessage \"Creation of Shape object failed:\"+chr$(13)+"
      "WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"\r\n"
      "end sub\r\n"
      "\r\n"
      "\r\n"
      "\r\n"  // body text: no members, written as one line
      "\r\n" +
      kEventBlock + "\r\n\r\n";
  EXPECT_TRUE(SameBytes(expected, s.run.Body(), "interface_vtable_example.inc"));
  EXPECT_TRUE(s.run.warnings.empty());
}

TEST(GenerateInterfaceTest, InvokeExample) {
  ShapesRun s(true);
  const std::string guids = Guids(s.run, true,
                                  {{"IID_IShape", s.shapes.shape_interface.get()},
                                   {"CLSID_Shape", s.shapes.shape.get()},
                                   {"IID_DShapeEvents", s.shapes.events.get()}});
  const std::string expected =
      std::string(kHeading) + guids +
      "' Creation of Shape object\r\n"
      "'dim intf as INTERFACE : intf.CreateObject(\"Example.Shape\") 'Shape\r\n"
      "\r\n"
      "\r\n"
      "\r\n"
      "\r\n" +
      kEventBlock + "\r\n\r\n";
  EXPECT_TRUE(SameBytes(expected, s.run.Body(), "interface_invoke_example.inc"));
  EXPECT_EQ(expected.find("type "), std::string::npos);
}

TEST(GenerateInterfaceTest, MembersGoToBodyAndType) {
  ShapesRun s(false);
  auto move = std::make_shared<FakeMember>("Move");
  move->SetValueType(Vt(25)).SetVTableOffset(28);
  s.shapes.shape_interface->AddMember(move);
  const std::string body = s.run.Body();
  // One TYPE line per member inside the type, after the Create line, and
  // the member's block in the body text after the creators.
  const size_t create = body.find("    CreateShape as sub");
  const size_t end_type = body.find("end type '-(IShape)");
  ASSERT_NE(create, std::string::npos);
  const std::string type_line =
      body.substr(body.find("\r\n", create) + 2, end_type - body.find("\r\n", create) - 2);
  EXPECT_EQ(type_line.substr(0, 4), "    ");
  EXPECT_NE(type_line.find("Move"), std::string::npos);
  EXPECT_EQ(type_line.find("\r\n"), type_line.size() - 2);  // exactly one line
  EXPECT_NE(body.find("Move", body.find("end sub")), std::string::npos);
}

TEST(GenerateInterfaceTest, TwoClassesShareOneBlockEvenAfterResort) {
  ShapesFake shapes;
  auto circle = Coclass("Circle", "{C1C1C1C1-0000-0000-0000-000000000000}", shapes.shape_interface);
  shapes.library.AddClass(circle);
  for (bool resort : {false, true}) {
    TestContents contents = BuildTestContents(shapes.library, ShapesSources());
    if (resort) {
      // Hidden numbers descending: IDrawing, Circle, Shape.
      contents.lists.classes.SortByColumn(kClassHiddenColumn, true);
      ASSERT_EQ(contents.lists.classes.CellText(1, kObjectClassesColumn), "Circle");
    }
    for (size_t r = 0; r < contents.lists.classes.RowCount(); ++r) {
      if (!contents.lists.classes.CellText(r, kObjectClassesColumn).empty()) {
        contents.lists.classes.SetChecked(r, true);
      }
    }
    TestRun run(shapes.library, &contents, false);
    const std::string body = run.Body();
    SCOPED_TRACE(resort ? "re-sorted" : "as added");
    EXPECT_EQ(body.find("'Interface IShape"), body.rfind("'Interface IShape"));
    const std::string first = resort ? "Circle" : "Shape";
    const std::string second = resort ? "Shape" : "Circle";
    EXPECT_NE(body.find("'   default interface to object " + first +
                        "\r\n'   default interface to object " + second + "\r\n"),
              std::string::npos);
    EXPECT_NE(body.find("    Create" + first), std::string::npos);
    EXPECT_NE(body.find("    Create" + second), std::string::npos);
    EXPECT_NE(body.find("sub ISHAPECreateCircle\r\n"), std::string::npos);
  }
}

TEST(GenerateInterfaceTest, PlainRowForWrittenInterfaceWritesNothing) {
  ShapesFake shapes;
  TestContents contents = BuildTestContents(shapes.library, ShapesSources());
  contents.lists.classes.CheckAll();
  TestRun run(shapes.library, &contents, true);
  const std::string with_drawing = run.Body();
  // A second interface row leading to IShape: appended by hand.
  shapes.library.AddInterface(shapes.shape_interface);
  contents.maps.AddInterfaceRow(4);
  contents.lists.classes.AddRow({"IShape", "", "", "2"}, 2, true);
  EXPECT_TRUE(SameBytes(with_drawing, run.Body()));
}

TEST(GenerateInterfaceTest, LongClassNameGetsNoPadding) {
  ShapesFake shapes;
  FakeLibrary library;
  const std::string name(27, 'L');
  auto iface = fakes::Interface("ILong", {shapes.dispatch});
  iface->SetVTableInterface(iface);
  iface->MemberList();
  library.AddClass(Coclass(name, "{0}", iface)).AddInterface(iface);
  TestContents contents = BuildTestContents(library, {});
  contents.lists.classes.CheckAll();
  TestRun run(library, &contents, false);
  EXPECT_NE(run.Body().find("    Create" + name + " as sub' create an instance of the " + name +
                            " object\r\n"),
            std::string::npos);
}

TEST(GenerateInterfaceTest, ActiveXCreatorsInBothModes) {
  ShapesFake shapes;
  shapes.shape->SetTypeFlags(0x22);
  for (bool invoke : {false, true}) {
    TestContents contents = BuildTestContents(shapes.library, ShapesSources());
    contents.lists.classes.SetChecked(0, true);
    TestRun run(shapes.library, &contents, invoke);  // no ProgID: the GUID text
    const std::string body = run.Body();
    if (invoke) {
      EXPECT_NE(
          body.find("' Creation of Shape object\r\n'dim obj as ACTIVEX : obj.CreateActiveX(\"" +
                    std::string(kShapeGuid) + "\") 'Shape\r\n\r\n"),
          std::string::npos);
      continue;
    }
    EXPECT_NE(body.find("type IShape extends CANVAS\r\n"), std::string::npos);
    const std::string fail =
        "\"+chr$(13)+WinErrorMsg(COMRESULT)+\" (&h\"+hex$(COMRESULT)+\")\"\r\n";
    const std::string creator =
        "' Creation of Shape object\r\n"
        "declare sub ISHAPECreateShape\r\n"
        "sub ISHAPECreateShape\r\n"
        "'convert progID (or CLSID) to Unicode\r\n"
        "defstr progid=\"" +
        std::string(kShapeGuid) +
        "\"\r\n"
        "Velbrookl=MultiByteToWideChar(0,0,@progid,-1,0,0)\r\n"
        "defstr wprogid=space$(Velbrookl+Velbrookl)\r\n"
        "Velbrookl=MultiByteToWideChar(0,0,@progid,-1,@wprogid,Velbrookl)\r\n"
        "'create control and bind it to hWnd\r\n"
        "COMRESULT=AtlAxCreateControl(@wprogid,hbHnd,0,0)\r\n"
        "if COMRESULT then showmessage \"Creation of Shape object failed:" +
        fail +
        "'get IUnknown interface of the object created\r\n"
        "COMRESULT=AtlAxGetControl(hbHnd,hbObj) 'get IUnknown of the control\r\n"
        "if COMRESULT then showmessage \"Creation of Shape object failed:" +
        fail +
        "'attach event interface\r\n"
        "COMRESULT=AtlAdvise(byref(hbObj), @pstandardEventsVtable, IID_IDispatch, @Velbrookl)\r\n"
        "if COMRESULT then showmessage \"Connection of Shape event handler failed:" +
        fail +
        "'QueryInterface to get IDispatch interface of the object created\r\n"
        "Velbrookpsub=byref(byref(byref(hbObj))) 'QueryInterface\r\n"
        "'and store it in .pointer\r\n"
        "callfunc Velbrookpsub, hbObj, @IID_IDispatch, byref(hbObj)\r\n"
        "COMRESULT=EAX\r\n"
        "if COMRESULT then showmessage \"Creation of Shape object failed:" +
        fail + "end sub\r\n\r\n\r\n";
    EXPECT_NE(body.find(creator), std::string::npos) << body;
  }
}

TEST(GenerateInterfaceTest, WarningsGoToTheSinkAndTheBlockIsWritten) {
  FakeLibrary library;
  auto pure = fakes::Interface("DPure", {Dispatch()});  // no vtable side
  pure->MemberList();
  auto plain = fakes::Interface("IPlain", {fakes::Interface("IUnknown")});
  plain->SetVTableInterface(plain);
  plain->MemberList();
  library.AddInterface(pure).AddInterface(plain);
  TestContents contents = BuildTestContents(library, {});
  contents.lists.classes.CheckAll();
  TestRun vtable(library, &contents, false);
  EXPECT_NE(vtable.Body().find("'Interface DPure"), std::string::npos);
  ASSERT_EQ(vtable.warnings.size(), 1u);
  EXPECT_EQ(vtable.warnings[0],
            "Sorry, interface DPure probably won't be functional.\r\n\r\n"
            "(it is based on Invoke and can't be accessed from a VTable.)");
  TestRun invoke(library, &contents, true);
  EXPECT_NE(invoke.Body().find("'Interface IPlain"), std::string::npos);
  ASSERT_EQ(invoke.warnings.size(), 1u);
  EXPECT_EQ(invoke.warnings[0],
            "Sorry, interface IPlain probably won't be functional.\r\n\r\n"
            "(it is not based on Invoke and must be accessed from its VTable.)");
}

TEST(GenerateInterfaceTest, InterfaceWithoutAnyMemberList) {
  FakeLibrary library;
  auto bare = fakes::Interface("IBare", {Dispatch()});
  library.AddClass(Coclass("Bare", "{B}", bare)).AddInterface(bare);
  TestContents contents = BuildTestContents(library, {});
  contents.lists.classes.CheckAll();
  TestRun run(library, &contents, false);
  const std::string body = run.Body();
  // Type with its fixed field and Create line, then no creators at all.
  EXPECT_NE(body.find("    CreateBare as sub"), std::string::npos);
  EXPECT_NE(body.find("end type '-(IBare)\r\n\r\n\r\n\r\n"), std::string::npos);
  EXPECT_EQ(body.find("' Creation of"), std::string::npos);
}

// Event blocks.
TEST(GenerateEventTest, StandAloneExample) {
  ShapesFake shapes;
  TestContents contents = BuildTestContents(shapes.library, ShapesSources());
  contents.lists.events.CheckAll();
  TestRun run(shapes.library, &contents, true);
  EXPECT_TRUE(SameBytes(
      std::string("\r\n'--------------------------------\r\n'\r\n") + kEventBlock + "\r\n",
      run.Body(), "event_standalone_example.inc"));
}

TEST(GenerateEventTest, WrittenInsideInterfaceBlockIsNotRepeated) {
  ShapesRun s(true);
  s.contents.lists.events.CheckAll();
  const std::string body = s.run.Body();
  EXPECT_EQ(body.find("'EVENT INTERFACE"), body.rfind("'EVENT INTERFACE"));
  EXPECT_EQ(body.substr(body.size() - 4), "\r\n\r\n");
}

TEST(GenerateEventTest, TwoRowsForOneInterfaceWriteOneBlock) {
  ShapesFake shapes;
  TestContents contents = BuildTestContents(shapes.library, ShapesSources());
  contents.maps.AddEventRow(2);
  contents.lists.events.AddRow({"DShapeEvents", "Shape", "", "1"}, 1, true);
  contents.lists.events.CheckAll();
  TestRun run(shapes.library, &contents, true);
  const std::string body = run.Body();
  EXPECT_EQ(body.find("'EVENT INTERFACE"), body.rfind("'EVENT INTERFACE"));
}

TEST(GenerateEventTest, SharedEventInterfaceIsWrittenOncePerClassInsideTheBlock) {
  ShapesFake shapes;
  auto circle = Coclass("Circle", "{C1}", shapes.shape_interface);
  circle->SetDefaultEventInterface(shapes.events);
  shapes.library.AddClass(circle);
  TestContents contents =
      BuildTestContents(shapes.library, {{"DShapeEvents", "Shape (default), Circle (default)"}});
  contents.lists.classes.CheckAll();
  contents.lists.events.CheckAll();
  TestRun run(shapes.library, &contents, true);
  const std::string body = run.Body();
  const std::string heading =
      "'EVENT INTERFACE DShapeEvents - events for Shape (default), Circle (default)\r\n";
  const size_t first = body.find(heading);
  ASSERT_NE(first, std::string::npos);
  const size_t second = body.find(heading, first + 1);
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(body.find(heading, second + 1), std::string::npos);
}

TEST(GenerateEventTest, NotDispatchBasedWarnsAndWithoutMembersWritesSeparatorsOnly) {
  FakeLibrary library;
  auto events = fakes::Interface("IVtableEvents", {fakes::Interface("IUnknown")});
  library.AddInterface(events);  // no member list
  TestContents contents = BuildTestContents(library, {{"IVtableEvents", "Thing"}});
  contents.lists.events.CheckAll();
  TestRun run(library, &contents, true);
  EXPECT_TRUE(SameBytes("\r\n'--------------------------------\r\n'\r\n\r\n", run.Body()));
  ASSERT_EQ(run.warnings.size(), 1u);
  EXPECT_EQ(run.warnings[0],
            "Event interface IVtableEvents\r\nprobably won't be functional.\r\n\r\n"
            "(It is not based on Invoke. Velbrook doesn't support this.)");
}

TEST(GenerateEventTest, ObjectClassWarningNamesTheClass) {
  ShapesFake shapes;
  auto events = fakes::Interface("IVtableEvents", {fakes::Interface("IUnknown")});
  events->MemberList();
  shapes.shape->SetDefaultEventInterface(events);
  shapes.library.AddInterface(events);
  TestContents contents = BuildTestContents(shapes.library, {{"IVtableEvents", "Shape"}});
  contents.lists.classes.SetChecked(0, true);
  TestRun run(shapes.library, &contents, true);
  run.Body();
  ASSERT_FALSE(run.warnings.empty());
  EXPECT_EQ(run.warnings.back(),
            "Warning: Event handler for object Shape\r\nprobably won't be functional.\r\n\r\n"
            "(It is not based on Invoke. Velbrook doesn't support this.)");
}

TEST(GenerateEventTest, UnknownOwnerFallsBackToTheFirstOwnersLine) {
  ShapesFake shapes;
  TestContents contents = BuildTestContents(shapes.library, {{"Other", "Somebody"}});
  contents.maps.AddEventRow(2);  // DShapeEvents, not a source name
  contents.lists.events.AddRow({"DShapeEvents", "", "", "0"}, 0, true);
  TestRun run(shapes.library, &contents, true);
  EXPECT_NE(run.Body().find("'EVENT INTERFACE DShapeEvents - events for Somebody\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace velbrook::generate::testing
