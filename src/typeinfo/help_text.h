// Text helpers of the component's call layer.
#pragma once

#include <string>

namespace velbrook::typeinfo {

// Cuts at the first NUL, removes every CR and LF, strips blanks and tabs
// from both ends.
std::string CleanHelpText(const std::string& text);

}  // namespace velbrook::typeinfo
