// Asks the component every question a generation can ask of a library,
// without building any text: the measure of a reader's own cost.
#pragma once

#include <cstdint>

#include "typeinfo/component.h"

namespace velbrook::typeinfo {

// Returns a checksum of what it saw, so the walk cannot be optimised away.
uint64_t WalkLibrary(const Library& library);

}  // namespace velbrook::typeinfo
