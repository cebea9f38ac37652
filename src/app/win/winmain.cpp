// Entry point of velbrook.exe.
#include <windows.h>

#include "app/win/desktop.h"
#include "app/win/message_pump.h"
#include "app/win/placeholder_services.h"
#include "app/win/startup.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/,
                   LPSTR /*arguments*/, int /*show*/) {
  using namespace velbrook::app;
  Win32Binder binder;
  Win32Desktop desktop;
  PlaceholderServices services;
  StartupContext context;
  context.instance = GetModuleHandleA(nullptr);
  context.binder = &binder;
  context.desktop = &desktop;
  context.services = &services;
  context.command_line = GetCommandLineA();
  try {
    StartupResult started = StartUp(context, /*show_main_window=*/false);
    if (started.app == nullptr) return started.exit_code;
    desktop.set_functions(started.functions.get());
    started.app->ShowMainWindow();
    return RunMessageLoop();
  } catch (...) {
    return 1;
  }
}
