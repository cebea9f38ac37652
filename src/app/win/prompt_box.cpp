// The prompt box's controls, keys and modal wait.
#include "app/win/prompt_box.h"

#include <commctrl.h>

#include "app/model/layout.h"
#include "app/win/controls.h"
#include "app/win/message_pump.h"

namespace velbrook::app {
namespace {

constexpr int kEditId = 3;
constexpr UINT_PTR kEditSubclassId = 1;

}  // namespace

PromptBox::~PromptBox() {
  if (hwnd() != nullptr && IsWindow(hwnd())) DestroyWindow(hwnd());
}

bool PromptBox::EnsureCreated() {
  if (hwnd() != nullptr) return true;
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  Rect rect = CenterOnScreen(kPromptWidth, 120, screen_width, screen_height);
  if (!CreateTopLevel(instance_, "", WS_OVERLAPPEDWINDOW, rect, owner_)) {
    return false;
  }
  SetWindowLongPtrA(hwnd(), GWL_STYLE,
                    GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  label_ = CreateChild(hwnd(), "STATIC", "", SS_LEFT, {12, 20, 90, 20}, 0);
  edit_ = CreateChild(hwnd(), "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, {75, 18, 254, 21}, kEditId,
                      WS_EX_CLIENTEDGE);
  ok_ = CreateChild(hwnd(), "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {75, 60, 75, 23}, kOkId);
  cancel_ = CreateChild(hwnd(), "BUTTON", "Annuler", WS_TABSTOP | BS_PUSHBUTTON, {186, 60, 75, 23},
                        kCancelId);
  SetWindowSubclass(edit_, &PromptBox::EditProc, kEditSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  // The client area must be 99 high whatever the frame metrics are; the
  // height is then centred again.
  RECT outer = {};
  RECT client = {};
  GetWindowRect(hwnd(), &outer);
  GetClientRect(hwnd(), &client);
  int frame = (outer.bottom - outer.top) - client.bottom;
  Rect placed =
      CenterOnScreen(kPromptWidth, kPromptClientHeight + frame, screen_width, screen_height);
  MoveWindow(hwnd(), placed.left, placed.top, placed.width, placed.height, FALSE);
  return true;
}

std::string PromptBox::PromptText(const std::string& caption, const std::string& label,
                                  const std::string& default_text) {
  if (!EnsureCreated()) return std::string();
  SetWindowTextA(hwnd(), caption.c_str());
  SetWindowTextA(label_, label.c_str());
  SetWindowTextA(edit_, default_text.c_str());
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(edit_);
  WaitWhileVisible(hwnd());
  return WindowText(edit_);
}

void PromptBox::Confirm() { ShowWindow(hwnd(), SW_HIDE); }

void PromptBox::Cancel() {
  SetWindowTextA(edit_, "");
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT PromptBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        if (LOWORD(wparam) == kOkId) {
          Confirm();
          return 0;
        }
        if (LOWORD(wparam) == kCancelId) {
          Cancel();
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      // The close box keeps the typed text, as OK does.
      Confirm();
      return 0;
    default:
      break;
  }
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK PromptBox::EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR /*id*/, DWORD_PTR self_address) {
  auto* self = reinterpret_cast<PromptBox*>(self_address);
  if (message == WM_KEYDOWN && wparam == VK_RETURN) {
    self->Confirm();
    return 0;
  }
  if (message == WM_KEYDOWN && wparam == VK_ESCAPE) {
    self->Cancel();
    return 0;
  }
  // The characters of those keys would only make the edit field beep.
  if (message == WM_CHAR && (wparam == '\r' || wparam == 27)) return 0;
  return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace velbrook::app
