// Writing exact bytes to standard output and to files.
#pragma once

#include <string>

#include "typeinfo/result.h"

namespace velbrook::cli {

// Writes the bytes unchanged (binary mode on Windows); false on failure,
// after a message on stderr.
bool WriteStdout(const std::string& bytes);

// Writes the whole file or nothing: the bytes go to a file beside the target,
// which is then renamed over it. The old file survives any failure.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace velbrook::cli
