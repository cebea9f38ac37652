// What the probes that drive velbrook.exe from another process share:
// Windows paths, registry writes, starting and ending the program, finding
// its windows, and reading its list views through memory in its process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velbrook::probe {

inline constexpr char kWindowClass[] = "VelbrookWindow";
inline constexpr char kMainCaption[] = "Velbrook";

// "/tmp/x.tlb" as Wine's Z: drive names it.
std::string WindowsPath(std::string path);
// The File column's text for a path: the last part, upper-cased.
std::string FileColumn(const std::string& path);
// Sets the default value of a key below HKEY_CLASSES_ROOT, creating it.
bool SetClassesDefault(const std::string& key, const std::string& data);

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  // Ends the program if it is still running: a probe never leaves it behind.
  ~Program();

  bool Start(const std::string& program, const std::string& arguments);
  // Waits for the program to end; false on timeout.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code);
  bool HasEnded() const;
  DWORD process_id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }

 private:
  PROCESS_INFORMATION process_ = {};
};

// Waits for the program to end with exit code 0 after `event`; prints
// "FAIL: ..." and returns false otherwise.
bool EndsWithExitCodeZero(Program& program, DWORD timeout_ms, const char* event);

// Runs a console program to its end with its standard output in `output`
// and, when `errors` is given, its standard error there.
bool RunForOutput(const std::string& program, const std::string& arguments, DWORD timeout_ms,
                  std::string* output, DWORD* exit_code, std::string* errors = nullptr);

// The program's visible top-level windows of our class with that caption,
// and the caption of a message box it shows, if any.
struct ProgramWindows {
  HWND main = nullptr;
  HWND contents = nullptr;
  std::string dialog;
  HWND dialog_window = nullptr;
};
ProgramWindows FindWindows(DWORD process_id, const std::string& contents_caption);

std::string WindowText(HWND window);

// Waits, a tenth of a second at a time, until `done` holds or the program
// ends or the time is up.
template <typename Done>
bool WaitUntil(const Program& program, DWORD timeout_ms, Done done) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout_ms) {
    if (done()) return true;
    if (program.HasEnded()) return done();
    Sleep(100);
  }
  return done();
}

// Waits until the program's registry scan ends (its main window shows
// " TypeLibs found"); the main window, or null after printing why not (no
// main window or count in time, or a message box).
HWND WaitForScanEnd(const Program& program, DWORD timeout_ms);

// A list view of another process, read and written through a buffer
// allocated in that process (list-view messages carry raw pointers).
class RemoteListView {
 public:
  RemoteListView(HANDLE process, HWND list);
  ~RemoteListView();
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  bool ok() const { return remote_ != nullptr; }
  int RowCount() const;
  std::string CellText(int row, int column) const;
  // Makes the row the focused and only selected one.
  bool FocusRow(int row) const;

 private:
  HANDLE process_;
  HWND list_;
  char* remote_ = nullptr;
};

// The first child list view of a window.
HWND FirstListView(HWND parent);
// The first child window whose text is `text`, or null.
HWND ChildWithText(HWND parent, const char* text);

// Gives each stock "win64" type library registration without a "win32" one
// a "win32" key with the same path (as a prefix that runs 32-bit programs
// has them), marked as the probe's; returns the keys made, for the caller
// to delete after its run.
std::vector<std::string> MirrorStockRegistrations();

// Opens the row through the list as a user does (focus it, press Enter) and
// waits for the contents window of that caption; prints the time it took
// and the lists' row counts, and returns the contents window (null after a
// message box, a timeout or empty lists). The time goes to elapsed_ms too.
HWND OpenThroughWindows(const Program& program, HWND main, const RemoteListView& list, int row,
                        const std::string& caption, DWORD timeout_ms, double* elapsed_ms);

}  // namespace velbrook::probe
