// Every generated HotBasic name the renderers form: parameter prefixes,
// declared member names, reserved member words and constant prefixes.
#pragma once

#include <cstdint>
#include <string>

#include "render/line_list.h"
#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// Prefixes of GUID constants and of the ProgID string constant.
inline constexpr char kIidPrefix[] = "IID_";
inline constexpr char kClsidPrefix[] = "CLSID_";
inline constexpr char kProgIdPrefix[] = "ProgID_";

// Put prefixes the generic Invoke wrapper recognises in a method name.
inline constexpr char kPutPrefix[] = "set_";
inline constexpr char kPutRefPrefix[] = "setbyref_";
// Prefix of event handler subs.
inline constexpr char kEventPrefix[] = "on";

// Member names HotBasic reserves ("end", "get"); such a name gets a "_" in
// front.
const LineList& ReservedMemberWords();

// Type-dependent prefix of a generated parameter name.
std::string ParamPrefix(int32_t vt);

// "property", "get", "put", "putref" or "call".
std::string InvokeKindWord(const typeinfo::Member& member);

// The name a member is declared under in the current wrapper type or event
// block. Reads the event flag and the member-name list; changes nothing.
std::string MemberDeclName(const RenderContext& context, const typeinfo::Member& member);

}  // namespace velbrook::render
