// The list sub-command: the library list of the registry scan, one row per
// line, File, Description, Path and CLSID separated by tabs.
#include "cli/list_command.h"

#include <cstdio>
#include <memory>
#include <string>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_scan.h"
#include "catalogue/row_text.h"
#include "cli/output.h"

namespace velbrook::cli {

namespace {

struct ListOptions {
  catalogue::HostOptions host;
  bool include_missing = false;
};

int RunList(const ListOptions& options) {
  auto host = catalogue::OpenHostCatalogue(options.host);
  if (!host.ok()) {
    std::fprintf(stderr, "velbrook: %s\n", host.error().message.c_str());
    return 2;
  }
  catalogue::ScanOptions scan;
  scan.include_files_not_found = options.include_missing;
  const catalogue::HostCatalogue& seams = *host.value();
  catalogue::LibraryRows rows;
  catalogue::ScanIntoRows({seams.registry(), seams.file_system(), seams.environment()}, scan,
                          &rows);
  std::string text;
  for (size_t row = 0; row < rows.size(); ++row) {
    text += catalogue::LibraryRowLine(rows.at(row));
  }
  return WriteStdout(text) ? 0 : 1;
}

}  // namespace

void AddCatalogueHostOptions(CLI::App* command, catalogue::HostOptions* host) {
#if defined(_WIN32)
  (void)command;
  (void)host;
#else
  command->add_option("--wine-prefix", host->wine_prefix,
                      "Wine prefix to read (default $WINEPREFIX, then ~/.wine)");
  command
      ->add_option("--bitness", host->bitness,
                   "See the registry as a 32-bit (default) or 64-bit program")
      ->check(CLI::IsMember({32, 64}));
#endif
}

void AddListCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ListOptions>();
  CLI::App* list = app.add_subcommand(
      "list", "List the registered type libraries: File, Description, Path, CLSID");
  AddCatalogueHostOptions(list, &options->host);
  list->add_flag("--include-missing", options->include_missing,
                 "Also list libraries whose file is not found");
  list->callback([options, exit_code] { *exit_code = RunList(*options); });
}

}  // namespace velbrook::cli
