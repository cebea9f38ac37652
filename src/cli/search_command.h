// velbrook search NAME [--member|--guid|--progid|--any] [--wine-prefix DIR]
// [--include-missing]
#pragma once

#include <CLI/CLI.hpp>

namespace velbrook::cli {

void AddSearchCommand(CLI::App& app, int* exit_code);

}  // namespace velbrook::cli
