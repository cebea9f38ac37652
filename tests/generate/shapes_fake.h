// The IShape / Shape / DShapeEvents example as an in-memory library, with
// the Point and Rect records and the Colors enumeration.
#pragma once

#include <memory>

#include "generate_fakes.h"

namespace velbrook::generate::testing {

struct ShapesFake {
  ShapesFake();
  FakeLibrary library;
  std::shared_ptr<FakeType> dispatch, shape_interface, events, shape, drawing, point, rect, colors;
};

inline constexpr char kShapeGuid[] = "{D81FEB2D-C273-4B7E-8535-936455038944}";
inline constexpr char kEventsGuid[] = "{00000000-0000-0000-0000-000000000001}";

// Shape's entry in the source lists: DShapeEvents, events for Shape.
SourceList ShapesSources();

typeinfo::Variant Int4(int32_t value);

}  // namespace velbrook::generate::testing
