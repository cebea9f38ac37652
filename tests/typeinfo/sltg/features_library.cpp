// The SLTG test library: every type kind, dual and pure dispinterfaces, a
// coclass with default and source interfaces, constants of several types,
// help strings, references inside the library and to stdole.
#include "sltg_writer.h"

namespace velbrook::typeinfo::msft::sltg_testing {

namespace {

constexpr int kEnum = 0, kRecord = 1, kModule = 2, kInterface = 3, kDispatch = 4, kCoclass = 5,
              kAlias = 6, kUnion = 7;
constexpr uint16_t kIn = 1, kOut = 2, kLcid = 4, kRetval = 8;
constexpr uint16_t kDualFlags = 0x1140;  // dispatchable, OLE automation, dual

}  // namespace

Library FeaturesLibrary() {
  Library lib;
  lib.name = "VelbrookOld";
  lib.guid = "5B0F7A10-2C3D-4E5F-8091-A2B3C4D5E6F7";
  lib.help = "Velbrook SLTG fixture";
  lib.help_file = "old.hlp";
  lib.help_context = 7;
  lib.major = 2;
  lib.minor = 1;

  Type colour{kEnum, "Colour", "5B0F7A11-2C3D-4E5F-8091-A2B3C4D5E6F7"};
  colour.help = "The colours of a shape";
  colour.vars = {{"Red", 0x40000000, "INT", Var::kConstant, 1, true},
                 {"Green", 0x40000001, "INT", Var::kConstant, 2},
                 {"Huge", 0x40000002, "INT", Var::kConstant, 0x12345678},
                 {"Below", 0x40000003, "INT", Var::kConstant, -3, false, "", "Less than none"}};

  Type point{kRecord, "Point"};
  point.vars = {{"x", 0x40000000, "I4", Var::kInstance, 0},
                {"y", 0x40000001, "I4", Var::kInstance, 4},
                {"grid", 0x40000002, "CARRAY 2x3 I2", Var::kInstance, 8},
                {"name", 0x40000003, "BSTR", Var::kInstance, 20}};
  point.size = 24;

  Type number{kUnion, "Number"};
  number.vars = {{"whole", 0x40000000, "I4"}, {"real", 0x40000001, "R8"}};

  Type length{kAlias, "Length"};
  length.alias = "I4";
  Type point_ref{kAlias, "PointRef"};
  point_ref.alias = "PTR USER Point";

  Type tools{kModule, "Tools", "5B0F7A12-2C3D-4E5F-8091-A2B3C4D5E6F7"};
  tools.help = "Helper functions and constants";
  tools.funcs = {{"Beep", 0x60000000, 1, "VOID", {{"pitch", "I4"}}, 0, "Sounds a tone"},
                 {"Scale", 0x60000001, 1, "R8", {{"value", "R8"}, {"factor", "R8"}}}};
  tools.vars = {{"SmallLimit", 0x60000002, "I2", Var::kConstant, -5, true},
                {"BigLimit", 0x60000003, "I4", Var::kConstant, 100000},
                {"Ratio", 0x60000004, "R8", Var::kConstant, 0x3FF8000000000000},  // 1.5
                {"Greeting", 0x60000005, "BSTR", Var::kConstant, 0, false, "hello there"}};

  Type base{kInterface, "IBase", "5B0F7A13-2C3D-4E5F-8091-A2B3C4D5E6F7"};
  base.help = "A plain interface";
  base.impls = {{"stdole.IUnknown"}};
  base.first_slot = 3;
  base.funcs = {
      {"Name", 0x60010000, 2, "HRESULT", {{"value", "PTR BSTR", kOut | kRetval}}},
      {"Find",
       0x60010001,
       1,
       "HRESULT",
       {{"key", "BSTR"},
        {"where", "PTR PTR I4", kIn | kOut},
        {"locale", "I4", kLcid},
        {"start", "VARIANT"}},
       1,
       "Looks a key up",
       12},
      {"Items", 0x60010002, 1, "HRESULT", {{"list", "PTR SAFEARRAY BSTR", kOut}}},
      {"Parent", 0x60010003, 2, "HRESULT", {{"value", "PTR PTR USER IBase", kOut | kRetval}}}};

  Type shape{kInterface, "IShape", "5B0F7A14-2C3D-4E5F-8091-A2B3C4D5E6F7", kDualFlags, "Any shape"};
  shape.impls = {{"stdole.IDispatch"}};
  shape.first_slot = 7;
  shape.funcs = {
      {"Area", 1, 2, "HRESULT", {{"value", "PTR R8", kOut | kRetval}}, 0, "The area"},
      {"Move", 2, 1, "HRESULT", {{"dx", "I4"}, {"dy", "I4"}}},
      {"Colour", 3, 4, "HRESULT", {{"c", "USER Colour"}}},
      {"Colour", 3, 2, "HRESULT", {{"c", "PTR USER Colour", kOut | kRetval}}},
      {"Corner", 4, 1, "HRESULT", {{"where", "PTR USER Point"}, {"size", "USER Length"}}},
      {"Base", 5, 2, "HRESULT", {{"value", "PTR PTR USER IBase", kOut | kRetval}}}};

  Type circle{kInterface, "ICircle", "5B0F7A15-2C3D-4E5F-8091-A2B3C4D5E6F7", kDualFlags};
  circle.impls = {{"IShape"}};
  circle.first_slot = 13;
  circle.funcs = {{"Radius", 10, 2, "HRESULT", {{"r", "PTR R8", kOut | kRetval}}}};

  Type events{kDispatch, "ShapeEvents", "5B0F7A16-2C3D-4E5F-8091-A2B3C4D5E6F7", 0x1000};
  events.help = "What a shape tells";
  events.funcs = {{"Moved", 1, 1, "VOID", {{"x", "I4"}, {"y", "I4"}}, 0, "It moved"},
                  {"Resized", 2, 1, "VOID", {{"scale", "R8"}}}};
  events.vars = {{"Visible", 3, "BOOL", Var::kDispatch, 0, false, "", "Whether it shows"}};

  Type shape_class{kCoclass, "Circle", "5B0F7A17-2C3D-4E5F-8091-A2B3C4D5E6F7", 0x2, "A circle"};
  shape_class.impls = {{"IShape"}, {"ICircle", 1}, {"ShapeEvents", 3}};

  lib.types = {colour, point, number, length, point_ref,  tools,
               base,   shape, circle, events, shape_class};
  return lib;
}

Library PlainLibrary() {
  Library lib = FeaturesLibrary();
  lib.name = "VelbrookPlain";
  lib.guid = "5B0F7A20-2C3D-4E5F-8091-A2B3C4D5E6F7";
  std::vector<Type> types;
  for (Type t : lib.types) {
    // What Wine's oleaut32 reads wrongly: coded help strings, array bounds
    // and a dispinterface's IDispatch base.
    if (t.kind == kDispatch && !(t.flags & 0x40)) continue;
    t.help.clear();
    for (Func& f : t.funcs) f.help.clear();
    for (Var& v : t.vars) v.help.clear();
    if (t.name == "Point") t.vars.erase(t.vars.begin() + 2);
    if (t.name == "Circle") t.impls.back() = {"IBase", 2};
    if (!t.guid.empty()) t.guid[6] = '2';
    types.push_back(t);
  }
  lib.types = types;
  return lib;
}

}  // namespace velbrook::typeinfo::msft::sltg_testing
