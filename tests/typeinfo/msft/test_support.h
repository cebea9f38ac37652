// Helpers shared by the portable reader's tests: fixture paths, file bytes
// and a bounded walk over everything the component exposes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::typeinfo::msft::testing {

std::string FixturePath(const std::string& name);
std::string WinePath(const std::string& name);
std::vector<uint8_t> ReadAll(const std::string& path);

// The first type named `name` in any of the library's four lists.
const Type* FindType(const Library& library, const std::string& name);
// The member named `name` with this invoke kind, or null.
const Member* FindMember(const Type& type, const std::string& name, int32_t invoke_kind);

struct WalkTotals {
  uint64_t types = 0;
  uint64_t members = 0;
  uint64_t parameters = 0;
  uint64_t referenced = 0;
};
// Visits every list, type, member, parameter and descriptor once, following
// references to depth `max_depth`.
WalkTotals WalkAll(const Library& library, int max_depth = 4);

}  // namespace velbrook::typeinfo::msft::testing
