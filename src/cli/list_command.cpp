// The list sub-command: the library list of the registry scan, one row per
// line, File, Description, Path and CLSID separated by tabs, then the Bits
// and the problem when asked for.
#include "cli/list_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

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
  ListRequest request;
};

// Counts what the scan leaves out; the rows go where RowsSink puts them.
class CountingSink : public catalogue::ScanSink {
 public:
  explicit CountingSink(catalogue::LibraryRows* rows) : rows_(rows) {}
  bool PollAbort() override { return false; }
  void AddLibrary(const catalogue::LibraryEntry& entry) override { rows_->Add(entry); }
  void LeftOut(const catalogue::LibraryEntry& /*entry*/) override { ++left_out; }
  void SetStatusText(const std::string& /*text*/) override {}

  size_t left_out = 0;

 private:
  catalogue::LibraryRows* rows_;
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
  const ListResult result = ScanList(*host.value(), options.request);
  const Status written = WriteStdout(result.text);
  if (!written.ok()) return ReportError(written.error(), kExitFailed);
  const std::string notes = ListNotes(result);
  if (!notes.empty()) std::fputs(notes.c_str(), stderr);
  return 0;
}

}  // namespace

ListResult ScanList(const catalogue::HostCatalogue& host, const ListRequest& request) {
  catalogue::ScanOptions scan;
  scan.include_files_not_found = request.include_missing;
  scan.both_bitnesses = request.all_bitnesses;
  const catalogue::ScanSeams seams{host.registry(), host.file_system(), host.environment(),
                                   &host.file_system_64()};
  catalogue::LibraryRows rows;
  CountingSink sink(&rows);
  catalogue::ScanTypeLibraries(seams, scan, sink);
  ListResult result;
  result.rows = rows.size();
  result.left_out = sink.left_out;
  for (size_t row = 0; row < rows.size(); ++row) {
    const catalogue::LibraryEntry& entry = rows.at(row);
    std::string line = catalogue::LibraryRowLine(entry);
    line.pop_back();
    if (request.all_bitnesses) line += "\t" + std::to_string(entry.bits);
    if (request.problems) line += std::string("\t") + catalogue::RowProblemText(entry.problem);
    result.text += line + "\n";
  }
  // Only an empty 32-bit list pays for the second walk.
  if (rows.empty() && !request.all_bitnesses) {
    result.win64_registrations = catalogue::CountWin64Registrations(seams);
  }
  return result;
}

std::string ScanListText(const catalogue::HostCatalogue& host, bool include_missing) {
  ListRequest request;
  request.include_missing = include_missing;
  return ScanList(host, request).text;
}

std::string ListNotes(const ListResult& result) {
  std::string notes;
  if (result.left_out != 0) {
    notes += "velbrook: " + std::to_string(result.left_out) +
             " registrations left out: file not found (--include-missing lists them)\n";
  }
  if (result.rows == 0 && result.win64_registrations != 0) {
    notes += "velbrook: no 32-bit registrations; " + std::to_string(result.win64_registrations) +
             " 64-bit registrations (--bitness all lists them)\n";
  }
  return notes;
}

void AddCatalogueHostOptions(CLI::App* command, catalogue::HostOptions* host, bool* all_bitnesses) {
#if !defined(_WIN32)
  command->add_option("--wine-prefix", host->wine_prefix,
                      "Wine prefix to read (default $WINEPREFIX, then ~/.wine)");
  if (all_bitnesses == nullptr) {
    command
        ->add_option("--bitness", host->bitness,
                     "See the registry as a 32-bit (default) or 64-bit program")
        ->check(CLI::IsMember({32, 64}));
    return;
  }
  const std::vector<std::string> choices = {"32", "64", "all"};
  const char* help =
      "See the registry as a 32-bit (default) or 64-bit program, or list the win32 and "
      "win64 registrations side by side with their bits";
#else
  if (all_bitnesses == nullptr) return;
  const std::vector<std::string> choices = {"32", "all"};
  const char* help =
      "32 (default): the win32 registrations; all: the win32 and win64 registrations side by "
      "side with their bits";
#endif
  command
      ->add_option_function<std::string>(
          "--bitness",
          [host, all_bitnesses](const std::string& choice) {
            *all_bitnesses = choice == "all";
            if (!*all_bitnesses) host->bitness = choice == "64" ? 64 : 32;
          },
          help)
      ->check(CLI::IsMember(choices));
}

void AddListCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ListOptions>();
  CLI::App* list = app.add_subcommand(
      "list", "List the registered type libraries: File, Description, Path, CLSID");
  AddCatalogueHostOptions(list, &options->host, &options->request.all_bitnesses);
  list->add_flag("--include-missing", options->request.include_missing,
                 "Also list libraries whose file is not found");
  list->add_flag("--problems", options->request.problems,
                 "End each line with what is wrong with its file, if anything");
  list->callback([options, exit_code] { *exit_code = RunList(*options); });
}

}  // namespace velbrook::cli
