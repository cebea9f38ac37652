// The list sub-command: the library list of the registry scan, one row per
// line, File, Description, Path and CLSID separated by tabs.
#include "cli/list_command.h"

#include <memory>
#include <string>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_scan.h"
#include "catalogue/registry_functions.h"
#include "catalogue/row_text.h"
#include "cli/error_report.h"
#include "cli/output.h"

namespace velbrook::cli {

namespace {

struct ListOptions {
  catalogue::HostOptions host;
  bool include_missing = false;
};

int RunList(const ListOptions& options) {
  auto host = catalogue::OpenHostCatalogue(options.host);
  if (!host.ok()) return ReportError(host.error(), kExitUsage);
  // The scan lists nothing without this key; saying so beats an empty list.
  const Status readable = catalogue::CheckClassesKey(host.value()->registry(), "TypeLib");
  if (!readable.ok()) {
    const std::string where = " (" + host.value()->Description() + ")";
    return ReportError(MakeError(readable.error().kind, readable.error().message + where),
                       kExitFailed);
  }
  const Status written = WriteStdout(ScanListText(*host.value(), options.include_missing));
  return written.ok() ? 0 : ReportError(written.error(), kExitFailed);
}

}  // namespace

std::string ScanListText(const catalogue::HostCatalogue& host, bool include_missing) {
  catalogue::ScanOptions scan;
  scan.include_files_not_found = include_missing;
  catalogue::LibraryRows rows;
  catalogue::ScanIntoRows({host.registry(), host.file_system(), host.environment()}, scan, &rows);
  std::string text;
  for (size_t row = 0; row < rows.size(); ++row) {
    text += catalogue::LibraryRowLine(rows.at(row));
  }
  return text;
}

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
