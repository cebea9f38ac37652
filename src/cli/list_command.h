// velbrook list [--wine-prefix DIR] [--include-missing]
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "catalogue/host_catalogue.h"

namespace velbrook::cli {

void AddListCommand(CLI::App& app, int* exit_code);

// The list command's output for a host: the registry scan's rows, one line
// each.
std::string ScanListText(const catalogue::HostCatalogue& host, bool include_missing);

// The options naming where the registry comes from, shared with search:
// --wine-prefix and --bitness on Linux, none on Windows.
void AddCatalogueHostOptions(CLI::App* command, catalogue::HostOptions* host);

}  // namespace velbrook::cli
