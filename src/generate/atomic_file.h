// Writing a whole file or nothing, for the include and selection files the
// command line and the desktop program write.
#pragma once

#include <string>

#include "typeinfo/result.h"

namespace velbrook::generate {

// The bytes go to a file beside the target, which is then renamed over it.
// The old file survives any failure; the error names the path and the step
// that failed.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace velbrook::generate
