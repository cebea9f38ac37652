// Writing exact bytes to standard output.
#pragma once

#include <string>

#include "typeinfo/result.h"

namespace velbrook::cli {

// Writes the bytes unchanged (binary mode on Windows) and flushes them.
Status WriteStdout(const std::string& bytes);

// At the end of a run: flushes standard output and, when something written
// to it earlier was lost, reports it; an exit status of 0 then becomes
// kExitFailed.
int FinishStdout(int exit_status);

}  // namespace velbrook::cli
