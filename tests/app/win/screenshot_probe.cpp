// Poses velbrook.exe for the README's pictures (scripts/screenshots.sh):
// starts it plainly over the registrations of the prefix it runs in, waits
// for the scan, selects one library's row, and tells the script where the
// main window is; once the script has taken its picture, opens that library
// through the list (Enter on the row) and does the same for the contents
// window. Each stage writes DIR\NAME.rect ("left top width height" of the
// window frame in screen coordinates) and waits for the script's
// DIR\NAME.done. Then both windows are closed and the program must end with
// exit code 0.
//
// Wine registers its type libraries for the programs it can run: a prefix
// without 32-bit Wine has only "win64" registrations, which the program lists
// once its "32 and 64 bit" option is ticked, so the probe ticks it and the
// picture shows the Bits column.
// Usage: screenshot_probe velbrook.exe FILE DIR   (FILE as the File column
// shows it, e.g. MSXML3.DLL)
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe_support.h"

namespace velbrook::probe {
namespace {

constexpr char kBothBitnesses[] = "32 and 64 bit";
constexpr DWORD kScanTimeoutMs = 120000;
constexpr DWORD kOpenTimeoutMs = 60000;
// How long the script may take over one picture.
constexpr DWORD kPictureTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;
// Time for the window to paint after it came to the top.
constexpr DWORD kSettleMs = 1500;

void ShowOnTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BringWindowToTop(window);
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Gives a window of the program the keyboard focus (which only a thread
// sharing its input state can do), so that its selected rows show as such.
void GiveFocus(HWND window) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetFocus(window);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
}

// Brings the window to the top with `focus` focused, writes its rectangle
// to DIR\NAME.rect (whole or not at all: the script reads it as soon as it
// appears) and waits for DIR\NAME.done.
bool Pose(const Program& program, HWND window, HWND focus, const std::string& dir,
          const std::string& name) {
  ShowOnTop(window);
  if (focus != nullptr) GiveFocus(focus);
  Sleep(kSettleMs);
  RECT frame = {};
  if (!GetWindowRect(window, &frame)) {
    std::printf("FAIL: no rectangle for the %s window (error %lu)\n", name.c_str(), GetLastError());
    return false;
  }
  const std::string rect = dir + "\\" + name + ".rect";
  const std::string partial = rect + ".partial";
  FILE* file = std::fopen(partial.c_str(), "wb");
  bool written =
      file != nullptr && std::fprintf(file, "%ld %ld %ld %ld\n", frame.left, frame.top,
                                      frame.right - frame.left, frame.bottom - frame.top) > 0;
  if (file != nullptr) written = std::fclose(file) == 0 && written;
  if (!written || !MoveFileExA(partial.c_str(), rect.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    std::printf("FAIL: cannot write %s\n", rect.c_str());
    DeleteFileA(partial.c_str());
    return false;
  }
  std::printf("%s window at %ld,%ld, %ldx%ld\n", name.c_str(), frame.left, frame.top,
              frame.right - frame.left, frame.bottom - frame.top);
  std::fflush(stdout);
  const std::string done = dir + "\\" + name + ".done";
  if (!WaitUntil(program, kPictureTimeoutMs,
                 [&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
    std::printf("FAIL: no %s from the script\n", done.c_str());
    return false;
  }
  return true;
}

// Finds the program's contents window by the end of its caption,
// "DESCRIPTION (FILE)": where the list keeps the description is not the
// probe's business.
struct ContentsSearch {
  DWORD process_id;
  std::string suffix;
  HWND found;
};

BOOL CALLBACK MatchContents(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ContentsSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (owner != search->process_id || !IsWindowVisible(window) ||
      std::string(class_name) != kWindowClass) {
    return TRUE;
  }
  const std::string caption = WindowText(window);
  const std::string& suffix = search->suffix;
  if (caption.size() <= suffix.size() ||
      caption.compare(caption.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// Opens the row as a user does (Enter on the focused row) and returns the
// contents window once it shows the library; null after a message box, a
// timeout or an empty object classes list.
HWND Open(const Program& program, HWND list_window, const RemoteListView& list, int row,
          const std::string& file) {
  if (!list.FocusRow(row)) {
    std::printf("FAIL: cannot focus row %d\n", row);
    return nullptr;
  }
  PostMessageA(list_window, WM_KEYDOWN, VK_RETURN, 0);
  ContentsSearch search{program.process_id(), " (" + file + ")", nullptr};
  std::string dialog;
  WaitUntil(program, kOpenTimeoutMs, [&] {
    EnumWindows(&MatchContents, reinterpret_cast<LPARAM>(&search));
    dialog = FindWindows(program.process_id(), "").dialog;
    return search.found != nullptr || !dialog.empty();
  });
  if (!dialog.empty()) {
    std::printf("FAIL: a message box \"%s\" came up\n", dialog.c_str());
    return nullptr;
  }
  if (search.found == nullptr) {
    std::printf("FAIL: %s did not open\n", file.c_str());
    return nullptr;
  }
  const LRESULT classes = SendMessageA(FirstListView(search.found), LVM_GETITEMCOUNT, 0, 0);
  std::printf("opened \"%s\": %ld object classes list rows\n", WindowText(search.found).c_str(),
              static_cast<long>(classes));
  if (classes <= 0) {
    std::printf("FAIL: its object classes list is empty\n");
    return nullptr;
  }
  return search.found;
}

// Closes the contents window (if open) and the main window; true when the
// program then ends with exit code 0.
bool Close(Program& program, HWND main, HWND contents) {
  if (contents != nullptr) {
    PostMessageA(contents, WM_CLOSE, 0, 0);
    WaitUntil(program, kExitTimeoutMs, [&] { return !IsWindowVisible(contents); });
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  return EndsWithExitCodeZero(program, kExitTimeoutMs, "its main window was closed");
}

int Run(const std::string& app, const std::string& file, const std::string& dir) {
  Program program;
  if (!program.Start(app, "")) {
    std::printf("FAIL: cannot start %s (error %lu)\n", app.c_str(), GetLastError());
    return 1;
  }
  const HWND main_window = WaitForScanEnd(program, kScanTimeoutMs);
  if (main_window == nullptr) return 1;
  HWND list_window = FirstListView(main_window);
  RemoteListView list(program.process(), list_window);
  // Tick "32 and 64 bit" and wait for its scan: the rows change, then stay
  // the same for a while (Abort stays enabled after a scan, so it cannot tell).
  HWND both = ChildWithText(main_window, kBothBitnesses);
  if (both == nullptr) {
    std::printf("FAIL: no \"%s\" option\n", kBothBitnesses);
    Close(program, main_window, nullptr);
    return 1;
  }
  const int rows_before = list.RowCount();
  PostMessageA(both, BM_CLICK, 0, 0);
  int rows_seen = rows_before;
  DWORD steady_since = GetTickCount();
  const bool rescanned = WaitUntil(program, kScanTimeoutMs, [&] {
    const int rows = list.RowCount();
    if (rows != rows_seen) {
      rows_seen = rows;
      steady_since = GetTickCount();
    }
    return rows != rows_before && GetTickCount() - steady_since >= kSettleMs;
  });
  if (!rescanned) {
    std::printf("FAIL: ticking \"%s\" did not list more libraries (%d before)\n", kBothBitnesses,
                rows_before);
    Close(program, main_window, nullptr);
    return 1;
  }
  int row = -1;
  for (int r = 0; list.ok() && r < list.RowCount() && row < 0; ++r) {
    if (list.CellText(r, 0) == file) row = r;
  }
  if (row < 0) {
    std::printf("FAIL: %s is not among the %d listed libraries\n", file.c_str(), list.RowCount());
    Close(program, main_window, nullptr);
    return 1;
  }
  std::printf("%d libraries listed, %s at row %d\n", list.RowCount(), file.c_str(), row);
  // The row the user is about to open, selected and in sight.
  list.FocusRow(row);
  SendMessageA(list_window, LVM_ENSUREVISIBLE, row, FALSE);
  if (!Pose(program, main_window, list_window, dir, "main")) {
    Close(program, main_window, nullptr);
    return 1;
  }
  HWND contents = Open(program, list_window, list, row, file);
  bool posed = contents != nullptr && Pose(program, contents, nullptr, dir, "contents");
  if (!Close(program, main_window, contents) || !posed) return 1;
  std::printf("PASS\n");
  return 0;
}

}  // namespace
}  // namespace velbrook::probe

int main(int argc, char** argv) {
  using namespace velbrook::probe;
  if (argc != 4) {
    std::printf("usage: screenshot_probe velbrook.exe FILE DIR\n");
    return 2;
  }
  int result = Run(WindowsPath(argv[1]), argv[2], WindowsPath(argv[3]));
  std::fflush(stdout);
  return result;
}
