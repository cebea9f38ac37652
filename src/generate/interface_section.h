// Interface blocks: heading, GUID constants, the vtable wrapper type or the
// Invoke usage comments, object creators, member bodies and event blocks.
#pragma once

#include <string>

#include "generate/generation_context.h"

namespace velbrook::generate {

// One block per checked row of the object classes list, each interface at
// most once per run.
void WriteInterfaceSection(GenerationRun* run);

// The failure line of a creator for message text.
std::string CreatorFailureLine(const std::string& message);

}  // namespace velbrook::generate
