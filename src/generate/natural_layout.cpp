// Field shapes by VT as Windows compilers lay them out, and records and
// unions built from them. Records nest by value, so the walk is bounded in
// depth and remembers every type it has laid out.
#include "generate/natural_layout.h"

#include <algorithm>

#include "typeinfo/type_mapping.h"

namespace velbrook::generate {
namespace {

// Deeper nesting than any real library has: taken for a corrupt one.
constexpr int kMaxDepth = 64;

uint64_t RoundUp(uint64_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

bool IsPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

}  // namespace

bool ArrayElementCount(const std::vector<typeinfo::ArrayBound>& bounds, uint64_t* count) {
  *count = 1;
  for (const typeinfo::ArrayBound& bound : bounds) {
    const int64_t extent = int64_t(bound.upper) - int64_t(bound.lower) + 1;
    if (extent < 0 || uint64_t(extent) > kMaxRecordBytes) return false;
    *count *= uint64_t(extent);
    if (*count > kMaxRecordBytes) return false;
  }
  return true;
}

const NaturalRecordLayout& NaturalLayouts::Of(const typeinfo::Type& type, int depth) {
  auto found = done_.find(&type);
  if (found != done_.end()) return found->second;
  NaturalRecordLayout layout;
  if (depth > kMaxDepth) {
    layout.problem = "records nest more than " + std::to_string(kMaxDepth) + " deep";
  } else if (!active_.insert(&type).second) {
    layout.problem = "record " + type.Name() + " contains itself";
  } else {
    layout = Compute(type, depth);
    active_.erase(&type);
  }
  return done_.emplace(&type, std::move(layout)).first->second;
}

NaturalRecordLayout NaturalLayouts::Compute(const typeinfo::Type& type, int depth) {
  NaturalRecordLayout layout;
  const uint32_t packing = type.Alignment();
  if (!IsPowerOfTwo(packing) || packing > 16) {
    layout.problem = type.Name() + " has the alignment " + std::to_string(packing);
    return layout;
  }
  const bool is_union = type.TypeKind() == typeinfo::kTypeKindUnion;
  uint64_t end = 0;
  uint32_t alignment = 1;
  const typeinfo::MemberList* members = type.Members();
  const uint32_t count = typeinfo::WalkCount(members);
  for (uint32_t i = 1; i <= count; ++i) {
    const typeinfo::Member* member = members->Item(i);
    if (member == nullptr) continue;
    NaturalShape field;
    std::string why = "no type";
    if (member->ValueType() == nullptr || !ShapeOf(*member->ValueType(), depth, &field, &why)) {
      layout.problem = "field " + member->Name() + " of " + type.Name() + ": " + why;
      return layout;
    }
    const uint32_t field_alignment = std::min(field.alignment, packing);
    const uint64_t offset = is_union ? 0 : RoundUp(end, field_alignment);
    layout.offsets.push_back(offset);
    end = std::max(end, offset + field.size);
    alignment = std::max(alignment, field_alignment);
    if (end > kMaxRecordBytes) {
      layout.problem =
          type.Name() + " is larger than " + std::to_string(kMaxRecordBytes) + " bytes";
      return layout;
    }
  }
  layout.known = true;
  layout.shape = {RoundUp(end, alignment), alignment};
  return layout;
}

bool NaturalLayouts::ShapeOf(const typeinfo::TypeDescriptor& type, int depth, NaturalShape* shape,
                             std::string* problem) {
  if (type.PointerLevel() > 0) {
    *shape = {pointer_size_, pointer_size_};
    return true;
  }
  int32_t vt = type.VarType();
  if (vt & typeinfo::kVarTypeArrayFlag) {  // a SAFEARRAY pointer
    *shape = {pointer_size_, pointer_size_};
    return true;
  }
  uint64_t count = 1;
  if (vt & typeinfo::kVarTypeVectorFlag) {
    if (!ArrayElementCount(type.ArrayBounds(), &count)) {
      *problem = "array bounds out of range";
      return false;
    }
    vt &= ~typeinfo::kVarTypeVectorFlag;
  }
  NaturalShape element;
  if (!ElementShape(type, vt, depth, &element, problem)) return false;
  if (count > 0 && element.size > kMaxRecordBytes / count) {
    *problem = "larger than " + std::to_string(kMaxRecordBytes) + " bytes";
    return false;
  }
  *shape = {element.size * count, element.alignment};
  return true;
}

bool NaturalLayouts::ElementShape(const typeinfo::TypeDescriptor& type, int32_t vt, int depth,
                                  NaturalShape* shape, std::string* problem) {
  const uint32_t pointer = pointer_size_;
  switch (vt) {
    case 16:  // VT_I1
    case 17:  // VT_UI1
      *shape = {1, 1};
      return true;
    case 2:   // VT_I2
    case 18:  // VT_UI2
    case 11:  // VT_BOOL
      *shape = {2, 2};
      return true;
    case 3:   // VT_I4
    case 19:  // VT_UI4
    case 22:  // VT_INT
    case 23:  // VT_UINT
    case 4:   // VT_R4
    case 10:  // VT_ERROR
    case 25:  // VT_HRESULT
      *shape = {4, 4};
      return true;
    case 5:   // VT_R8
    case 7:   // VT_DATE
    case 6:   // VT_CY
    case 20:  // VT_I8
    case 21:  // VT_UI8
      *shape = {8, 8};
      return true;
    case 64:  // VT_FILETIME: two DWORDs
      *shape = {8, 4};
      return true;
    case 8:   // VT_BSTR
    case 9:   // VT_DISPATCH
    case 13:  // VT_UNKNOWN
    case 24:  // VT_VOID: only met as the target of a pointer removed in an array
    case 26:  // VT_PTR
    case 27:  // VT_SAFEARRAY
    case 30:  // VT_LPSTR
    case 31:  // VT_LPWSTR
    case 37:  // VT_INT_PTR
    case 38:  // VT_UINT_PTR
      *shape = {pointer, pointer};
      return true;
    case 12:  // VT_VARIANT: a 16-bit VT, three reserved words, 8 or 16 bytes of data
      *shape = {pointer == 8 ? 24u : 16u, 8};
      return true;
    case 14:  // VT_DECIMAL
      *shape = {16, 8};
      return true;
    case 72:  // VT_CLSID
      *shape = {16, 4};
      return true;
    case 0:
      break;
    default:
      *problem = "VT " + std::to_string(vt) + " has no known size";
      return false;
  }
  const typeinfo::Type* referenced = type.ReferencedType();
  if (referenced == nullptr) {
    *problem = "its type cannot be resolved";
    return false;
  }
  switch (referenced->TypeKind()) {
    case typeinfo::kTypeKindEnum:
      *shape = {4, 4};
      return true;
    case typeinfo::kTypeKindRecord:
    case typeinfo::kTypeKindUnion: {
      const NaturalRecordLayout& layout = Of(*referenced, depth + 1);
      if (!layout.known) {
        *problem = layout.problem;
        return false;
      }
      *shape = layout.shape;
      return true;
    }
    case typeinfo::kTypeKindAlias:
      if (referenced->AliasedType() != nullptr && depth < kMaxDepth) {
        return ShapeOf(*referenced->AliasedType(), depth + 1, shape, problem);
      }
      *problem = "alias " + referenced->Name() + " has no known type";
      return false;
    default:
      *problem = referenced->KindText() + " " + referenced->Name() + " held by value";
      return false;
  }
}

}  // namespace velbrook::generate
