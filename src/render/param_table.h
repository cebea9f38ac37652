// The parameter table of one member: generated name, HotBasic type, note and
// base word of each parameter, as member blocks and call bodies use them.
#pragma once

#include <string>
#include <vector>

#include "render/render_context.h"
#include "typeinfo/component.h"

namespace velbrook::render {

struct ParamRow {
  std::string name;       // prefix plus cleaned name
  std::string type;       // "integer", "STRING", "GUID", "variant", ...
  std::string note;       // attribute words and type remarks
  std::string base_word;  // first word of the VarTypeText result
};

inline constexpr int kNoRetval = -999;

struct ParamTable {
  std::vector<ParamRow> rows;
  // 0-based position of the parameter flagged retval, kNoRetval for none.
  int retval_index = kNoRetval;
  // Parameter names that had to be renamed to compile, in order.
  std::vector<Rename> renames;
  // Types of imported libraries that were not found, in order.
  std::vector<typeinfo::MissingType> missing;

  const ParamRow& Retval() const { return rows[retval_index]; }
  bool HasRetval() const { return retval_index >= 0; }
};

// Analyses the parameters of member in declaration order. event is the
// event flag: it turns every parameter into a variant. vtable is the vtable
// style, where the call pushes each argument itself: an [in] pointer whose
// passing form would push less than the address becomes an integer that
// holds the address.
ParamTable AnalyseParameters(const typeinfo::Member& member, bool event, bool vtable);

}  // namespace velbrook::render
