// Behaviour added to a report-mode list view by subclassing: rows stamped on
// insertion, header-click sorting, fixed-total-width divider dragging with a
// locked last column, and a click below the last row that keeps the
// selection.
#pragma once

#include <windows.h>

#include <cstdint>

namespace velbrook::app {

// One per attached list, living as long as the list; reached through the
// list's user data.
struct ColumnListViewRecord {
  WNDPROC previous = nullptr;
  bool previous_is_unicode = false;  // pass messages on with the W functions
  int32_t insertion_counter = 0;     // never reset
  bool sorting = false;
  bool column_resizing = true;
  bool fixed_total_width = false;
};

// Attaches the behaviour; the caller then sets the record's switches.
void AttachColumnListView(HWND list, ColumnListViewRecord* record);

// The column whose divider is being dragged, shared by all attached lists;
// -1 for none.
int TrackedColumn();

// Sorts the list by a column's texts, as a header click does.
void SortByColumn(HWND list, int column);

}  // namespace velbrook::app
