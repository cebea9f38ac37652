// Event blocks: the connection comment and one handler template per event,
// inside interface blocks and as stand-alone blocks at the end of the file.
#pragma once

#include <string>

#include "generate/generation_context.h"

namespace velbrook::generate {

// The event block of event interface E (null gives empty text) for object
// class object_class_name (empty for an event interfaces row). Warns when E
// is not based on IDispatch. Writes nothing itself.
std::string EventBlockText(GenerationRun* run, const typeinfo::Type* event,
                           const std::string& object_class_name);

// One block per checked event interfaces row whose interface has not been
// written in this run.
void WriteStandAloneEventSection(GenerationRun* run);

}  // namespace velbrook::generate
