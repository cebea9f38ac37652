// The main window: status and count texts, Refresh, Search, Abort, help, the
// "Include files not found" option, the library list (a virtual list view
// that shows the library list model) and Open; files dropped on it are
// opened too.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/model/library_list_model.h"
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
  // The Open button: a library file chosen in the open dialog.
  virtual void OnOpenFile() = 0;
  // Files dropped on the window, in the order the shell gives them.
  virtual void OnFilesDropped(const std::vector<std::string>& paths) = 0;
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
    kOpenFileId,
    kBitsOptionId,
  };
  // Library list columns.
  enum Column {
    kFileColumn = LibraryListModel::kFileColumn,
    kDescriptionColumn = LibraryListModel::kDescriptionColumn,
    kPathColumn = LibraryListModel::kPathColumn,
    kClsidColumn = LibraryListModel::kClsidColumn,
    kHiddenColumn = LibraryListModel::kHiddenColumn,
    kBitsColumn = LibraryListModel::kBitsColumn,
    kProblemColumn = LibraryListModel::kProblemColumn,
  };

  MainWindow(MainCommands* commands, LibraryListModel* rows) : commands_(commands), rows_(rows) {}
  ~MainWindow() override = default;

  // Builds the window hidden with every control and column, then runs the
  // resize rule once.
  bool Create(HINSTANCE instance);
  // The resize rule.
  void Layout();

  // Shows the model's rows again: their count, their texts, and the
  // selection and focus the model holds.
  void ShowRows();
  // Shows a row the model has just selected: with `only`, as the only
  // selected row, focused and scrolled into view (SelectRowAndShow);
  // otherwise added to the selection and focused (SelectRow).
  void ShowSelectedRow(size_t row, bool only);
  // Shows or hides the Bits and Problem columns (0 wide when hidden); lays
  // the window out again when that changes.
  void ShowExtraColumns(bool bits, bool problem);

  HWND status_text() const { return status_; }
  HWND count_suffix_text() const { return count_suffix_; }
  HWND count_text() const { return count_; }
  HWND refresh_button() const { return refresh_; }
  HWND abort_button() const { return abort_; }
  HWND search_button() const { return search_; }
  HWND help_button() const { return help_; }
  HWND files_option() const { return files_option_; }
  HWND bits_option() const { return bits_option_; }
  HWND library_list() const { return list_; }
  HWND open_file_button() const { return open_file_; }
  HFONT arial_font() const { return arial_.get(); }
  ColumnListView& list_behaviour() { return list_behaviour_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);
  LRESULT HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleListNotify(NMHDR* header);
  // The user changed the list's selection or focus: the model follows.
  void FollowStateChange(int first, int last, UINT old_state, UINT new_state);
  void SortRows(int column);
  // WM_DROPFILES: the dropped paths handed on, the drop's memory freed.
  void TakeDroppedFiles(HDROP drop);

  MainCommands* commands_;
  LibraryListModel* rows_;
  WindowHandle window_;
  FontHandle arial_;
  ColumnListView list_behaviour_;
  // True while the model's selection is being shown: the list's change
  // notifications then report what the model already holds.
  bool showing_selection_ = false;
  HWND status_ = nullptr;
  HWND count_suffix_ = nullptr;
  HWND count_ = nullptr;
  HWND refresh_ = nullptr;
  HWND abort_ = nullptr;
  HWND search_ = nullptr;
  HWND help_ = nullptr;
  HWND files_option_ = nullptr;
  HWND list_ = nullptr;
  HWND open_file_ = nullptr;
  HWND bits_option_ = nullptr;
  bool bits_column_ = false;
  bool problem_column_ = false;
  bool shown_once_ = false;
};

// A private message: open the start-up row once the window is on screen.
constexpr UINT kOpenAtStartUpMessage = WM_APP + 1;

}  // namespace velbrook::app
