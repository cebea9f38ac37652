// Starts velbrook.exe with a library as its argument and checks it from the
// outside: both windows appear, closing the contents window ends the process
// with exit code 0. The library is registered for the run and removed after.
// Usage: smoke_probe velbrook.exe library
#include <windows.h>

#include <cstdio>
#include <string>

#include "probe_support.h"

namespace velbrook::probe {
namespace {

constexpr char kKey[] = "TypeLib\\{5EE1B0C0-0000-4000-8000-0000000000A1}";
constexpr char kDescription[] = "Velbrook smoke fixture";
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;

int Run(const std::string& app, const std::string& library) {
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
  PostMessageA(found.contents, WM_CLOSE, 0, 0);
  if (!EndsWithExitCodeZero(program, kExitTimeoutMs, "the contents window was closed")) return 1;
  std::printf("PASS: exit code 0\n");
  return 0;
}

}  // namespace
}  // namespace velbrook::probe

int main(int argc, char** argv) {
  using namespace velbrook::probe;
  if (argc != 3) {
    std::printf("usage: smoke_probe velbrook.exe library\n");
    return 2;
  }
  const std::string library = WindowsPath(argv[2]);
  const std::string version = std::string(kKey) + "\\1.0";
  if (!SetClassesDefault(version, kDescription) ||
      !SetClassesDefault(version + "\\0\\win32", library)) {
    std::printf("FAIL: cannot register %s\n", library.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
    return 1;
  }
  int result = Run(WindowsPath(argv[1]), library);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
  std::fflush(stdout);
  return result;
}
