// Entry point of the command line: list, show, generate, search, dump. Every
// way a run can fail ends here with one line on stderr and an exit status:
// the commands' own errors, malformed arguments, exceptions of any type and
// output that could not be written.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>

#include "cli/bench_command.h"
#include "cli/dump_command.h"
#include "cli/error_report.h"
#include "cli/generate_command.h"
#include "cli/list_command.h"
#include "cli/output.h"
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
    exit_code = app.exit(error);
  } catch (...) {
    exit_code = velbrook::cli::ReportException(std::current_exception());
  }
  exit_code = velbrook::cli::FinishStdout(exit_code);
  std::fflush(stderr);
  return exit_code;
}
