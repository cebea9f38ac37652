// velbrook bench: how long each reader takes to open and walk libraries.
#pragma once

#include <CLI/CLI.hpp>

namespace velbrook::cli {

void AddBenchCommand(CLI::App& app, int* exit_code);

}  // namespace velbrook::cli
