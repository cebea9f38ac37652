// The library contents window: Refresh, help, Generate, Save and Load
// selection, the four checkable lists with their Toggle buttons, the two
// generation options, and "Check what these need" with its status line. It
// is also the ContentsLists that opening fills and generation reads.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/model/app_services.h"
#include "app/win/base_window.h"
#include "app/win/column_list_view.h"
#include "app/win/controls.h"

namespace velbrook::app {

// What the contents window's controls ask for; the App answers.
class ContentsCommands {
 public:
  virtual ~ContentsCommands() = default;
  virtual void OnReopen() = 0;
  virtual void OnHelp() = 0;
  virtual void OnGenerate() = 0;
  virtual void OnToggle(ContentsList list) = 0;
  virtual void OnContentsClose() = 0;
  virtual void OnCheckNeeded() = 0;
  virtual void OnSaveSelection() = 0;
  virtual void OnLoadSelection() = 0;
  // The tool tip of a row (display position): why it was checked, or empty.
  virtual std::string RowNote(ContentsList list, int row) = 0;
};

class ContentsWindow : public BaseWindow, public ContentsLists {
 public:
  enum ControlId {
    kRefreshId = 200,
    kHelpId,
    kGenerateId,
    kGenericsOptionId,
    kUseInvokeId,
    kCheckNeededId,
    kSaveSelectionId,
    kLoadSelectionId,
    kListBaseId = 210,    // + ContentsList
    kToggleBaseId = 220,  // + ContentsList
  };

  explicit ContentsWindow(ContentsCommands* commands) : commands_(commands) {}
  ~ContentsWindow() override = default;

  // Builds the window hidden, owned by `owner`, centred on a screen of the
  // given size, then runs the resize rule once.
  bool Create(HINSTANCE instance, HWND owner, SIZE screen);
  void Layout();

  HWND list(ContentsList which) const { return lists_[static_cast<int>(which)]; }
  HWND toggle_button(ContentsList which) const { return toggles_[static_cast<int>(which)]; }
  HWND refresh_button() const { return refresh_; }
  HWND help_button() const { return help_; }
  HWND generate_button() const { return generate_; }
  HWND use_invoke_option() const { return use_invoke_; }
  HWND generics_option() const { return generics_; }
  HWND check_needed_button() const { return check_needed_; }
  HWND save_selection_button() const { return save_selection_; }
  HWND load_selection_button() const { return load_selection_; }
  HWND status_text() const { return status_; }
  void SetStatusText(const std::string& text);

  // ContentsLists.
  void Clear(ContentsList which) override;
  int AppendRow(ContentsList which, const std::vector<std::string>& cells) override;
  int RowCount(ContentsList which) const override;
  std::string CellText(ContentsList which, int row, int column) const override;
  int IsRowChecked(ContentsList which, int row) const override;
  void SetRowChecked(ContentsList which, int row, bool checked) override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void CreateColumns();
  // LVN_GETINFOTIP: the row's note in place of its text, when it has one.
  void FillInfoTip(NMHDR* header);

  ContentsCommands* commands_;
  WindowHandle window_;
  std::array<ColumnListViewRecord, 2> records_;  // classes, events
  std::array<HWND, kContentsListCount> lists_{};
  std::array<HWND, kContentsListCount> toggles_{};
  HWND refresh_ = nullptr;
  HWND help_ = nullptr;
  HWND generate_ = nullptr;
  HWND use_invoke_ = nullptr;
  HWND generics_ = nullptr;
  HWND check_needed_ = nullptr;
  HWND save_selection_ = nullptr;
  HWND load_selection_ = nullptr;
  HWND status_ = nullptr;
};

}  // namespace velbrook::app
