// Entry point of the command line: list, show, generate, search, dump.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/bench_command.h"
#include "cli/dump_command.h"
#include "cli/generate_command.h"
#include "cli/list_command.h"
#include "cli/search_command.h"
#include "cli/show_command.h"
#include "velbrook_version.h"

#if defined(_WIN32)
#include <objbase.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
  CoInitialize(nullptr);
#endif
  CLI::App app{"Velbrook: HotBasic include files from COM type libraries"};
  app.set_version_flag("--version", "velbrook " VELBROOK_VERSION);
  app.require_subcommand(1);
  // Paths such as /tmp/x.tlb (Wine) must not read as "/option" switches.
  app.allow_windows_style_options(false);
  int exit_code = 0;
  velbrook::cli::AddDumpCommand(app, &exit_code);
  velbrook::cli::AddBenchCommand(app, &exit_code);
  velbrook::cli::AddListCommand(app, &exit_code);
  velbrook::cli::AddSearchCommand(app, &exit_code);
  velbrook::cli::AddGenerateCommand(app, &exit_code);
  velbrook::cli::AddShowCommand(app, &exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  std::fflush(stderr);
  return exit_code;
}
