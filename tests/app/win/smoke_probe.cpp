// Starts velbrook.exe with a library as its argument and checks it from the
// outside: both windows appear, closing the contents window ends the process
// with exit code 0. The library is registered for the run and removed after.
// Usage: smoke_probe [--hold-ms N --ready-file F] velbrook.exe library
// With --hold-ms each window in turn is brought to the top, F.main or
// F.contents is created and the probe waits N ms (for screenshots).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_support.h"

namespace velbrook::probe {
namespace {

constexpr char kKey[] = "TypeLib\\{5EE1B0C0-0000-4000-8000-0000000000A1}";
constexpr char kDescription[] = "Velbrook smoke fixture";
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;

void Touch(const std::string& path) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) std::fclose(file);
}

void ShowOnTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// Each window in turn on top, a file to say so, then a pause: the
// screenshot script takes its pictures meanwhile.
void HoldForPictures(const ProgramWindows& found, DWORD hold_ms, const std::string& ready_file) {
  // The contents window is owned by the main window, so it stays above it:
  // moved off the screen for the main window's picture, then back.
  RECT place = {};
  GetWindowRect(found.contents, &place);
  SetWindowPos(found.contents, nullptr, 4000, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowOnTop(found.main);
  Sleep(500);
  Touch(ready_file + ".main");
  Sleep(hold_ms);
  SetWindowPos(found.contents, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowOnTop(found.contents);
  Sleep(500);
  Touch(ready_file + ".contents");
  Sleep(hold_ms);
}

int Run(const std::string& app, const std::string& library, DWORD hold_ms,
        const std::string& ready_file) {
  Program program;
  if (!program.Start(app, library)) {
    std::printf("FAIL: cannot start %s (error %lu)\n", app.c_str(), GetLastError());
    return 1;
  }
  const std::string caption = std::string(kDescription) + " (" + FileColumn(library) + ")";
  ProgramWindows found;
  WaitUntil(program, kStartTimeoutMs, [&] {
    found = FindWindows(program.process_id(), caption);
    return !found.dialog.empty() || (found.main && found.contents);
  });
  if (!found.dialog.empty()) {
    std::printf("FAIL: a message box \"%s\" came up\n", found.dialog.c_str());
    return 1;
  }
  if (found.main == nullptr || found.contents == nullptr) {
    std::printf("FAIL: windows not found (main %s, contents \"%s\" %s)\n",
                found.main ? "found" : "missing", caption.c_str(),
                found.contents ? "found" : "missing");
    return 1;
  }
  std::printf("found main window and \"%s\"\n", caption.c_str());
  if (hold_ms != 0) HoldForPictures(found, hold_ms, ready_file);
  PostMessageA(found.contents, WM_CLOSE, 0, 0);
  if (!EndsWithExitCodeZero(program, kExitTimeoutMs, "the contents window was closed")) return 1;
  std::printf("PASS: exit code 0\n");
  return 0;
}

}  // namespace
}  // namespace velbrook::probe

int main(int argc, char** argv) {
  using namespace velbrook::probe;
  DWORD hold_ms = 0;
  std::string ready_file = "velbrook-ready";
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--hold-ms" && i + 1 < argc) {
      hold_ms = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10));
    } else if (argument == "--ready-file" && i + 1 < argc) {
      ready_file = argv[++i];
    } else {
      arguments.push_back(argument);
    }
  }
  if (arguments.size() != 2) {
    std::printf(
        "usage: smoke_probe [--hold-ms N --ready-file F] "
        "velbrook.exe library\n");
    return 2;
  }
  const std::string library = WindowsPath(arguments[1]);
  const std::string version = std::string(kKey) + "\\1.0";
  if (!SetClassesDefault(version, kDescription) ||
      !SetClassesDefault(version + "\\0\\win32", library)) {
    std::printf("FAIL: cannot register %s\n", library.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
    return 1;
  }
  int result = Run(WindowsPath(arguments[0]), library, hold_ms, ready_file);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
  std::fflush(stdout);
  return result;
}
