// List-view wrappers that need a structure filled in, and the list operations.
#include "app/win/list_view.h"

#include <cstring>
#include <vector>

#include "app/model/list_rules.h"

namespace velbrook::app::lv {

bool SetItemState(HWND list, int row, UINT state, UINT mask) {
  LVITEMA item = {};
  item.stateMask = mask;
  item.state = state;
  return SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

int InsertColumn(HWND list, int column, const char* caption, int width) {
  LVCOLUMNA info = {};
  info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  info.fmt = LVCFMT_LEFT;
  info.cx = width;
  info.pszText = const_cast<char*>(caption);
  info.iSubItem = column;
  return static_cast<int>(
      SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info)));
}

std::string CellText(HWND list, int row, int column) {
  // A cell can be longer than any fixed buffer (the "for Objects" cell of a
  // library with many object classes), and the generator must see all of
  // it: read again with a larger buffer while the text fills the buffer.
  constexpr size_t kMaxCapacity = size_t{1} << 24;
  for (size_t capacity = 260;; capacity *= 4) {
    std::vector<char> buffer(capacity, '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(capacity);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    // The list may point at its own storage instead of filling the buffer.
    if (item.pszText != nullptr && item.pszText != buffer.data()) return item.pszText;
    const size_t length = strnlen(buffer.data(), capacity);
    if (length + 1 < capacity || capacity >= kMaxCapacity) {
      return std::string(buffer.data(), length);
    }
  }
}

int HitTest(HWND list, POINT point) {
  LVHITTESTINFO info = {};
  info.pt = point;
  return static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

RECT ItemRect(HWND list, int row) {
  RECT rect = {};
  rect.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

int IsRowChecked(HWND list, int row) {
  return CheckedFromState(ItemState(list, row, kStateImageMask));
}

void SelectRow(HWND list, int row) {
  SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void SelectRowAndShow(HWND list, int row) {
  LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
  SetWindowLongPtrA(list, GWL_STYLE, style | LVS_SINGLESEL);
  // Single selection alone does not drop rows selected before it was set.
  SetItemState(list, -1, 0, LVIS_SELECTED);
  SelectRow(list, row);
  EnsureVisible(list, row);
  SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) & ~LVS_SINGLESEL);
}

int FocusedRow(HWND list) { return GetNextItem(list, -1, LVNI_FOCUSED); }

}  // namespace velbrook::app::lv
