// Thin one-line wrappers over the list-view messages, and the list
// operations that other parts use on the lists.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>

namespace velbrook::app::lv {

inline int RowCount(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}
inline bool DeleteAllRows(HWND list) { return SendMessageA(list, LVM_DELETEALLITEMS, 0, 0) != 0; }
inline int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}
inline bool SetColumnWidth(HWND list, int column, int width) {
  return SendMessageA(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0;
}
inline UINT ItemState(HWND list, int row, UINT mask) {
  return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, row, mask));
}
inline HWND Header(HWND list) {
  return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
}
inline int HeaderItemCount(HWND header) {
  return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}
inline int TopIndex(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
}
inline bool EnsureVisible(HWND list, int row) {
  return SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE) != 0;
}
inline void SetExtendedStyle(HWND list, DWORD mask, DWORD style) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}
inline int GetNextItem(HWND list, int start, UINT flags) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0)));
}
// A virtual list view's row count (LVM_SETITEMCOUNT with LVSICF_ flags).
inline bool SetItemCount(HWND list, size_t count, DWORD flags) {
  return SendMessageA(list, LVM_SETITEMCOUNT, count, flags) != 0;
}
inline bool RedrawRows(HWND list, int first, int last) {
  return SendMessageA(list, LVM_REDRAWITEMS, first, last) != 0;
}
// State bits the list asks its owner for instead of keeping them.
inline bool SetCallbackMask(HWND list, UINT mask) {
  return SendMessageA(list, LVM_SETCALLBACKMASK, mask, 0) != 0;
}
inline int SelectedCount(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

bool SetItemState(HWND list, int row, UINT state, UINT mask);
// Inserts a left-aligned column with the given caption and width.
int InsertColumn(HWND list, int column, const char* caption, int width);
// A cell's text, read into a buffer of 260 characters.
std::string CellText(HWND list, int row, int column);
// Row under a point of the list's client area, or -1.
int HitTest(HWND list, POINT point);
RECT ItemRect(HWND list, int row);

// The list operations. Row indices are 0-based.
// 1 when the row's state image is 2 (checked), else 0.
int IsRowChecked(HWND list, int row);
// Selects and focuses the row; other rows keep their selection.
void SelectRow(HWND list, int row);
// Makes the row the only selected one, focused and scrolled fully into view.
void SelectRowAndShow(HWND list, int row);
// The focused row, or -1.
int FocusedRow(HWND list);

}  // namespace velbrook::app::lv
