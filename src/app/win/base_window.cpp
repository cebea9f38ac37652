// The shared window class and the procedure that routes to the C++ object.
#include "app/win/base_window.h"

#include "app/model/messages.h"

namespace velbrook::app {

bool BaseWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kClassName, &existing)) return true;
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = &BaseWindow::Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  return RegisterClassExA(&window_class) != 0;
}

bool BaseWindow::CreateTopLevel(HINSTANCE instance, const char* caption, DWORD style,
                                const Rect& rect, HWND owner) {
  CreateWindowExA(0, kClassName, caption, style, rect.left, rect.top, rect.width, rect.height,
                  owner, nullptr, instance, this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  BaseWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    self = static_cast<BaseWindow*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  // Nothing may unwind through the system's callback: the failure is told
  // and the message gets its default handling.
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    self->ReportFailure(FailureText());
    return DefWindowProcA(window, message, wparam, lparam);
  }
}

void BaseWindow::ReportFailure(const std::string& what) {
  if (reporter_ != nullptr) {
    reporter_->ReportFailure(what);
  } else {
    MessageBoxA(hwnd_, (kFailurePrefix + what).c_str(), kCaption, MB_OK | MB_SETFOREGROUND);
  }
}

}  // namespace velbrook::app
