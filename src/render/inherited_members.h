// Members of base interfaces for a wrapper type, and the IDispatch test.
#pragma once

#include <string>

#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// Appends the member blocks and the TYPE lines (four blanks, TypeMemberLine,
// CR LF) of every member inherited by interface, most basic base first, and
// enters each declared name into the member-name list. Renders with the
// event flag off and the given ActiveX flag; both flags are restored after.
void RenderInheritedMembers(RenderContext* context, const typeinfo::Type& interface, bool activex,
                            std::string* member_blocks, std::string* type_lines);

// 1 when a direct base is named IDispatch (blanks and case aside), else 0.
int IsDispatchBased(const typeinfo::Type& type);

}  // namespace velbrook::render
