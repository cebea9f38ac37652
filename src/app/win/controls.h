// RAII handles and small helpers for creating and placing child controls.
#pragma once

#include <windows.h>

#include <string>

#include "app/model/layout.h"

namespace velbrook::app {

// A GDI font that this program created and deletes.
class FontHandle {
 public:
  FontHandle() = default;
  explicit FontHandle(HFONT font) : font_(font) {}
  ~FontHandle() { Reset(); }
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;
  void Reset(HFONT font = nullptr) {
    if (font_ != nullptr) DeleteObject(font_);
    font_ = font;
  }
  HFONT get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// A top-level window that is destroyed with its owner object. The program
// itself never destroys its windows; tests build and drop them repeatedly.
class WindowHandle {
 public:
  WindowHandle() = default;
  ~WindowHandle() { Reset(); }
  WindowHandle(const WindowHandle&) = delete;
  WindowHandle& operator=(const WindowHandle&) = delete;
  void Reset(HWND window = nullptr) {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
    window_ = window;
  }
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// Creates a visible child control with the stock ANSI_VAR_FONT (or `font`).
HWND CreateChild(HWND parent, const char* window_class, const char* text, DWORD style,
                 const Rect& rect, int id, DWORD ex_style = 0, HFONT font = nullptr);

// Arial with a cell height of 15, normal weight, default character set.
HFONT CreateArial15();

// Moves a control, keeping what is not given.
void PlaceControl(HWND control, const Rect& rect);
void SetControlTop(HWND control, int top);
void SetControlLeft(HWND control, int left);

// A control's rectangle relative to its parent's client area, outer size.
Rect ControlRect(HWND control);
// Client width and height of a window.
SIZE ClientSize(HWND window);

std::string WindowText(HWND window);
bool IsChecked(HWND check_box);
void SetChecked(HWND check_box, bool checked);

}  // namespace velbrook::app
