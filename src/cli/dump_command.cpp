// The dump sub-command: the whole library as the component shows it.
#include "cli/dump_command.h"

#include <cstdio>
#include <memory>
#include <string>

#include "cli/backends.h"
#include "cli/output.h"
#include "typeinfo/dump.h"

namespace velbrook::cli {

namespace {

struct DumpOptions {
  std::string library;
  std::string backend;
};

int RunDump(const DumpOptions& options) {
  std::unique_ptr<typeinfo::Opener> opener = MakeOpener(options.backend);
  if (!opener) {
    std::fprintf(stderr, "velbrook: backend \"%s\" is not available in this build\n",
                 options.backend.c_str());
    return 2;
  }
  auto library = opener->OpenLibraryFile(options.library);
  if (!library.ok()) {
    std::fprintf(stderr, "velbrook: %s: %s\n", ErrorKindName(library.error().kind),
                 library.error().message.c_str());
    return 1;
  }
  return WriteStdout(typeinfo::DumpLibrary(*library.value())) ? 0 : 1;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<DumpOptions>();
  options->backend = DefaultBackend();
  CLI::App* dump = app.add_subcommand(
      "dump", "Print everything the type information shows for a library");
  dump->add_option("LIBRARY", options->library,
                   "Type library file; a trailing \\N selects resource N")
      ->required();
  dump->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  dump->callback([options, exit_code] { *exit_code = RunDump(*options); });
}

}  // namespace velbrook::cli
