// The main window: status and count texts, Refresh, Search, Abort, help, the
// "Include files not found" option and the library list.
#pragma once

#include <windows.h>

#include "app/win/base_window.h"
#include "app/win/column_list_view.h"
#include "app/win/controls.h"

namespace velbrook::app {

// What the main window's controls ask for; the App answers.
class MainCommands {
 public:
  virtual ~MainCommands() = default;
  virtual void OnScan() = 0;
  virtual void OnAbort() = 0;
  virtual void OnSearch() = 0;
  virtual void OnHelp() = 0;
  // A double click with any mouse button, in the list's client coordinates.
  virtual void OnOpenAtPoint(POINT point) = 0;
  virtual void OnOpenFocused() = 0;
  virtual void OnOpenAtStartUp() = 0;
  virtual void OnMainClose() = 0;
};

class MainWindow : public BaseWindow {
 public:
  enum ControlId {
    kStatusId = 100,
    kCountSuffixId,
    kCountTextId,
    kRefreshId,
    kAbortId,
    kSearchId,
    kHelpId,
    kFilesOptionId,
    kLibraryListId,
  };
  // Library list columns.
  enum Column { kFileColumn = 0, kDescriptionColumn, kPathColumn, kClsidColumn, kHiddenColumn };

  explicit MainWindow(MainCommands* commands) : commands_(commands) {}
  ~MainWindow() override = default;

  // Builds the window hidden with every control and column, then runs the
  // resize rule once.
  bool Create(HINSTANCE instance);
  // The resize rule.
  void Layout();

  HWND status_text() const { return status_; }
  HWND count_suffix_text() const { return count_suffix_; }
  HWND count_text() const { return count_; }
  HWND refresh_button() const { return refresh_; }
  HWND abort_button() const { return abort_; }
  HWND search_button() const { return search_; }
  HWND help_button() const { return help_; }
  HWND files_option() const { return files_option_; }
  HWND library_list() const { return list_; }
  HFONT arial_font() const { return arial_.get(); }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);
  LRESULT HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam);

  MainCommands* commands_;
  WindowHandle window_;
  FontHandle arial_;
  ColumnListViewRecord list_record_;
  HWND status_ = nullptr;
  HWND count_suffix_ = nullptr;
  HWND count_ = nullptr;
  HWND refresh_ = nullptr;
  HWND abort_ = nullptr;
  HWND search_ = nullptr;
  HWND help_ = nullptr;
  HWND files_option_ = nullptr;
  HWND list_ = nullptr;
  bool shown_once_ = false;
};

// A private message: open the start-up row once the window is on screen.
constexpr UINT kOpenAtStartUpMessage = WM_APP + 1;

}  // namespace velbrook::app
