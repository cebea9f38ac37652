// Behaviour added to a report-mode list view by subclassing: header-click
// sorting handed to the list's model, fixed-total-width divider dragging
// with a locked last column, and a click below the last row that keeps the
// selection.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

namespace velbrook::app {

class FailureReporter;

// One per attached list, living as long as the list; the list reaches it
// through its user data. All its state is its own.
class ColumnListView {
 public:
  struct Settings {
    bool sorting = false;  // header clicks sort the rows
    bool column_resizing = true;
    bool fixed_total_width = false;
    // With fixed_total_width, the first column whose divider cannot be
    // dragged, nor those after it; -1: the last column.
    int first_locked_column = -1;
  };
  // Orders the model's rows by a column and shows them again.
  using SortRows = std::function<void(int column)>;

  ColumnListView() = default;
  ColumnListView(const ColumnListView&) = delete;
  ColumnListView& operator=(const ColumnListView&) = delete;

  // Subclasses the list, drops LVS_EDITLABELS and sets grid lines and
  // full-row selection. Failures caught in the list's procedure go to the
  // reporter.
  void Attach(HWND list, const Settings& settings, SortRows sort_rows, FailureReporter* reporter);

  // As a header click on the column does.
  void SortByColumn(int column);
  // The column whose divider is being dragged; -1 for none.
  int tracked_column() const { return tracked_column_; }
  const Settings& settings() const { return settings_; }

 private:
  static LRESULT CALLBACK Procedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT PassOn(UINT message, WPARAM wparam, LPARAM lparam);
  // Handles a header notification; false when it is to be passed on.
  bool HandleHeaderNotify(const NMHEADERA& header, LRESULT* result);
  LRESULT ApplyTrackedWidth(const NMHEADERA& header, bool end);
  void SetPairWidths(int column, int width, int pair_total);
  LRESULT HandleLeftButtonDown(WPARAM wparam, LPARAM lparam);

  HWND list_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool previous_is_unicode_ = false;  // pass messages on with the W functions
  Settings settings_;
  SortRows sort_rows_;
  FailureReporter* reporter_ = nullptr;
  int tracked_column_ = -1;
  // True while this code sets column widths itself, so that the header
  // notifications those calls cause are let through untouched.
  bool setting_widths_ = false;
  // A header that does not drag live applies the final width only after
  // HDN_ENDTRACK, with a change notification that ignores what was written
  // back into HDN_ENDTRACK. The width settled at the end is kept for that
  // one notification; any later width change of the list clears it.
  int settled_column_ = -1;
  int settled_width_ = 0;
};

}  // namespace velbrook::app
