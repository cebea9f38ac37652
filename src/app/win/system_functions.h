// Run-time binding of the system functions that are looked up by name, and
// the creation of our type-information component (the oleaut32 reader),
// whose one outside need, LoadTypeLibEx, is bound the same way.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "typeinfo/component.h"

namespace velbrook::app {

// LoadLibraryA and GetProcAddress, replaceable so that tests can make any
// library or function go missing.
class ModuleBinder {
 public:
  virtual ~ModuleBinder() = default;
  virtual HMODULE LoadLibraryByName(const char* library) = 0;
  virtual FARPROC FindFunction(HMODULE module, const char* function) = 0;
};

class Win32Binder : public ModuleBinder {
 public:
  HMODULE LoadLibraryByName(const char* library) override { return LoadLibraryA(library); }
  FARPROC FindFunction(HMODULE module, const char* function) override {
    return GetProcAddress(module, function);
  }
};

// The bound functions; the program calls the first group's through these
// pointers. The window-procedure group (CallWindowProcA ... SetWindowLongW)
// is bound for its failure messages, while the column list view calls the
// pointer-sized SetWindowLongPtr forms that 64-bit builds need.
struct SystemFunctions {
  BOOL(WINAPI* bring_window_to_top)(HWND) = nullptr;
  HRESULT(WINAPI* co_initialize)(LPVOID) = nullptr;
  FARPROC co_create_instance = nullptr;
  FARPROC safe_array_destroy = nullptr;
  FARPROC safe_array_get_element = nullptr;
  FARPROC safe_array_get_lbound = nullptr;
  FARPROC safe_array_get_ubound = nullptr;
  FARPROC multi_byte_to_wide_char = nullptr;
  FARPROC wide_char_to_multi_byte = nullptr;
  HINSTANCE(WINAPI* shell_execute)
  (HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = nullptr;
  FARPROC call_window_proc = nullptr;
  FARPROC get_class_name = nullptr;
  FARPROC get_window_long_w = nullptr;
  FARPROC is_window_unicode = nullptr;
  FARPROC set_window_long_w = nullptr;
};

// Why binding stopped: the message to show (no owner window) and the exit
// code (1 missing library, 2 missing function).
struct BindFailure {
  int exit_code = 0;
  std::string message;
};

// Functions 1 to 10, in order, each library loaded by name once per function.
std::optional<BindFailure> BindStartFunctions(ModuleBinder& binder, SystemFunctions* functions);
// Functions 11 to 15.
std::optional<BindFailure> BindWindowFunctions(ModuleBinder& binder, SystemFunctions* functions);

// Creates the type-information component: binds LoadTypeLibEx from
// "OLEAUT32.dll" and makes the oleaut32 reader. Null when either is missing;
// the caller then shows kComponentMissing and ends with exit code 0.
std::unique_ptr<typeinfo::Opener> CreateTypeInfoComponent(ModuleBinder& binder);

}  // namespace velbrook::app
