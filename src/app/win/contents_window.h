// The library contents window: Refresh, help, Generate, Save and Load
// selection, the four checkable lists with their Toggle buttons, the two
// generation options, and "Check what these need" with its status line. The
// lists are virtual list views that show the contents model; clicks on their
// check boxes and header toggle and sort the model.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "app/model/app_services.h"
#include "app/model/contents_model.h"
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

class ContentsWindow : public BaseWindow {
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

  ContentsWindow(ContentsCommands* commands, ContentsModel* lists)
      : commands_(commands), model_(lists) {}
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

  // Shows the model's rows again: counts, texts and check marks, of one
  // list or of all four.
  void ShowRows(ContentsList which);
  void ShowAllRows();
  // Makes a row the only selected one of its list, focused, scrolled into
  // view, and gives that list the keyboard focus.
  void ShowRow(const ContentsRow& row);
  // The object classes or event interfaces list's column list view.
  ColumnListView& list_behaviour(ContentsList which) {
    return behaviours_[static_cast<int>(which)];
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void CreateColumns();
  // LVN_GETINFOTIP: the row's note in place of its text, when it has one.
  void FillInfoTip(ContentsList which, NMHDR* header);
  // Requests of the lists: display texts and check marks, info tips.
  LRESULT HandleListNotify(ContentsList which, NMHDR* header);
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);
  LRESULT HandleListMessage(ContentsList which, HWND list, UINT message, WPARAM wparam,
                            LPARAM lparam);
  // A click on a row's check box, or the space key: the model's check mark
  // of that row is inverted and the row drawn again.
  void ToggleRow(ContentsList which, int row);
  // LVM_SETITEMSTATE with a state image: the check mark goes to the model.
  void SetCheckMarks(ContentsList which, int row, const LVITEMA& item);
  // Which of the four lists a window is; false for none.
  bool ListOfWindow(HWND window, ContentsList* which) const;

  ContentsCommands* commands_;
  ContentsModel* model_;
  WindowHandle window_;
  std::array<ColumnListView, 2> behaviours_;  // classes, events
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
