// The search sub-command: scans the registry, opens every listed library and
// prints the rows that define NAME, then the search's final message; with a
// kind flag, one line per item found instead.
#include "cli/search_command.h"

#include <cstdio>
#include <memory>
#include <string>

#include "catalogue/host_catalogue.h"
#include "catalogue/library_finder.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/row_text.h"
#include "catalogue/search_query.h"
#include "catalogue/vector_library_list.h"
#include "cli/backends.h"
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
  catalogue::SearchKind kind = catalogue::SearchKind::kName;
  // Set when two different kind flags were given.
  bool kinds_conflict = false;
  catalogue::HostOptions host;
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
std::string HitLine(const catalogue::LibraryList& list, int row, const catalogue::SearchHit& hit) {
  return list.CellText(row, catalogue::kColumnFile) + "\t" +
         list.CellText(row, catalogue::kColumnPath) + "\t" + ItemKindWord(hit.kind) + "\t" +
         Field(hit.name) + "\t" + Field(hit.owner) + "\t" + Field(hit.declared_by) + "\n";
}

// Opens every listed library and collects the lines of what query finds;
// libraries that cannot be opened are passed over, as by the name search.
std::string FindInListedLibraries(const catalogue::LibraryList& list,
                                  const typeinfo::Opener& opener,
                                  const catalogue::ClassesRegistry& registry,
                                  const catalogue::SearchQuery& query) {
  TerminalProgress progress = TerminalProgress::ForStderr();
  std::string text;
  int found_count = 0;
  for (int row = 0; row < list.RowCount(); ++row) {
    progress.Show(catalogue::SearchProgressText(row, list.RowCount(), found_count));
    auto library = opener.OpenLibraryFile(list.CellText(row, catalogue::kColumnPath));
    if (!library.ok() || library.value() == nullptr) continue;
    std::vector<catalogue::SearchHit> hits =
        catalogue::FindInLibrary(*library.value(), query, registry);
    if (!hits.empty()) ++found_count;
    for (const catalogue::SearchHit& hit : hits) text += HitLine(list, row, hit);
  }
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
  catalogue::VectorLibraryList list;
  ProgressConsoleWindow window;
  catalogue::CatalogueRunState run_state;
  catalogue::CatalogueSeams catalogue_seams{
      seams.registry(), seams.file_system(), seams.environment(), list, window, run_state};
  catalogue::ScanOptions scan;
  scan.include_files_not_found = options.include_missing;
  catalogue::ScanTypeLibraries(catalogue_seams, scan);
  if (options.kind != catalogue::SearchKind::kName) {
    std::string text = FindInListedLibraries(list, *opener, seams.registry(), query);
    if (!WriteStdout(text)) return 2;
    if (text.empty())
      std::fprintf(stderr, "velbrook: nothing found for %s\n", options.name.c_str());
    return text.empty() ? 1 : 0;
  }
  int found = catalogue::SearchLibraries(catalogue_seams, *opener, options.name);
  std::string text;
  for (int row : list.SelectedRows()) text += catalogue::LibraryRowLine(list, row);
  for (const std::string& message : window.messages()) text += message + "\n";
  if (!WriteStdout(text)) return 2;
  return found != 0 ? 0 : 1;
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
  AddCatalogueHostOptions(search, &options->host);
  AddImportPathOption(search, &options->import_paths);
  search->add_flag("--include-missing", options->include_missing,
                   "Also search libraries whose file is not found");
  search->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  search->callback([options, exit_code] { *exit_code = RunSearch(*options); });
}

}  // namespace velbrook::cli
