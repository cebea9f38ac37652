// What the probes share: paths, registry writes, the program's process and
// windows, its list views read through memory in its process.
#include "probe_support.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace velbrook::probe {
namespace {

constexpr size_t kTextCapacity = 1024;
constexpr char kMarkValue[] = "VelbrookProbe";

struct WindowSearch {
  DWORD process_id;
  const std::string* contents_caption;
  ProgramWindows found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  std::string caption = WindowText(window);
  if (std::string(class_name) == "#32770") {
    search->found.dialog = caption;
    search->found.dialog_window = window;
  } else if (std::string(class_name) == kWindowClass) {
    if (caption == kMainCaption) search->found.main = window;
    if (caption == *search->contents_caption) search->found.contents = window;
  }
  return TRUE;
}

BOOL CALLBACK FindListView(HWND window, LPARAM context) {
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (std::string(class_name) != WC_LISTVIEWA) return TRUE;
  *reinterpret_cast<HWND*>(context) = window;
  return FALSE;
}

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

BOOL CALLBACK CountListRows(HWND window, LPARAM context) {
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (std::string(class_name) == "SysListView32") {
    reinterpret_cast<std::vector<int>*>(context)->push_back(
        static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0)));
  }
  return TRUE;
}

}  // namespace

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string FileColumn(const std::string& path) {
  std::string file = path.substr(path.rfind('\\') + 1);
  for (char& c : file) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return file;
}

bool SetClassesDefault(const std::string& key, const std::string& data) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG set = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
  RegCloseKey(handle);
  return set == ERROR_SUCCESS;
}

Program::~Program() {
  if (process_.hProcess == nullptr) return;
  if (!HasEnded()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Program::Start(const std::string& program, const std::string& arguments) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::string command = "\"" + program + "\"";
  if (!arguments.empty()) command += " " + arguments;
  std::vector<char> buffer(command.begin(), command.end());
  buffer.push_back('\0');
  return CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_) != FALSE;
}

bool Program::WaitForExit(DWORD timeout_ms, DWORD* exit_code) {
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    return false;
  }
  GetExitCodeProcess(process_.hProcess, exit_code);
  return true;
}

bool Program::HasEnded() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

bool EndsWithExitCodeZero(Program& program, DWORD timeout_ms, const char* event) {
  DWORD code = 0;
  if (!program.WaitForExit(timeout_ms, &code)) {
    std::printf("FAIL: velbrook.exe did not end after %s\n", event);
    return false;
  }
  if (code != 0) {
    std::printf("FAIL: exit code %lu\n", code);
    return false;
  }
  return true;
}

namespace {

// An inheritable temporary file for a child's standard stream.
class CaptureFile {
 public:
  CaptureFile() {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    if (GetTempFileNameA(directory, "vbp", 0, path_) == 0) return;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    handle_ = CreateFileA(path_, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  }
  ~CaptureFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    DeleteFileA(path_);
  }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE handle() const { return handle_; }
  std::string Text() const {
    std::string text;
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(handle_, chunk, sizeof(chunk), &read, nullptr) && read != 0) {
      text.append(chunk, read);
    }
    return text;
  }

 private:
  char path_[MAX_PATH] = {};
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

bool RunForOutput(const std::string& program, const std::string& arguments, DWORD timeout_ms,
                  std::string* output, DWORD* exit_code, std::string* errors) {
  // Files rather than pipes: nothing to drain while waiting.
  CaptureFile out, err;
  if (!out.ok() || !err.ok()) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.handle();
  startup.hStdError = errors != nullptr ? err.handle() : GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string command = "\"" + program + "\" " + arguments;
  std::vector<char> buffer(command.begin(), command.end());
  buffer.push_back('\0');
  PROCESS_INFORMATION process = {};
  bool ran = CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process) != FALSE;
  if (ran) {
    ran = WaitForSingleObject(process.hProcess, timeout_ms) == WAIT_OBJECT_0;
    if (!ran) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  *output = ran ? out.Text() : std::string();
  if (errors != nullptr) *errors = ran ? err.Text() : std::string();
  return ran;
}

ProgramWindows FindWindows(DWORD process_id, const std::string& contents_caption) {
  WindowSearch search{process_id, &contents_caption, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 5000, &length)) {
    return std::string();
  }
  return std::string(text, length);
}

RemoteListView::RemoteListView(HANDLE process, HWND list) : process_(process), list_(list) {
  remote_ = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextCapacity,
                                              MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteListView::~RemoteListView() {
  if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
}

int RemoteListView::RowCount() const {
  return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string RemoteListView::CellText(int row, int column) const {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = remote_ + sizeof(LVITEMA);
  item.cchTextMax = static_cast<int>(kTextCapacity);
  if (!WriteProcessMemory(process_, remote_, &item, sizeof(item), nullptr)) {
    return std::string();
  }
  LRESULT length = SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote_));
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length), '\0');
  if (!ReadProcessMemory(process_, remote_ + sizeof(LVITEMA), &text[0], text.size(), nullptr)) {
    return std::string();
  }
  return text;
}

bool RemoteListView::FocusRow(int row) const {
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  if (!WriteProcessMemory(process_, remote_, &item, sizeof(item), nullptr) ||
      !SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(remote_))) {
    return false;
  }
  item.state = LVIS_FOCUSED | LVIS_SELECTED;
  return WriteProcessMemory(process_, remote_, &item, sizeof(item), nullptr) &&
         SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote_)) != 0;
}

HWND FirstListView(HWND parent) {
  HWND found = nullptr;
  EnumChildWindows(parent, &FindListView, reinterpret_cast<LPARAM>(&found));
  return found;
}

// TypeLib\{guid}\version\locale\win64 → ...\locale\win32; returns the keys
// it made.
std::vector<std::string> MirrorStockRegistrations() {
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
      }
      RegCloseKey(locales);
    }
    RegCloseKey(versions);
  }
  RegCloseKey(libraries);
  return made;
}

HWND ChildWithText(HWND parent, const char* text) {
  WantedChild wanted{text, nullptr};
  EnumChildWindows(parent, &MatchChildText, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

// Opens the row through the list as a user does (focus it, press Enter) and
// reports how long until the contents window shows it; the contents window,
// or null.
HWND OpenThroughWindows(const Program& program, HWND main, const RemoteListView& list, int row,
                        const std::string& caption, DWORD timeout_ms, double* elapsed_ms) {
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
  bool shown = WaitUntil(program, timeout_ms, [&] {
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
  if (elapsed_ms != nullptr) *elapsed_ms = ms;
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

HWND WaitForScanEnd(const Program& program, DWORD timeout_ms) {
  ProgramWindows found;
  const bool ended = WaitUntil(program, timeout_ms, [&] {
    found = FindWindows(program.process_id(), "");
    return !found.dialog.empty() ||
           (found.main && ChildWithText(found.main, " TypeLibs found") != nullptr);
  });
  if (!found.dialog.empty() || !ended) {
    std::printf("FAIL: the scan did not end (%s)\n",
                found.dialog.empty() ? "no main window or count" : found.dialog.c_str());
    return nullptr;
  }
  return found.main;
}

}  // namespace velbrook::probe
