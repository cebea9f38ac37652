// velbrook generate LIBRARY [-o FILE] [--all] [--select NAME]...
//                   [--with-dependencies] [--verbose] [--vtable]
//                   [--no-generics] [--save-selection FILE]
//                   [--import-path DIR]... [--backend portable|oleaut]
// velbrook generate --selection FILE [LIBRARY] [options as above]
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/host_catalogue.h"
#include "generate/generation_context.h"
#include "typeinfo/library_contents.h"

namespace velbrook::cli {

struct GenerateRequest {
  std::string library;  // may be empty with a selection
  std::string output;   // empty: the default name in the current directory
  bool all = false;
  std::vector<std::string> selects;
  // Also check every row the checked rows need, transitively.
  bool with_dependencies = false;
  // Name each row so added, with the use that needed it.
  bool verbose = false;
  bool vtable = false;
  bool no_generics = false;
  // A selection file to run again, and one to save this run's selection to.
  std::string selection;
  std::string save_selection;
  std::string backend;
  // Where ProgIDs and imports come from: the registry, or on Linux a Wine
  // prefix.
  catalogue::HostOptions host;
  // Folders to look in for imports, after the library's own.
  std::vector<std::string> import_paths;
  // SOURCE_DATE_EPOCH as found in the environment, if set.
  bool has_source_date_epoch = false;
  std::string source_date_epoch;
};

// The generic COM support block the command line writes.
generate::GenericBlockWriter CommandLineGenericBlock();

// The library file's name as the library list shows it: the last path
// element (a trailing "\N" resource number dropped), upper-cased.
std::string LibraryFileText(const std::string& library);

// "velbrook: cannot open ..." on stderr, the path named once.
void ReportOpenFailure(const std::string& library, const Error& error);

// Runs one generation; messages go to stderr. Returns the exit code: 0 done,
// 1 bad input (library, --select, selection file, output), 2 bad usage.
int RunGenerate(const GenerateRequest& request);

void AddGenerateCommand(CLI::App& app, int* exit_code);

}  // namespace velbrook::cli
