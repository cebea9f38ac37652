// The search sub-command: scans the registry, opens every listed library and
// prints the rows that define NAME, then the search's final message.
#include "cli/search_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/row_text.h"
#include "cli/backends.h"
#include "cli/error_report.h"
#include "cli/list_command.h"
#include "cli/output.h"
#include "cli/reader_setup.h"
#include "cli/terminal_progress.h"

namespace velbrook::cli {

namespace {

// The rows of the scan as the search walks them; found rows are kept in
// list order, and the progress goes to the terminal's progress line.
class RowsSearchSink : public catalogue::SearchSink {
 public:
  explicit RowsSearchSink(const catalogue::LibraryRows& rows) : rows_(rows) {}
  bool PollAbort() override { return false; }
  size_t RowCount() const override { return rows_.size(); }
  std::string PathOf(size_t row) const override { return rows_.at(row).path; }
  void Found(size_t row, int /*found_count*/) override { found_.push_back(row); }
  void ShowProgress(const std::string& text) override { progress_.Show(text); }

  const std::vector<size_t>& found() const { return found_; }

 private:
  const catalogue::LibraryRows& rows_;
  std::vector<size_t> found_;
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
  catalogue::ScanOptions scan;
  scan.include_files_not_found = options.include_missing;
  catalogue::LibraryRows rows;
  catalogue::ScanIntoRows({seams.registry(), seams.file_system(), seams.environment()}, scan,
                          &rows);
  catalogue::SearchOutcome found;
  std::string text;
  {
    RowsSearchSink sink(rows);
    found = catalogue::SearchLibraries(
        sink, catalogue::NameTest(*opener, seams.registry(), catalogue::SearchKey(options.name)));
    for (size_t row : sink.found()) text += catalogue::LibraryRowLine(rows.at(row));
  }
  text += catalogue::SearchEndMessage(options.name, found.found_count) + "\n";
  // 1 means "not found" here, so a failure to write says 2.
  const Status written = WriteStdout(text);
  if (!written.ok()) return ReportError(written.error(), kExitUsage);
  return found.found_count != 0 ? 0 : 1;
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
