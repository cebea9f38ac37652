// velbrook.exe against Wine's own type library registrations, seen from
// outside: its library list holds the same rows, in the same order, as
// `velbrook-cli.exe list`; mshtml's library opens through the windows (the
// time it takes is printed); with every row checked by the Toggle buttons,
// Generate and the save dialog write the file `generate --all` writes. Then
// closing the main window ends it with exit code 0.
//
// Wine registers its type libraries for the bitness of the prefix only, and
// the program reads the 32-bit ("win32") registrations: each stock "win64"
// registration without a "win32" one gets one with the same path for the
// run, as a prefix that runs 32-bit programs has them, and loses it after.
// Usage: registry_list_probe velbrook.exe velbrook-cli.exe
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe_support.h"

namespace velbrook::probe {
namespace {

constexpr DWORD kScanTimeoutMs = 60000;
constexpr DWORD kOpenTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;
// mshtml gives a few dozen warnings, each a message box to answer.
constexpr DWORD kGenerateTimeoutMs = 150000;
constexpr int kListedColumns = 4;  // File, Description, Path, CLSID

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool CompareLists(const std::vector<std::string>& window_rows,
                  const std::vector<std::string>& command_rows) {
  if (window_rows == command_rows) {
    std::printf(
        "ok: the library list and `list` both have %zu rows, "
        "the same in the same order\n",
        window_rows.size());
    return true;
  }
  std::printf(
      "FAIL: the library list (%zu rows) differs from `list` "
      "(%zu rows)\n",
      window_rows.size(), command_rows.size());
  size_t rows = window_rows.size() > command_rows.size() ? window_rows.size() : command_rows.size();
  for (size_t row = 0; row < rows; ++row) {
    const char* window = row < window_rows.size() ? window_rows[row].c_str() : "(none)";
    const char* command = row < command_rows.size() ? command_rows[row].c_str() : "(none)";
    if (std::string(window) != command) {
      std::printf(" row %zu\n  window: %s\n  list:   %s\n", row, window, command);
    }
  }
  return false;
}

constexpr int kFileNameId = 0x47C;  // cmb13, the save dialog's file name box

BOOL CALLBACK MatchFileNameEdit(HWND child, LPARAM context) {
  char class_name[32] = {};
  GetClassNameA(child, class_name, sizeof(class_name));
  if (std::string(class_name) != "Edit" || GetDlgCtrlID(child) != kFileNameId) return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

HWND FileNameEdit(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(dialog, &MatchFileNameEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

void ClickButton(HWND parent, HWND button) {
  PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

struct Toggles {
  HWND contents;
  int clicked;
};

BOOL CALLBACK ClickToggle(HWND child, LPARAM context) {
  auto* toggles = reinterpret_cast<Toggles*>(context);
  if (WindowText(child) == "Toggle selection") {
    ClickButton(toggles->contents, child);
    ++toggles->clicked;
  }
  return TRUE;
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char chunk[65536];
    size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof(chunk), file)) != 0) bytes.append(chunk, read);
    std::fclose(file);
  }
  return bytes;
}

// The header's second line ends with the date and time of writing.
std::string WithoutWritingTime(const std::string& text) {
  size_t first = text.find("\r\n");
  size_t second = first == std::string::npos ? first : text.find("\r\n", first + 2);
  if (second == std::string::npos) return text;
  size_t on = text.rfind(" on ", second);
  if (on == std::string::npos || on < first) return text;
  return text.substr(0, on) + text.substr(second);
}

// Every row checked with the Toggle buttons, Generate, the save dialog
// answered as a user would; the file must equal the command line's
// `generate --all` of the same library.
bool GenerateThroughWindows(const Program& program, HWND contents, const std::string& cli,
                            const std::string& library_path) {
  char directory[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, directory);
  // The same name in two folders: the file's name is written into it.
  const std::string windows_folder = std::string(directory) + "velbrook-windows";
  const std::string command_folder = std::string(directory) + "velbrook-command";
  CreateDirectoryA(windows_folder.c_str(), nullptr);
  CreateDirectoryA(command_folder.c_str(), nullptr);
  const std::string through_windows = windows_folder + "\\MSHTML.inc";
  const std::string through_command = command_folder + "\\MSHTML.inc";
  DeleteFileA(through_windows.c_str());
  DeleteFileA(through_command.c_str());
  // Every row starts unchecked: one Toggle per list checks them all.
  Toggles toggles{contents, 0};
  EnumChildWindows(contents, &ClickToggle, reinterpret_cast<LPARAM>(&toggles));
  if (toggles.clicked != 4) {
    std::printf("FAIL: %d Toggle buttons, not 4\n", toggles.clicked);
    return false;
  }
  HWND generate = ChildWithText(contents, "Generate .inc");
  if (generate == nullptr) {
    std::printf("FAIL: no Generate button\n");
    return false;
  }
  ClickButton(contents, generate);
  // The save dialog, then the question whether to create the new file.
  ProgramWindows found;
  if (!WaitUntil(program, kOpenTimeoutMs, [&] {
        found = FindWindows(program.process_id(), "");
        return found.dialog_window != nullptr;
      })) {
    std::printf("FAIL: no save dialog\n");
    return false;
  }
  HWND dialog = found.dialog_window;
  // The file name field: an edit control inside the dialog's file name box.
  HWND name_field = FileNameEdit(dialog);
  if (name_field == nullptr) {
    std::printf("FAIL: the save dialog has no file name field\n");
    return false;
  }
  SendMessageA(name_field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(through_windows.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  HWND answered = nullptr;
  int warnings = 0;
  bool written = WaitUntil(program, kGenerateTimeoutMs, [&] {
    found = FindWindows(program.process_id(), "");
    // Generation's warnings are message boxes with an OK button; the
    // question whether to create the file has Yes.
    if (found.dialog_window != nullptr && found.dialog_window != dialog &&
        found.dialog_window != answered) {
      if (ChildWithText(found.dialog_window, "&Yes") != nullptr) {
        PostMessageA(found.dialog_window, WM_COMMAND, IDYES, 0);
        answered = found.dialog_window;
      } else if (ChildWithText(found.dialog_window, "OK") != nullptr) {
        PostMessageA(found.dialog_window, WM_COMMAND, IDOK, 0);
        answered = found.dialog_window;
        ++warnings;
      }
    }
    return found.dialog_window == nullptr &&
           GetFileAttributesA(through_windows.c_str()) != INVALID_FILE_ATTRIBUTES;
  });
  if (!written) {
    std::printf("FAIL: generating through the windows wrote no file (dialog \"%s\")\n",
                found.dialog.c_str());
    return false;
  }
  std::string output, errors;
  DWORD code = 1;
  if (!RunForOutput(cli, "generate \"" + library_path + "\" --all -o \"" + through_command + "\"",
                    kScanTimeoutMs, &output, &code, &errors) ||
      code != 0) {
    std::printf("FAIL: velbrook-cli.exe generate did not succeed (exit %lu)\n", code);
    return false;
  }
  const std::string windows_bytes = FileBytes(through_windows);
  const std::string command_bytes = FileBytes(through_command);
  DeleteFileA(through_windows.c_str());
  DeleteFileA(through_command.c_str());
  RemoveDirectoryA(windows_folder.c_str());
  RemoveDirectoryA(command_folder.c_str());
  if (windows_bytes.empty() ||
      WithoutWritingTime(windows_bytes) != WithoutWritingTime(command_bytes)) {
    std::printf(
        "FAIL: the include file written through the windows (%zu bytes) differs from "
        "generate --all (%zu bytes)\n",
        windows_bytes.size(), command_bytes.size());
    return false;
  }
  // The command line prints each warning the windows showed in a box.
  int printed = 0;
  for (size_t at = errors.find("warning: "); at != std::string::npos;
       at = errors.find("warning: ", at + 1)) {
    ++printed;
  }
  if (printed != warnings) {
    std::printf("FAIL: %d warnings in message boxes, %d printed by generate\n", warnings, printed);
    return false;
  }
  std::printf(
      "ok: every row checked through the windows gives generate --all's file "
      "(%zu bytes, %d warnings as by the command line), the writing time aside\n",
      windows_bytes.size(), warnings);
  return true;
}

int Run(const std::string& app, const std::string& cli) {
  std::string output;
  DWORD code = 1;
  if (!RunForOutput(cli, "list", kScanTimeoutMs, &output, &code) || code != 0) {
    std::printf("FAIL: %s list did not succeed (exit %lu)\n", cli.c_str(), code);
    return 1;
  }
  std::vector<std::string> command_rows = Lines(output);
  Program program;
  if (!program.Start(app, "")) {
    std::printf("FAIL: cannot start %s (error %lu)\n", app.c_str(), GetLastError());
    return 1;
  }
  const HWND main_window = WaitForScanEnd(program, kScanTimeoutMs);
  if (main_window == nullptr) return 1;
  RemoteListView list(program.process(), FirstListView(main_window));
  if (!list.ok()) {
    std::printf("FAIL: no memory in the program's process\n");
    return 1;
  }
  std::vector<std::string> window_rows;
  int mshtml_row = -1;
  for (int row = 0; row < list.RowCount(); ++row) {
    const std::string file = list.CellText(row, 0);
    std::string line = file;
    for (int column = 1; column < kListedColumns; ++column)
      line += '\t' + list.CellText(row, column);
    if (file == "MSHTML.TLB") mshtml_row = row;
    window_rows.push_back(line);
  }
  bool same = CompareLists(window_rows, command_rows);
  bool opened = false;
  if (mshtml_row < 0) {
    std::printf("FAIL: MSHTML.TLB is not in the list\n");
  } else {
    std::string caption = list.CellText(mshtml_row, 1) + " (MSHTML.TLB)";
    HWND contents = OpenThroughWindows(program, main_window, list, mshtml_row, caption,
                                       kOpenTimeoutMs, nullptr);
    opened = contents != nullptr &&
             GenerateThroughWindows(program, contents, cli, list.CellText(mshtml_row, 2));
    if (contents != nullptr) {
      PostMessageA(contents, WM_CLOSE, 0, 0);
      if (!WaitUntil(program, kExitTimeoutMs, [&] { return !IsWindowVisible(contents); })) {
        std::printf("FAIL: the contents window did not close\n");
        opened = false;
      }
    }
  }
  PostMessageA(main_window, WM_CLOSE, 0, 0);
  if (!EndsWithExitCodeZero(program, kExitTimeoutMs, "its main_window window was closed")) return 1;
  return same && opened ? 0 : 1;
}

}  // namespace
}  // namespace velbrook::probe

int main(int argc, char** argv) {
  using namespace velbrook::probe;
  if (argc != 3) {
    std::printf("usage: registry_list_probe velbrook.exe velbrook-cli.exe\n");
    return 2;
  }
  // A prefix that runs 32-bit programs has "win32" registrations of its own;
  // a 64-bit-only one gets them for the run. An empty registry fails below:
  // MSHTML.TLB is then not in the list.
  std::vector<std::string> made = MirrorStockRegistrations();
  std::printf("%zu stock registrations given a win32 path for the run\n", made.size());
  int result = Run(WindowsPath(argv[1]), WindowsPath(argv[2]));
  if (result == 0) std::printf("PASS\n");
  for (const std::string& key : made) RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  std::fflush(stdout);
  return result;
}
