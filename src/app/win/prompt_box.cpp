// The prompt box's controls, keys and modal wait.
#include "app/win/prompt_box.h"

#include <commctrl.h>

#include "app/model/layout.h"
#include "app/win/controls.h"
#include "app/win/message_pump.h"

namespace velbrook::app {
namespace {

constexpr int kEditId = 3;
constexpr int kChoiceListId = 4;
constexpr UINT_PTR kEditSubclassId = 1;

}  // namespace

PromptBox::~PromptBox() {
  if (hwnd() != nullptr && IsWindow(hwnd())) DestroyWindow(hwnd());
}

bool PromptBox::EnsureCreated() {
  if (hwnd() != nullptr) return true;
  Rect rect = CenterOnScreen(kPromptWidth, 120, GetSystemMetrics(SM_CXSCREEN),
                             GetSystemMetrics(SM_CYSCREEN));
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
  choice_label_ = CreateChild(hwnd(), "STATIC", "", SS_LEFT, kPromptChoiceLabel, 0);
  // A drop-down list's height includes its opened list.
  choice_list_ = CreateChild(
      hwnd(), "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
      {kPromptChoiceList.left, kPromptChoiceList.top, kPromptChoiceList.width, 160}, kChoiceListId);
  SetWindowSubclass(edit_, &PromptBox::EditProc, kEditSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  Arrange(false);
  return true;
}

void PromptBox::Arrange(bool with_choices) {
  const int show = with_choices ? SW_SHOWNA : SW_HIDE;
  ShowWindow(choice_label_, show);
  ShowWindow(choice_list_, show);
  const int button_top = with_choices ? kPromptChoiceButtonTop : 60;
  SetControlTop(ok_, button_top);
  SetControlTop(cancel_, button_top);
  // The client area must be 99 high (more with the choices) whatever the
  // frame metrics are; the height is then centred again.
  RECT outer = {};
  RECT client = {};
  GetWindowRect(hwnd(), &outer);
  GetClientRect(hwnd(), &client);
  int frame = (outer.bottom - outer.top) - client.bottom;
  const int client_height = with_choices ? kPromptChoiceClientHeight : kPromptClientHeight;
  Rect placed = CenterOnScreen(kPromptWidth, client_height + frame, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN));
  MoveWindow(hwnd(), placed.left, placed.top, placed.width, placed.height, FALSE);
}

std::string PromptBox::PromptText(const std::string& caption, const std::string& label,
                                  const std::string& default_text) {
  if (!EnsureCreated()) return std::string();
  Arrange(false);
  return Ask(caption, label, default_text);
}

std::string PromptBox::PromptText(const std::string& caption, const std::string& label,
                                  const std::string& default_text, const std::string& choice_label,
                                  const std::vector<std::string>& choices, int* chosen) {
  if (!EnsureCreated()) return std::string();
  SendMessageA(choice_list_, CB_RESETCONTENT, 0, 0);
  for (const std::string& choice : choices) {
    SendMessageA(choice_list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
  }
  SendMessageA(choice_list_, CB_SETCURSEL, static_cast<WPARAM>(*chosen), 0);
  SetWindowTextA(choice_label_, choice_label.c_str());
  Arrange(true);
  std::string text = Ask(caption, label, default_text);
  const LRESULT picked = SendMessageA(choice_list_, CB_GETCURSEL, 0, 0);
  if (picked != CB_ERR) *chosen = static_cast<int>(picked);
  return text;
}

std::string PromptBox::Ask(const std::string& caption, const std::string& label,
                           const std::string& default_text) {
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
