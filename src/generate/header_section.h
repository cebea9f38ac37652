// The seven header lines and the table of contents of an include file.
#pragma once

#include <string>

#include "generate/generation_context.h"

namespace velbrook::generate {

// The chosen path after its last "\" or "/" (the whole path without one).
std::string IncludeNameOf(const std::string& output_path);

void WriteHeader(GenerationRun* run);
void WriteTableOfContents(GenerationRun* run);

}  // namespace velbrook::generate
