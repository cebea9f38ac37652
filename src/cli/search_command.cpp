// The search sub-command: scans the registry, opens every listed library and
// prints the rows that define NAME, then the search's final message.
#include "cli/search_command.h"

#include <cstdio>
#include <memory>
#include <string>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/row_text.h"
#include "catalogue/vector_library_list.h"
#include "cli/backends.h"
#include "cli/error_report.h"
#include "cli/list_command.h"
#include "cli/output.h"
#include "cli/reader_setup.h"
#include "cli/terminal_progress.h"

namespace velbrook::cli {

namespace {

// The search's caption progress, shown on the terminal's progress line; the
// caption's return to the program's name ends it.
class ProgressConsoleWindow : public catalogue::ConsoleWindow {
 public:
  void SetCaption(const std::string& text) override {
    if (text == catalogue::kMainCaption) {
      progress_.Clear();
    } else {
      progress_.Show(text);
    }
  }

 private:
  TerminalProgress progress_ = TerminalProgress::ForStderr();
};

struct SearchOptions {
  std::string name;
  catalogue::HostOptions host;
  bool include_missing = false;
  std::string backend;
  std::vector<std::string> import_paths;
};

// 0 when found, 1 when not, 2 on bad input.
int RunSearch(const SearchOptions& options) {
  if (catalogue::SearchKey(options.name).empty()) {
    std::fprintf(stderr, "velbrook: nothing to search for\n");
    return 2;
  }
  ReaderSetup reader = SetUpReader(options.backend, options.host, options.import_paths);
  if (!reader.opener) return 2;
  if (!reader.host) {
    std::fprintf(stderr, "velbrook: %s\n", reader.host_error.c_str());
    return 2;
  }
  const catalogue::HostCatalogue& seams = *reader.host;
  std::unique_ptr<typeinfo::Opener> opener = seams.WrapOpener(*reader.opener);
  catalogue::VectorLibraryList list;
  ProgressConsoleWindow window;
  catalogue::CatalogueRunState run_state;
  catalogue::CatalogueSeams catalogue_seams{
      seams.registry(), seams.file_system(), seams.environment(), list, window, run_state};
  catalogue::ScanOptions scan;
  scan.include_files_not_found = options.include_missing;
  catalogue::ScanTypeLibraries(catalogue_seams, scan);
  int found = catalogue::SearchLibraries(catalogue_seams, *opener, options.name);
  std::string text;
  for (int row : list.SelectedRows()) text += catalogue::LibraryRowLine(list, row);
  for (const std::string& message : window.messages()) text += message + "\n";
  // 1 means "not found" here, so a failure to write says 2.
  const Status written = WriteStdout(text);
  if (!written.ok()) return ReportError(written.error(), kExitUsage);
  return found != 0 ? 0 : 1;
}

}  // namespace

void AddSearchCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<SearchOptions>();
  options->backend = DefaultBackend();
  CLI::App* search = app.add_subcommand(
      "search", "Find the registered libraries that define an interface or object class");
  search->add_option("NAME", options->name, "Interface, object class or ProgID part")->required();
  AddCatalogueHostOptions(search, &options->host);
  AddImportPathOption(search, &options->import_paths);
  search->add_flag("--include-missing", options->include_missing,
                   "Also search libraries whose file is not found");
  search->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  search->callback([options, exit_code] { *exit_code = RunSearch(*options); });
}

}  // namespace velbrook::cli
