// velbrook dump LIBRARY [--backend portable|oleaut]
#pragma once

#include <CLI/CLI.hpp>

namespace velbrook::cli {

void AddDumpCommand(CLI::App& app, int* exit_code);

}  // namespace velbrook::cli
