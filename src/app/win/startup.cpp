// Start-up in its fixed order: window class, binding, COM, the component,
// both windows, start directory, scan, command line, show.
#include "app/win/startup.h"

#include <commctrl.h>

#include "app/model/messages.h"
#include "app/win/base_window.h"

namespace velbrook::app {

std::string CurrentDirectory() {
  char buffer[255] = {};
  DWORD length = GetCurrentDirectoryA(sizeof(buffer), buffer);
  if (length == 0 || length >= sizeof(buffer)) return std::string();
  return std::string(buffer, length);
}

StartupResult StartUp(const StartupContext& context, bool show_main_window) {
  StartupResult result;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  BaseWindow::RegisterWindowClass(context.instance);

  result.functions = std::make_unique<SystemFunctions>();
  if (auto failure = BindStartFunctions(*context.binder, result.functions.get())) {
    context.desktop->ShowMessage(nullptr, failure->message, 0);
    result.exit_code = failure->exit_code;
    return result;
  }
  result.functions->co_initialize(nullptr);

  result.component = CreateTypeInfoComponent(*context.binder);
  if (result.component == nullptr) {
    context.desktop->ShowMessage(nullptr, kComponentMissing, MB_SETFOREGROUND);
    result.exit_code = 0;
    return result;
  }
  if (auto failure = BindWindowFunctions(*context.binder, result.functions.get())) {
    context.desktop->ShowMessage(nullptr, failure->message, 0);
    result.exit_code = failure->exit_code;
    return result;
  }

  AppContext app_context;
  app_context.instance = context.instance;
  app_context.services = context.services;
  app_context.desktop = context.desktop;
  app_context.component = result.component.get();
  app_context.functions = result.functions.get();
  app_context.screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  app_context.start_directory = CurrentDirectory();
  auto app = std::make_unique<App>(app_context);
  if (!app->BuildWindows()) {
    result.exit_code = 1;
    return result;
  }
  app->OnScan();
  app->ApplyCommandLine(context.command_line);
  if (show_main_window) app->ShowMainWindow();
  result.app = std::move(app);
  return result;
}

}  // namespace velbrook::app
