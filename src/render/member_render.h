// Member blocks in vtable, Invoke or event style, and the member's line of
// the wrapper TYPE.
#pragma once

#include <string>

#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// The block of one member, every line ended by CR LF and one empty line at
// the end; empty text for a data member. Sets context->kind_word. Reads the
// event and ActiveX flags, the interface name and, once, "use Invoke".
std::string RenderMember(RenderContext* context, const typeinfo::Member& member);

// The member's line of the wrapper TYPE, without indentation or CR LF. Call
// it right after RenderMember for the same member: it uses the kind word.
std::string TypeMemberLine(const RenderContext& context, const typeinfo::Member& member);

}  // namespace velbrook::render
