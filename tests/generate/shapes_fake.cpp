// The shapes example built from fakes.
#include "shapes_fake.h"

namespace velbrook::generate::testing {

typeinfo::Variant Int4(int32_t value) {
  typeinfo::Variant v;
  v.vt = 3;
  v.SetInt64(static_cast<uint32_t>(value));
  return v;
}

ShapesFake::ShapesFake() {
  dispatch = Dispatch();
  shape_interface = fakes::Interface("IShape", {dispatch});
  shape_interface->SetGuidText("{25CA9503-06D2-413C-9AFF-75561CC7353C}");
  shape_interface->SetVTableInterface(shape_interface);  // a vtable interface is its own
  shape_interface->MemberList();                         // present, empty
  events = fakes::Interface("DShapeEvents", {dispatch});
  events->SetGuidText(kEventsGuid);
  events->MemberList();
  shape = Coclass("Shape", kShapeGuid, shape_interface);
  shape->SetDefaultEventInterface(events);
  drawing = fakes::Interface("IDrawing", {dispatch});
  drawing->SetGuidText("{6B6E4E0A-0000-0000-0000-000000000002}");
  drawing->MemberList();

  point = Record("Point");
  point->AddMember(Field("x", 3)).AddMember(Field("y", 3));
  rect = Record("Rect");
  rect->AddMember(RecordField("topLeft", point)).AddMember(RecordField("bottomRight", point));

  colors = std::make_shared<FakeType>("Colors", typeinfo::kTypeKindEnum);
  colors->SetHelpString("The colors of a shape");
  auto red = std::make_shared<FakeMember>("clrRed");
  red->SetInvokeKind(typeinfo::kInvokeData).SetConstantValue(Int4(255));
  auto green = std::make_shared<FakeMember>("clrGreen");
  green->SetInvokeKind(typeinfo::kInvokeData).SetConstantValue(Int4(65280));
  colors->AddMember(red).AddMember(green);

  library.AddClass(shape);
  library.AddInterface(shape_interface).AddInterface(events).AddInterface(drawing);
  library.AddRecord(point).AddRecord(rect);
  library.AddEnumeration(colors);
}

SourceList ShapesSources() { return {{"DShapeEvents", "Shape"}}; }

}  // namespace velbrook::generate::testing
