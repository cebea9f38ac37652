// Times velbrook.exe's windows over the registry of the prefix it runs in,
// seen from outside as a user sees them: from starting the program to the
// main window showing its final count text ("N TypeLibs found"), polled
// every 10 ms; then, with --open FILE, from pressing Enter on that library's
// row to the contents window showing its lists. With --cli, first the
// registry scan alone: `velbrook-cli.exe list` from its start to its end.
// One line per measure.
// Usage: window_bench_probe velbrook.exe [--cli velbrook-cli.exe]
//                           [--open MSHTML.TLB] [--timeout-s N]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_support.h"

namespace velbrook::probe {
namespace {

constexpr char kScanDone[] = " TypeLibs found";
// The main window's count text control (the number before kScanDone).
constexpr int kCountTextId = 102;
constexpr DWORD kPollMs = 10;
constexpr DWORD kExitTimeoutMs = 30000;

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The main window once it shows its count; null on a message box, an early
// end or a timeout.
HWND WaitForCount(const Program& program, DWORD timeout_ms) {
  const DWORD started = GetTickCount();
  while (GetTickCount() - started < timeout_ms && !program.HasEnded()) {
    ProgramWindows found = FindWindows(program.process_id(), "");
    if (!found.dialog.empty()) {
      std::printf("FAIL: a message box \"%s\" came up\n", found.dialog.c_str());
      return nullptr;
    }
    if (found.main != nullptr && ChildWithText(found.main, kScanDone) != nullptr) {
      return found.main;
    }
    Sleep(kPollMs);
  }
  return nullptr;
}

// The registry scan of the command line, for comparison with the window.
bool TimeList(const std::string& cli, DWORD timeout_ms) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  std::string output;
  DWORD code = 1;
  const bool ran = RunForOutput(cli, "list", timeout_ms, &output, &code);
  const double list_ms = MillisecondsSince(start);
  if (!ran || code != 0) {
    std::printf("FAIL: %s list did not succeed (exit %lu)\n", cli.c_str(), code);
    return false;
  }
  size_t rows = 0;
  for (char c : output) rows += c == '\n' ? 1 : 0;
  std::printf("list: %zu rows printed by velbrook-cli.exe list in %.0f ms\n", rows, list_ms);
  return true;
}

int Run(const std::string& app, const std::string& open_file, DWORD timeout_ms) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  Program program;
  if (!program.Start(app, "")) {
    std::printf("FAIL: cannot start %s (error %lu)\n", app.c_str(), GetLastError());
    return 1;
  }
  HWND main = WaitForCount(program, timeout_ms);
  const double fill_ms = MillisecondsSince(start);
  if (main == nullptr) {
    std::printf("fill: no count text after %.0f ms\n", fill_ms);
    return 1;
  }
  const std::string count = WindowText(GetDlgItem(main, kCountTextId));
  std::printf("fill: \"%s%s\" shown %.0f ms after the start\n", count.c_str(), kScanDone, fill_ms);
  std::fflush(stdout);
  int result = 0;
  if (!open_file.empty()) {
    RemoteListView list(program.process(), FirstListView(main));
    int row = -1;
    for (int r = 0; list.ok() && r < list.RowCount() && row < 0; ++r) {
      if (list.CellText(r, 0) == open_file) row = r;
    }
    if (row < 0) {
      std::printf("FAIL: %s is not in the list\n", open_file.c_str());
      result = 1;
    } else {
      const std::string caption = list.CellText(row, 1) + " (" + open_file + ")";
      double open_ms = 0;
      HWND contents = OpenThroughWindows(program, main, list, row, caption, timeout_ms, &open_ms);
      if (contents == nullptr) {
        result = 1;
      } else {
        std::printf("open: %s shown %.0f ms after Enter\n", open_file.c_str(), open_ms);
        PostMessageA(contents, WM_CLOSE, 0, 0);
        WaitUntil(program, kExitTimeoutMs, [&] { return !IsWindowVisible(contents); });
      }
    }
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!EndsWithExitCodeZero(program, kExitTimeoutMs, "its main window was closed")) return 1;
  return result;
}

}  // namespace
}  // namespace velbrook::probe

int main(int argc, char** argv) {
  using namespace velbrook::probe;
  std::string open_file;
  std::string cli;
  DWORD timeout_ms = 300000;
  int arg = 2;
  for (; argc >= 2 && arg + 1 < argc; arg += 2) {
    const std::string option = argv[arg];
    if (option == "--open") {
      open_file = argv[arg + 1];
    } else if (option == "--cli") {
      cli = WindowsPath(argv[arg + 1]);
    } else if (option == "--timeout-s") {
      timeout_ms = static_cast<DWORD>(std::strtoul(argv[arg + 1], nullptr, 10) * 1000);
    } else {
      break;
    }
  }
  if (argc < 2 || arg != argc) {
    std::printf(
        "usage: window_bench_probe velbrook.exe [--cli velbrook-cli.exe] [--open FILE] "
        "[--timeout-s N]\n");
    return 2;
  }
  std::vector<std::string> made = MirrorStockRegistrations();
  int result = cli.empty() || TimeList(cli, timeout_ms) ? 0 : 1;
  if (result == 0) result = Run(WindowsPath(argv[1]), open_file, timeout_ms);
  for (const std::string& key : made) RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  std::fflush(stdout);
  return result;
}
