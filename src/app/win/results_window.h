// The search results window: the count of the items found above a virtual
// list view of them (File, Kind, Name, Owner, Declared by, Path), owned by
// the main window; a double click or Enter on an item opens its library at
// the item.
#pragma once

#include <windows.h>

#include "app/model/search_results.h"
#include "app/win/base_window.h"
#include "app/win/controls.h"

namespace velbrook::app {

// What the results window's list asks for; the App answers.
class ResultsCommands {
 public:
  virtual ~ResultsCommands() = default;
  // A double click on a row or Enter on the focused row; -1 for none.
  virtual void OnOpenResult(int row) = 0;
};

class ResultsWindow : public BaseWindow {
 public:
  enum ControlId {
    kCountTextId = 300,
    kResultsListId,
  };

  ResultsWindow(ResultsCommands* commands, const SearchResultsModel* results)
      : commands_(commands), results_(results) {}
  ~ResultsWindow() override = default;

  // Builds the window hidden, owned by `owner`, centred on a screen of the
  // given size.
  bool Create(HINSTANCE instance, HWND owner, SIZE screen);
  void Layout();
  // Shows the model's rows and count again.
  void ShowRows();

  HWND count_text() const { return count_; }
  HWND list() const { return list_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                   UINT_PTR id, DWORD_PTR self);

  ResultsCommands* commands_;
  const SearchResultsModel* results_;
  WindowHandle window_;
  HWND count_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace velbrook::app
