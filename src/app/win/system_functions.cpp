// Binding of the named system functions with their failure messages.
#include "app/win/system_functions.h"

#include "app/model/messages.h"
#include "typeinfo/oleaut/oleaut_opener.h"

namespace velbrook::app {
namespace {

struct Binding {
  const char* library;
  const char* function;
  FARPROC* slot;
};

template <typename T>
FARPROC* SlotOf(T* pointer) {
  return reinterpret_cast<FARPROC*>(pointer);
}

std::optional<BindFailure> BindAll(ModuleBinder& binder, const Binding* bindings, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    HMODULE module = binder.LoadLibraryByName(bindings[i].library);
    if (module == nullptr) {
      return BindFailure{1, std::string(kLibraryNotFound) + bindings[i].library};
    }
    FARPROC function = binder.FindFunction(module, bindings[i].function);
    if (function == nullptr) {
      return BindFailure{2, std::string(kFunctionNotFound) + bindings[i].function};
    }
    *bindings[i].slot = function;
  }
  return std::nullopt;
}

}  // namespace

std::optional<BindFailure> BindStartFunctions(ModuleBinder& binder, SystemFunctions* f) {
  const Binding bindings[] = {
      {"user32.dll", "BringWindowToTop", SlotOf(&f->bring_window_to_top)},
      {"ole32.dll", "CoInitialize", SlotOf(&f->co_initialize)},
      {"ole32.dll", "CoCreateInstance", &f->co_create_instance},
      {"OLEAUT32.dll", "SafeArrayDestroy", &f->safe_array_destroy},
      {"OLEAUT32.dll", "SafeArrayGetElement", &f->safe_array_get_element},
      {"OLEAUT32.dll", "SafeArrayGetLBound", &f->safe_array_get_lbound},
      {"OLEAUT32.dll", "SafeArrayGetUBound", &f->safe_array_get_ubound},
      {"kernel32.dll", "MultiByteToWideChar", &f->multi_byte_to_wide_char},
      {"kernel32.dll", "WideCharToMultiByte", &f->wide_char_to_multi_byte},
      {"shell32.dll", "ShellExecuteA", SlotOf(&f->shell_execute)},
  };
  return BindAll(binder, bindings, sizeof(bindings) / sizeof(bindings[0]));
}

std::optional<BindFailure> BindWindowFunctions(ModuleBinder& binder, SystemFunctions* f) {
  const Binding bindings[] = {
      {"user32.dll", "CallWindowProcA", &f->call_window_proc},
      {"user32.dll", "GetClassNameA", &f->get_class_name},
      {"user32.dll", "GetWindowLongW", &f->get_window_long_w},
      {"user32.dll", "IsWindowUnicode", &f->is_window_unicode},
      {"user32.dll", "SetWindowLongW", &f->set_window_long_w},
  };
  return BindAll(binder, bindings, sizeof(bindings) / sizeof(bindings[0]));
}

std::unique_ptr<typeinfo::Opener> CreateTypeInfoComponent(ModuleBinder& binder) {
  HMODULE oleaut = binder.LoadLibraryByName("OLEAUT32.dll");
  if (oleaut == nullptr) return nullptr;
  if (binder.FindFunction(oleaut, "LoadTypeLibEx") == nullptr) return nullptr;
  return std::make_unique<typeinfo::oleaut::OleautOpener>();
}

}  // namespace velbrook::app
