// A command line with only the catalogue's sub-commands, so the tests can run
// list and search before and independently of the product's entry point.
#include <CLI/CLI.hpp>

#include "cli/list_command.h"
#include "cli/search_command.h"

#if defined(_WIN32)
#include <objbase.h>
#endif

int main(int argc, char** argv) {
#if defined(_WIN32)
  CoInitialize(nullptr);
#endif
  CLI::App app{"Velbrook catalogue commands"};
  app.require_subcommand(1);
  app.allow_windows_style_options(false);
  int exit_code = 0;
  velbrook::cli::AddListCommand(app, &exit_code);
  velbrook::cli::AddSearchCommand(app, &exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  return exit_code;
}
