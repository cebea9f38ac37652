// The search sub-command: scans the registry, opens every listed library and
// prints the rows that define NAME, then the search's final message; with a
// kind flag, one line per item found instead.
#include "cli/search_command.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_finder.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/row_text.h"
#include "catalogue/search_query.h"
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
  RowsSearchSink(const catalogue::LibraryRows& rows, const catalogue::HostCatalogue& host)
      : rows_(rows), host_(host) {}
  bool PollAbort() override { return false; }
  size_t RowCount() const override { return rows_.size(); }
  std::string PathOf(size_t row) const override { return host_.OpeningPath(rows_.at(row)); }
  void Found(size_t row, int /*found_count*/) override {
    found_.push_back(row);
    if (on_found_) on_found_(row);
  }
  void ShowProgress(const std::string& text) override { progress_.Show(text); }

  const std::vector<size_t>& found() const { return found_; }
  // Called with each found row, right after the test that found it.
  void set_on_found(std::function<void(size_t)> on_found) { on_found_ = std::move(on_found); }

 private:
  const catalogue::LibraryRows& rows_;
  const catalogue::HostCatalogue& host_;
  std::vector<size_t> found_;
  std::function<void(size_t)> on_found_;
  TerminalProgress progress_ = TerminalProgress::ForStderr();
};

struct SearchOptions {
  std::string name;
  catalogue::SearchKind kind = catalogue::SearchKind::kName;
  // Set when two different kind flags were given.
  bool kinds_conflict = false;
  catalogue::HostOptions host;
  bool all_bitnesses = false;
  bool include_missing = false;
  std::string backend;
  std::vector<std::string> import_paths;
};

// A name from a library as one field: a damaged library's control
// characters (tabs, line breaks) shown as "?" so they cannot split the line.
std::string Field(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return text;
}

// One found item, six tab-separated fields: the library row's File and Path,
// the item's kind and name, a member's owner and the base interface that
// declares an inherited member (empty when they do not apply).
std::string HitLine(const catalogue::LibraryEntry& entry, const catalogue::SearchHit& hit) {
  return entry.file + "\t" + entry.path + "\t" + ItemKindWord(hit.kind) + "\t" + Field(hit.name) +
         "\t" + Field(hit.owner) + "\t" + Field(hit.declared_by) + "\n";
}

// Runs the search loop over the listed libraries with a test that keeps the
// items query finds, and collects their lines; libraries that cannot be
// opened are passed over, as by the name search.
std::string FindInListedLibraries(const catalogue::LibraryRows& rows,
                                  const catalogue::HostCatalogue& host,
                                  const typeinfo::Opener& opener,
                                  const catalogue::SearchQuery& query) {
  const catalogue::ClassesRegistry& registry = host.registry();
  std::vector<catalogue::SearchHit> hits;
  const catalogue::LibraryTest test = [&](const std::string& path) {
    hits.clear();
    auto library = opener.OpenLibraryFile(path);
    if (!library.ok() || library.value() == nullptr) return false;
    hits = catalogue::FindInLibrary(*library.value(), query, registry);
    return !hits.empty();
  };
  std::string text;
  RowsSearchSink sink(rows, host);
  sink.set_on_found([&](size_t row) {
    for (const catalogue::SearchHit& hit : hits) text += HitLine(rows.at(row), hit);
  });
  catalogue::SearchLibraries(sink, test);
  return text;
}

// 0 when found, 1 when not, 2 on bad input.
int RunSearch(const SearchOptions& options) {
  if (options.kinds_conflict) {
    std::fprintf(stderr, "velbrook: give at most one of --member, --guid, --progid and --any\n");
    return 2;
  }
  const catalogue::SearchQuery query{options.name, options.kind};
  Status check = catalogue::CheckSearchQuery(query);
  if (!check.ok()) {
    std::fprintf(stderr, "velbrook: %s\n", check.error().message.c_str());
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
  scan.both_bitnesses = options.all_bitnesses;
  catalogue::LibraryRows rows;
  catalogue::ScanIntoRows(
      {seams.registry(), seams.file_system(), seams.environment(), &seams.file_system_64()}, scan,
      &rows);
  if (options.kind != catalogue::SearchKind::kName) {
    const std::string hits = FindInListedLibraries(rows, seams, *opener, query);
    const Status written = WriteStdout(hits);
    if (!written.ok()) return ReportError(written.error(), kExitUsage);
    if (hits.empty())
      std::fprintf(stderr, "velbrook: nothing found for %s\n", options.name.c_str());
    return hits.empty() ? 1 : 0;
  }
  catalogue::SearchOutcome found;
  std::string text;
  {
    RowsSearchSink sink(rows, seams);
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

// --member, --guid, --progid and --any, one at most (checked when the
// search runs, so a conflict exits as bad input); none is the name kind.
void AddKindFlags(CLI::App* search, SearchOptions* options) {
  struct KindFlag {
    const char* name;
    catalogue::SearchKind kind;
    const char* help;
  };
  static const KindFlag kFlags[] = {
      {"--member", catalogue::SearchKind::kMember,
       "NAME is a method, property, event, record field or constant"},
      {"--guid", catalogue::SearchKind::kGuid,
       "NAME is a library GUID, type GUID or CLSID, with or without braces"},
      {"--progid", catalogue::SearchKind::kProgId,
       "NAME is an object class's ProgID or its first or second part"},
      {"--any", catalogue::SearchKind::kAny, "NAME is any of the above, or a name"},
  };
  for (const KindFlag& flag : kFlags) {
    const catalogue::SearchKind kind = flag.kind;
    search->add_flag_callback(
        flag.name,
        [options, kind] {
          if (options->kind != catalogue::SearchKind::kName && options->kind != kind) {
            options->kinds_conflict = true;
          }
          options->kind = kind;
        },
        flag.help);
  }
}

}  // namespace

void AddSearchCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<SearchOptions>();
  options->backend = DefaultBackend();
  CLI::App* search = app.add_subcommand(
      "search", "Find the registered libraries that define an interface or object class");
  search->add_option("NAME", options->name, "Interface, object class or ProgID part")->required();
  AddKindFlags(search, options.get());
  AddCatalogueHostOptions(search, &options->host, &options->all_bitnesses);
  AddImportPathOption(search, &options->import_paths);
  search->add_flag("--include-missing", options->include_missing,
                   "Also search libraries whose file is not found");
  search->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  search->callback([options, exit_code] { *exit_code = RunSearch(*options); });
}

}  // namespace velbrook::cli
