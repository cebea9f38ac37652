// The start-up sequence of velbrook.exe, from binding the system functions
// to showing the main window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/model/app_services.h"
#include "app/win/app.h"
#include "app/win/desktop.h"
#include "app/win/system_functions.h"

namespace velbrook::app {

struct StartupContext {
  HINSTANCE instance = nullptr;
  ModuleBinder* binder = nullptr;
  Desktop* desktop = nullptr;
  AppServices* services = nullptr;
  std::string command_line;
};

// What start-up leaves behind: a running program (app set, ready for the
// message loop) or an exit code when start-up ended the process early.
struct StartupResult {
  int exit_code = 0;
  std::unique_ptr<SystemFunctions> functions;
  std::unique_ptr<typeinfo::Opener> component;
  std::unique_ptr<App> app;
};

// Runs start-up through showing the main window. With show_main_window false
// it stops just before that, for tests.
StartupResult StartUp(const StartupContext& context, bool show_main_window);

// The start directory: the current directory, read into 255 characters.
std::string CurrentDirectory();

}  // namespace velbrook::app
