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
constexpr char kScanDone[] = " TypeLibs found";
constexpr char kMarkValue[] = "VelbrookProbe";

std::vector<std::string> SubkeyNames(HKEY key) {
  std::vector<std::string> names;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  return names;
}

// Copies the default value of `from` to a new key `to` (both below HKCR).
bool CopyDefault(const std::string& from, const std::string& to) {
  HKEY source = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  std::vector<BYTE> data(4096);
  DWORD size = static_cast<DWORD>(data.size());
  LONG read = RegQueryValueExA(source, nullptr, nullptr, &type, data.data(), &size);
  RegCloseKey(source);
  if (read != ERROR_SUCCESS) return false;
  HKEY target = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, to.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &target,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG set = RegSetValueExA(target, nullptr, 0, type, data.data(), size);
  // Marks the key as the probe's, so that a run stopped before its clean-up
  // does not leave keys the next run would take for Wine's.
  DWORD mark = 1;
  if (set == ERROR_SUCCESS) {
    set = RegSetValueExA(target, kMarkValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mark),
                         sizeof(mark));
  }
  RegCloseKey(target);
  return set == ERROR_SUCCESS;
}

bool IsMarked(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return false;
  }
  bool marked =
      RegQueryValueExA(handle, kMarkValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return marked;
}

bool HasSubkey(const std::string& key, const char* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (key + "\\" + name).c_str(), 0, KEY_READ, &handle) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

// TypeLib\{guid}\version\locale\win64 → ...\locale\win32; returns the keys
// it made and counts in win32_count the locales that have a win32 key then
// (a prefix with Wine's 32-bit part installed has them already).
std::vector<std::string> MirrorStockRegistrations(int* win32_count) {
  std::vector<std::string> made;
  HKEY libraries = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "TypeLib", 0, KEY_READ, &libraries) != ERROR_SUCCESS) {
    return made;
  }
  for (const std::string& guid : SubkeyNames(libraries)) {
    HKEY versions = nullptr;
    if (RegOpenKeyExA(libraries, guid.c_str(), 0, KEY_READ, &versions) != ERROR_SUCCESS) {
      continue;
    }
    for (const std::string& version : SubkeyNames(versions)) {
      HKEY locales = nullptr;
      if (RegOpenKeyExA(versions, version.c_str(), 0, KEY_READ, &locales) != ERROR_SUCCESS) {
        continue;
      }
      for (const std::string& locale : SubkeyNames(locales)) {
        std::string key = "TypeLib\\" + guid + "\\" + version + "\\" + locale;
        if (IsMarked(key + "\\win32")) RegDeleteKeyA(HKEY_CLASSES_ROOT, (key + "\\win32").c_str());
        if (HasSubkey(key, "win64") && !HasSubkey(key, "win32") &&
            CopyDefault(key + "\\win64", key + "\\win32")) {
          made.push_back(key + "\\win32");
        }
        if (HasSubkey(key, "win32")) ++*win32_count;
      }
      RegCloseKey(locales);
    }
    RegCloseKey(versions);
  }
  RegCloseKey(libraries);
  return made;
}

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

struct WantedChild {
  const char* text;
  HWND found;
};

BOOL CALLBACK MatchChildText(HWND child, LPARAM context) {
  auto* wanted = reinterpret_cast<WantedChild*>(context);
  if (WindowText(child) != wanted->text) return TRUE;
  wanted->found = child;
  return FALSE;
}

HWND ChildWithText(HWND parent, const char* text) {
  WantedChild wanted{text, nullptr};
  EnumChildWindows(parent, &MatchChildText, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

BOOL CALLBACK CountListRows(HWND window, LPARAM context) {
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (std::string(class_name) == "SysListView32") {
    reinterpret_cast<std::vector<int>*>(context)->push_back(
        static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0)));
  }
  return TRUE;
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

// Opens the row through the list as a user does (focus it, press Enter) and
// reports how long until the contents window shows it; the contents window,
// or null.
HWND OpenThroughWindows(const Program& program, HWND main, const RemoteListView& list, int row,
                        const std::string& caption) {
  if (!list.FocusRow(row)) {
    std::printf("FAIL: cannot focus row %d\n", row);
    return nullptr;
  }
  HWND list_window = FirstListView(main);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  PostMessageA(list_window, WM_KEYDOWN, VK_RETURN, 0);
  ProgramWindows found;
  bool shown = WaitUntil(program, kOpenTimeoutMs, [&] {
    found = FindWindows(program.process_id(), caption);
    return found.contents != nullptr || !found.dialog.empty();
  });
  QueryPerformanceCounter(&end);
  if (!found.dialog.empty()) {
    std::printf("FAIL: a message box \"%s\" came up\n", found.dialog.c_str());
    return nullptr;
  }
  if (!shown || found.contents == nullptr) {
    std::printf("FAIL: \"%s\" did not open\n", caption.c_str());
    return nullptr;
  }
  double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
              static_cast<double>(frequency.QuadPart);
  std::vector<int> counts;
  EnumChildWindows(found.contents, &CountListRows, reinterpret_cast<LPARAM>(&counts));
  std::string rows;
  for (int count : counts) rows += (rows.empty() ? "" : " / ") + std::to_string(count);
  std::printf("opened \"%s\" through the windows in %.0f ms (rows %s)\n", caption.c_str(), ms,
              rows.c_str());
  bool filled = false;
  for (int count : counts) filled = filled || count > 0;
  if (!filled) {
    std::printf("FAIL: its lists are empty\n");
    return nullptr;
  }
  return found.contents;
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
  ProgramWindows found;
  bool scanned = WaitUntil(program, kScanTimeoutMs, [&] {
    found = FindWindows(program.process_id(), "");
    return !found.dialog.empty() || (found.main && ChildWithText(found.main, kScanDone) != nullptr);
  });
  if (!found.dialog.empty() || !scanned) {
    std::printf("FAIL: the scan did not end (%s)\n",
                found.dialog.empty() ? "no main window or count" : found.dialog.c_str());
    return 1;
  }
  RemoteListView list(program.process(), FirstListView(found.main));
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
    HWND contents = OpenThroughWindows(program, found.main, list, mshtml_row, caption);
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
  PostMessageA(found.main, WM_CLOSE, 0, 0);
  if (!EndsWithExitCodeZero(program, kExitTimeoutMs, "its main window was closed")) return 1;
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
  int win32_count = 0;
  std::vector<std::string> made = MirrorStockRegistrations(&win32_count);
  int result = 1;
  if (win32_count == 0) {
    std::printf("FAIL: Wine's registry has no type library registrations\n");
  } else {
    std::printf("%zu stock registrations given a win32 path for the run, %d with one\n",
                made.size(), win32_count);
    result = Run(WindowsPath(argv[1]), WindowsPath(argv[2]));
    if (result == 0) std::printf("PASS\n");
  }
  for (const std::string& key : made) RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
  std::fflush(stdout);
  return result;
}
