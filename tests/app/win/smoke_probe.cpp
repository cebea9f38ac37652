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

namespace {

constexpr char kKey[] = "TypeLib\\{5EE1B0C0-0000-4000-8000-0000000000A1}";
constexpr char kDescription[] = "Velbrook smoke fixture";
constexpr char kWindowClass[] = "VelbrookWindow";
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;

struct Found {
  DWORD process_id = 0;
  std::string contents_caption;
  HWND main = nullptr;
  HWND contents = nullptr;
  std::string dialog;  // caption of a message box, if one came up
};

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

bool SetDefault(const std::string& key, const std::string& data) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0,
                      KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG set = RegSetValueExA(handle, nullptr, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
  RegCloseKey(handle);
  return set == ERROR_SUCCESS;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  Found* found = reinterpret_cast<Found*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != found->process_id || !IsWindowVisible(window)) return TRUE;
  char class_name[64] = {};
  char caption[256] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  GetWindowTextA(window, caption, sizeof(caption));
  if (std::string(class_name) == "#32770") {
    found->dialog = caption;
  } else if (std::string(class_name) == kWindowClass) {
    if (std::string(caption) == "Velbrook") found->main = window;
    if (caption == found->contents_caption) found->contents = window;
  }
  return TRUE;
}

void Touch(const std::string& path) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) std::fclose(file);
}

void ShowOnTop(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

int Run(const std::string& program, const std::string& library, DWORD hold_ms,
        const std::string& ready_file) {
  PROCESS_INFORMATION process = {};
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  std::string command = "\"" + program + "\" " + library;
  std::vector<char> command_buffer(command.begin(), command.end());
  command_buffer.push_back('\0');
  if (!CreateProcessA(program.c_str(), command_buffer.data(), nullptr, nullptr,
                      FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("FAIL: cannot start %s (error %lu)\n", program.c_str(),
                GetLastError());
    return 1;
  }
  Found found;
  found.process_id = process.dwProcessId;
  found.contents_caption =
      std::string(kDescription) + " (" + FileColumn(library) + ")";
  int result = 1;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kStartTimeoutMs) {
    found.main = found.contents = nullptr;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&found));
    if (!found.dialog.empty() || (found.main && found.contents)) break;
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
  }
  if (!found.dialog.empty()) {
    std::printf("FAIL: a message box \"%s\" came up\n", found.dialog.c_str());
  } else if (found.main == nullptr || found.contents == nullptr) {
    std::printf("FAIL: windows not found (main %s, contents \"%s\" %s)\n",
                found.main ? "found" : "missing",
                found.contents_caption.c_str(),
                found.contents ? "found" : "missing");
  } else {
    std::printf("found main window and \"%s\"\n",
                found.contents_caption.c_str());
    if (hold_ms != 0) {
      // The contents window is owned by the main window, so it stays above
      // it: moved off the screen for the main window's picture, then back.
      RECT place = {};
      GetWindowRect(found.contents, &place);
      SetWindowPos(found.contents, nullptr, 4000, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowOnTop(found.main);
      Sleep(500);
      Touch(ready_file + ".main");
      Sleep(hold_ms);
      SetWindowPos(found.contents, nullptr, place.left, place.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
      ShowOnTop(found.contents);
      Sleep(500);
      Touch(ready_file + ".contents");
      Sleep(hold_ms);
    }
    PostMessageA(found.contents, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) !=
        WAIT_OBJECT_0) {
      std::printf("FAIL: velbrook.exe did not end after the contents window "
                  "was closed\n");
    } else {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      if (code == 0) {
        std::printf("PASS: exit code 0\n");
        result = 0;
      } else {
        std::printf("FAIL: exit code %lu\n", code);
      }
    }
  }
  // Never leave the program behind.
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
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
    std::printf("usage: smoke_probe [--hold-ms N --ready-file F] "
                "velbrook.exe library\n");
    return 2;
  }
  const std::string library = WindowsPath(arguments[1]);
  const std::string version = std::string(kKey) + "\\1.0";
  if (!SetDefault(version, kDescription) ||
      !SetDefault(version + "\\0\\win32", library)) {
    std::printf("FAIL: cannot register %s\n", library.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
    return 1;
  }
  int result = Run(WindowsPath(arguments[0]), library, hold_ms, ready_file);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kKey);
  std::fflush(stdout);
  return result;
}
