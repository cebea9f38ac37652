// Members of base interfaces for a wrapper type, and the IDispatch test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// What a walk over base interfaces met besides members.
struct InheritedWalk {
  // The first base met again on its own chain (a loop in the library);
  // empty when there is none.
  std::string loop_base;
  // The texts reached max_bytes and the walk stopped early.
  bool cut = false;
};

// Appends the member blocks and the TYPE lines (four blanks, TypeMemberLine,
// CR LF) of every member inherited by interface, most basic base first, and
// enters each declared name into the member-name list. Each base interface
// is rendered once, even when bases loop or two paths lead to it. Renders
// with the event flag off and the given ActiveX flag; both flags are
// restored after. Stops once the two texts hold more than max_bytes.
InheritedWalk RenderInheritedMembers(RenderContext* context, const typeinfo::Type& interface,
                                     bool activex, std::string* member_blocks,
                                     std::string* type_lines, size_t max_bytes = SIZE_MAX);

// 1 when a direct base is named IDispatch (blanks and case aside), else 0.
int IsDispatchBased(const typeinfo::Type& type);

}  // namespace velbrook::render
