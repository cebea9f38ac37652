// Creation and placement of child controls.
#include "app/win/controls.h"

#include <vector>

namespace velbrook::app {

HWND CreateChild(HWND parent, const char* window_class, const char* text, DWORD style,
                 const Rect& rect, int id, DWORD ex_style, HFONT font) {
  HWND control = CreateWindowExA(
      ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.width,
      rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (control != nullptr) {
    HFONT used = font != nullptr ? font : static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(used), FALSE);
  }
  return control;
}

HFONT CreateArial15() {
  LOGFONTA font = {};
  font.lfHeight = 15;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

void PlaceControl(HWND control, const Rect& rect) {
  MoveWindow(control, rect.left, rect.top, rect.width, rect.height, TRUE);
}

void SetControlTop(HWND control, int top) {
  Rect rect = ControlRect(control);
  rect.top = top;
  PlaceControl(control, rect);
}

void SetControlLeft(HWND control, int left) {
  Rect rect = ControlRect(control);
  rect.left = left;
  PlaceControl(control, rect);
}

Rect ControlRect(HWND control) {
  RECT outer = {};
  GetWindowRect(control, &outer);
  POINT corner = {outer.left, outer.top};
  ScreenToClient(GetParent(control), &corner);
  return {corner.x, corner.y, outer.right - outer.left, outer.bottom - outer.top};
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? copied : 0);
}

bool IsChecked(HWND check_box) { return SendMessageA(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND check_box, bool checked) {
  SendMessageA(check_box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace velbrook::app
