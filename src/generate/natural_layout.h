// The layout a Windows C compiler gives records and unions for a given
// pointer size: each field at the next multiple of its alignment, the
// alignment capped by the record's packing. A 64-bit library stores its
// records laid out for 8-byte pointers; the 32-bit program the include file
// is for needs them laid out for 4-byte pointers, which this works out from
// the field types (the library's alignment of a record stands for its
// packing: no field type is aligned more strictly for 4-byte pointers than
// for 8-byte ones).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::generate {

// No real record comes near this size; a larger one is taken for a corrupt
// library's, whose layout is not followed.
inline constexpr uint64_t kMaxRecordBytes = uint64_t(1) << 24;

// Elements of a fixed-size array with these bounds (1 without bounds; 0 for
// a conformant array, whose bounds are 0 TO -1); false when an upper bound
// lies below its lower bound's predecessor or the count passes
// kMaxRecordBytes.
bool ArrayElementCount(const std::vector<typeinfo::ArrayBound>& bounds, uint64_t* count);

struct NaturalShape {
  uint64_t size = 0;
  uint32_t alignment = 1;
};

struct NaturalRecordLayout {
  bool known = false;
  NaturalShape shape;
  // One offset per member that Members() delivers (null items left out).
  std::vector<uint64_t> offsets;
  // Why the layout is not known: names the field whose type has none.
  std::string problem;
};

class NaturalLayouts {
 public:
  explicit NaturalLayouts(uint32_t pointer_size) : pointer_size_(pointer_size) {}

  // The layout of a record or union; computed once per type.
  const NaturalRecordLayout& Of(const typeinfo::Type& type) { return Of(type, 0); }

  // Size and alignment of a field's type; false when not known.
  bool ShapeOf(const typeinfo::TypeDescriptor& type, NaturalShape* shape, std::string* problem) {
    return ShapeOf(type, 0, shape, problem);
  }

 private:
  const NaturalRecordLayout& Of(const typeinfo::Type& type, int depth);
  bool ShapeOf(const typeinfo::TypeDescriptor& type, int depth, NaturalShape* shape,
               std::string* problem);
  bool ElementShape(const typeinfo::TypeDescriptor& type, int32_t vt, int depth,
                    NaturalShape* shape, std::string* problem);
  NaturalRecordLayout Compute(const typeinfo::Type& type, int depth);

  uint32_t pointer_size_;
  std::unordered_map<const typeinfo::Type*, NaturalRecordLayout> done_;
  std::unordered_set<const typeinfo::Type*> active_;  // being laid out: a loop
};

}  // namespace velbrook::generate
