// velbrook list [--wine-prefix DIR] [--bitness 32|64|all] [--include-missing]
// [--problems]
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "catalogue/host_catalogue.h"

namespace velbrook::cli {

void AddListCommand(CLI::App& app, int* exit_code);

struct ListRequest {
  bool include_missing = false;
  // The "win32" and the "win64" registrations, each line ending in a Bits
  // field ("32" or "64").
  bool all_bitnesses = false;
  // Each line ends in a field telling what is wrong with its file (empty
  // when nothing is).
  bool problems = false;
};

struct ListResult {
  std::string text;  // one line per row
  size_t rows = 0;
  // Registrations left out because their file is not found.
  size_t left_out = 0;
  // With the "win32" rows only and none listed: the "win64" registrations.
  size_t win64_registrations = 0;
};

ListResult ScanList(const catalogue::HostCatalogue& host, const ListRequest& request);

// The list command's default output for a host: the registry scan's rows,
// one line each.
std::string ScanListText(const catalogue::HostCatalogue& host, bool include_missing);

// The notes that follow the list on standard error: how many registrations
// were left out and why, and the 64-bit ones when no 32-bit one is listed.
std::string ListNotes(const ListResult& result);

// The options naming where the registry comes from, shared with search:
// --wine-prefix and --bitness on Linux, none on Windows. With all_bitnesses,
// --bitness takes "all" too (on Windows "32" or "all") and sets it.
void AddCatalogueHostOptions(CLI::App* command, catalogue::HostOptions* host,
                             bool* all_bitnesses = nullptr);

}  // namespace velbrook::cli
