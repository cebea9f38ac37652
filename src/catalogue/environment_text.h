// ExpandEnvironmentText: %NAME% references in registered paths replaced by
// the values of environment variables.
#pragma once

#include <string>

#include "catalogue/host.h"

namespace velbrook::catalogue {

// While the text holds two "%", the name between the first "%" and the next
// is looked up and, when its value is not empty, every "%NAME%" is replaced.
// A reference to an undefined or empty variable is left as it is and the
// search goes on from its closing "%", so the loop always ends.
std::string ExpandEnvironmentText(const std::string& text, const Environment& environment);

}  // namespace velbrook::catalogue
