// One small base for the top-level windows: the object travels through
// lpCreateParams, is stored at WM_NCCREATE, and every later message goes to
// its HandleMessage.
#pragma once

#include <windows.h>

#include <string>

#include "app/model/layout.h"
#include "app/win/failure_report.h"

namespace velbrook::app {

class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  // The class shared by every top-level window of the program: CS_VREDRAW,
  // CS_HREDRAW, CS_DBLCLKS, arrow cursor, button-face background, no icon.
  static constexpr char kClassName[] = "VelbrookWindow";
  static bool RegisterWindowClass(HINSTANCE instance);

  HWND hwnd() const { return hwnd_; }
  // Who is told of a failure caught in this window's procedure; without one
  // the window shows the message itself.
  void set_failure_reporter(FailureReporter* reporter) { reporter_ = reporter; }
  FailureReporter* failure_reporter() const { return reporter_; }
  // Tells of a failure caught while handling a message of this window.
  void ReportFailure(const std::string& what);

 protected:
  BaseWindow() = default;
  virtual ~BaseWindow() = default;

  // Creates the window hidden; false when CreateWindowExA failed.
  bool CreateTopLevel(HINSTANCE instance, const char* caption, DWORD style, const Rect& rect,
                      HWND owner);
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(hwnd_, message, wparam, lparam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
  FailureReporter* reporter_ = nullptr;
};

}  // namespace velbrook::app
