// Entry point of velbrook.exe.
#include <windows.h>

#include "app/model/messages.h"
#include "app/win/desktop.h"
#include "app/win/failure_report.h"
#include "app/win/message_pump.h"
#include "app/win/real_services.h"
#include "app/win/save_dialog.h"
#include "app/win/startup.h"
#include "catalogue/win32_host.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*arguments*/,
                   int /*show*/) {
  using namespace velbrook::app;
  Win32Binder binder;
  Win32Desktop desktop;
  velbrook::catalogue::Win32ClassesRegistry registry;
  velbrook::catalogue::Win32FileSystem file_system;
  velbrook::catalogue::Win64FileSystem file_system_64;
  velbrook::catalogue::Win32Environment environment;
  Win32SaveDialog save_dialog;
  RealServicesSeams seams;
  seams.registry = &registry;
  seams.file_system = &file_system;
  seams.file_system_64 = &file_system_64;
  seams.native_path = [&file_system_64](const std::string& path) {
    return file_system_64.NativePath(path);
  };
  seams.environment = &environment;
  seams.desktop = &desktop;
  seams.save_dialog = &save_dialog;
  RealServices services(seams);
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
    // A failure outside any window's procedure: told, and the program ends.
    desktop.ShowMessage(nullptr, kFailurePrefix + FailureText(), MB_SETFOREGROUND);
    return 1;
  }
}
