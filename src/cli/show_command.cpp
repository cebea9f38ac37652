// The show sub-command: what the library contents window would list, with
// the hidden row numbers generation maps rows through.
#include "cli/show_command.h"

#include <cstdio>
#include <memory>

#include "cli/backends.h"
#include "cli/error_report.h"
#include "cli/generate_command.h"
#include "cli/library_argument.h"
#include "cli/list_command.h"
#include "cli/output.h"
#include "cli/reader_setup.h"

namespace velbrook::cli {
namespace {

struct ShowOptions {
  std::string library;
  std::string backend;
  catalogue::HostOptions host;
  std::vector<std::string> import_paths;
};

int RunShow(const ShowOptions& options) {
  ReaderSetup reader = SetUpReader(options.backend, options.host, options.import_paths);
  if (!reader.opener) return reader.status;
  OpenedLibrary library = OpenLibraryArgument(options.library, *reader.opener, options.host);
  if (!library.library) return 1;
  const typeinfo::LibraryContents contents =
      typeinfo::BuildLibraryContents(*library.library, ProgIdLookupOf(reader.host));
  const Status written = WriteStdout(ShowText(contents));
  return written.ok() ? 0 : ReportError(written.error(), kExitFailed);
}

}  // namespace

std::string ShowText(const typeinfo::LibraryContents& contents) {
  std::string text = "# Object classes list\nInterfaces\tObject classes\tProgIDs\tHidden\n";
  for (const typeinfo::ClassRow& row : contents.class_rows) {
    text += row.interface_name + "\t" + row.class_name + "\t" + row.prog_id + "\t" +
            std::to_string(row.hidden) + "\n";
  }
  text += "\n# Event interfaces list\nEvent Interfaces\tfor Objects\t\tHidden\n";
  for (const typeinfo::EventRow& row : contents.event_rows) {
    text += row.interface_name + "\t" + row.owners + "\t\t" + std::to_string(row.hidden) + "\n";
  }
  text += "\n# Types list\nTypes\n";
  for (const std::string& row : contents.type_rows) text += row + "\n";
  text += "\n# Enumerations list\nConstant Enumerations\n";
  for (const std::string& row : contents.enumeration_rows) text += row + "\n";
  return text;
}

void AddShowCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<ShowOptions>();
  options->backend = DefaultBackend();
  CLI::App* command =
      app.add_subcommand("show", "List the contents window's four lists for a library");
  command
      ->add_option("LIBRARY", options->library, "Type library file, or a registered library's GUID")
      ->required();
  AddCatalogueHostOptions(command, &options->host);
  AddImportPathOption(command, &options->import_paths);
  command->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  command->callback([options, exit_code] { *exit_code = RunShow(*options); });
}

}  // namespace velbrook::cli
