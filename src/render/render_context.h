// The rendering state that member, naming and GUID renderers share while one
// include file is written. The generation driver owns one and hands it down.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "render/line_list.h"
#include "typeinfo/component.h"

namespace velbrook::render {

// A name written otherwise than the library gives it, so that it compiles.
struct Rename {
  std::string original;  // as the library gives it
  std::string written;   // as the include file has it
  std::string reason;    // "not a HotBasic identifier", ...
};

struct RenderContext {
  // Name of the interface whose wrapper is being written; upper-cased it
  // prefixes vtable-style function names.
  std::string interface_name;
  // On: members render as event handler templates.
  bool event = false;
  // On: the wrapper object is an ActiveX control ("obj." in usage lines).
  bool activex = false;
  // "sub", "function" or "integer", left by the last RenderMember call for
  // TypeMemberLine and the interface writers.
  std::string kind_word;
  // Lower-case names already declared in the current wrapper type.
  LineList member_names;
  // Constant names (prefix plus name) already written to the current file.
  LineList written_guid_names;
  // Every name renamed so far in the current file, in the order written.
  std::vector<Rename> renames;
  // Types of imported libraries not found, as often as they were written.
  std::vector<typeinfo::MissingType> missing;
  // The "use Invoke" option. It may be a live control, so each renderer reads
  // it once and keeps that value for all its decisions.
  std::function<bool()> use_invoke = [] { return true; };
};

// Enters a declared name the way the wrapper writers record it: lower-cased.
void AddDeclaredName(RenderContext* context, const std::string& name);

}  // namespace velbrook::render
