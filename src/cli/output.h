// Writing exact bytes to standard output.
#pragma once

#include <string>

namespace velbrook::cli {

// Writes the bytes unchanged (binary mode on Windows); false on failure,
// after a message on stderr.
bool WriteStdout(const std::string& bytes);

}  // namespace velbrook::cli
