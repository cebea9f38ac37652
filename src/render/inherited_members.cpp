// Depth-first walk over base interfaces for wrapper types.
#include "render/inherited_members.h"

#include "render/member_render.h"
#include "render/naming.h"
#include "render/text_ops.h"

namespace velbrook::render {
namespace {

// A hostile library can make an interface its own base; no real hierarchy
// comes near this depth.
constexpr int kMaxBaseDepth = 64;

void RenderBases(RenderContext* context, const typeinfo::Type& interface, int depth,
                 std::string* member_blocks, std::string* type_lines) {
  if (depth > kMaxBaseDepth) return;
  const typeinfo::TypeList* bases = interface.ImplementedInterfaces();
  const uint32_t base_count = typeinfo::WalkCount(bases);
  for (uint32_t k = 1; k <= base_count; ++k) {
    const typeinfo::Type* base = bases->Item(k);
    if (base == nullptr) continue;
    RenderBases(context, *base, depth + 1, member_blocks, type_lines);
    const typeinfo::MemberList* members = base->Members();
    const uint32_t member_count = typeinfo::WalkCount(members);
    for (uint32_t m = 1; m <= member_count; ++m) {
      const typeinfo::Member* member = members->Item(m);
      if (member == nullptr) continue;
      *member_blocks += RenderMember(context, *member);
      *type_lines += "    " + TypeMemberLine(*context, *member) + "\r\n";
      AddDeclaredName(context, MemberDeclName(*context, *member));
    }
  }
}

}  // namespace

void RenderInheritedMembers(RenderContext* context, const typeinfo::Type& interface, bool activex,
                            std::string* member_blocks, std::string* type_lines) {
  const bool saved_event = context->event;
  const bool saved_activex = context->activex;
  context->event = false;
  context->activex = activex;
  RenderBases(context, interface, 0, member_blocks, type_lines);
  context->event = saved_event;
  context->activex = saved_activex;
}

int IsDispatchBased(const typeinfo::Type& type) {
  const typeinfo::TypeList* bases = type.ImplementedInterfaces();
  const uint32_t count = typeinfo::WalkCount(bases);
  for (uint32_t k = 1; k <= count; ++k) {
    const typeinfo::Type* base = bases->Item(k);
    if (base != nullptr && AsciiLower(TrimBlanks(base->Name())) == "idispatch") {
      return 1;
    }
  }
  return 0;
}

}  // namespace velbrook::render
