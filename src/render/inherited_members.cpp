// Depth-first walk over base interfaces for wrapper types.
#include "render/inherited_members.h"

#include <unordered_set>

#include "render/member_render.h"
#include "render/naming.h"
#include "render/text_ops.h"

namespace velbrook::render {
namespace {

// A backstop for readers whose objects are not one per interface; no real
// hierarchy comes near this depth.
constexpr int kMaxBaseDepth = 64;

class BaseWalk {
 public:
  BaseWalk(RenderContext* context, size_t max_bytes, std::string* member_blocks,
           std::string* type_lines)
      : context_(context),
        max_bytes_(max_bytes),
        member_blocks_(*member_blocks),
        type_lines_(*type_lines) {}

  // Each base is rendered once, however many paths lead to it; one met
  // again on its own chain is a loop, reported and not followed.
  void Bases(const typeinfo::Type& interface, int depth) {
    if (depth > kMaxBaseDepth) return;
    on_chain_.insert(&interface);
    const typeinfo::TypeList* bases = interface.ImplementedInterfaces();
    const uint32_t base_count = typeinfo::WalkCount(bases);
    for (uint32_t k = 1; k <= base_count && !result_.cut; ++k) {
      const typeinfo::Type* base = bases->Item(k);
      if (base == nullptr) continue;
      if (on_chain_.count(base) != 0) {
        if (result_.loop_base.empty()) result_.loop_base = base->Name();
        continue;
      }
      if (!rendered_.insert(base).second) continue;
      Bases(*base, depth + 1);
      Members(*base);
    }
    on_chain_.erase(&interface);
  }

  InheritedWalk result() const { return result_; }

 private:
  void Members(const typeinfo::Type& base) {
    const typeinfo::MemberList* members = base.Members();
    const uint32_t member_count = typeinfo::WalkCount(members);
    for (uint32_t m = 1; m <= member_count && !result_.cut; ++m) {
      const typeinfo::Member* member = members->Item(m);
      if (member == nullptr) continue;
      member_blocks_ += RenderMember(context_, *member);
      type_lines_ += "    " + TypeMemberLine(*context_, *member) + "\r\n";
      AddDeclaredName(context_, MemberDeclName(*context_, *member));
      result_.cut = member_blocks_.size() + type_lines_.size() > max_bytes_;
    }
  }

  RenderContext* context_;
  size_t max_bytes_;
  std::string& member_blocks_;
  std::string& type_lines_;
  std::unordered_set<const typeinfo::Type*> on_chain_;
  std::unordered_set<const typeinfo::Type*> rendered_;
  InheritedWalk result_;
};

}  // namespace

InheritedWalk RenderInheritedMembers(RenderContext* context, const typeinfo::Type& interface,
                                     bool activex, std::string* member_blocks,
                                     std::string* type_lines, size_t max_bytes) {
  const bool saved_event = context->event;
  const bool saved_activex = context->activex;
  context->event = false;
  context->activex = activex;
  BaseWalk walk(context, max_bytes, member_blocks, type_lines);
  walk.Bases(interface, 0);
  context->event = saved_event;
  context->activex = saved_activex;
  return walk.result();
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
