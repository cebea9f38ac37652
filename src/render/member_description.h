// Descriptions of members: fixed texts for the seven IUnknown and IDispatch
// members, the cleaned help string for every other member.
#pragma once

#include <string>

#include "typeinfo/component.h"

namespace velbrook::render {

struct StandardDescription {
  const char* name;
  const char* description;
};

// The seven standard members, matched by exact (case-sensitive) name.
extern const StandardDescription kStandardDescriptions[7];

std::string MemberDescription(const typeinfo::Member& member);

}  // namespace velbrook::render
