// The column list view's window procedure.
#include "app/win/column_list_view.h"

#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>

#include "app/model/list_rules.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"

namespace velbrook::app {
namespace {

int g_tracked_column = -1;

LRESULT CALLBACK ColumnListViewProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam);

ColumnListViewRecord* RecordOf(HWND list) {
  return reinterpret_cast<ColumnListViewRecord*>(GetWindowLongPtrA(list, GWLP_USERDATA));
}

LRESULT PassOn(const ColumnListViewRecord& record, HWND list, UINT message, WPARAM wparam,
               LPARAM lparam) {
  return record.previous_is_unicode
             ? CallWindowProcW(record.previous, list, message, wparam, lparam)
             : CallWindowProcA(record.previous, list, message, wparam, lparam);
}

bool IsHeader(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  return std::strncmp(name, "SysHeader", 9) == 0;
}

// Sort keys are read before the sort starts: while LVM_SORTITEMS runs the
// list's contents are unstable, so the comparison sends it no messages.
int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM keys_address) {
  const auto& keys = *reinterpret_cast<const std::map<LPARAM, std::string>*>(keys_address);
  auto a = keys.find(first);
  auto b = keys.find(second);
  const std::string empty;
  return CompareSortKeys(a == keys.end() ? empty : a->second, b == keys.end() ? empty : b->second);
}

// Current total of a column and its right neighbour.
int PairTotal(HWND list, int column) {
  return lv::ColumnWidth(list, column) + lv::ColumnWidth(list, column + 1);
}

// True while this code sets column widths itself, so that the header
// notifications those calls cause are let through untouched.
bool g_setting_widths = false;

// A header that does not drag live applies the final width only after
// HDN_ENDTRACK, with a change notification that ignores what was written back
// into HDN_ENDTRACK. The width settled at the end is kept for that one
// notification; any later width change of the list clears it.
int g_settled_column = -1;
int g_settled_width = 0;

void SetPairWidths(HWND list, int column, int width, int pair_total) {
  g_setting_widths = true;
  lv::SetColumnWidth(list, column + 1, pair_total - width);
  lv::SetColumnWidth(list, column, width);
  g_setting_widths = false;
}

// HDN_ITEMCHANGING and HDN_ENDTRACK with fixed total width: clamp the
// tracked column's new width and give the rest of the pair to the neighbour.
// The clamped width is written into the notification; since not every
// header control reads it back, a clamped change is also applied here and
// the header's own change refused. Returns the notification's result.
LRESULT ApplyTrackedWidth(HWND list, const NMHEADERA& header, bool end) {
  if (!g_setting_widths && !end && header.iItem == g_settled_column &&
      header.iItem != g_tracked_column) {
    g_settled_column = -1;
    bool differs = header.pitem != nullptr && (header.pitem->mask & HDI_WIDTH) != 0 &&
                   header.pitem->cxy != g_settled_width;
    return differs ? 1 : 0;
  }
  if (g_setting_widths || header.iItem != g_tracked_column || header.pitem == nullptr ||
      (header.pitem->mask & HDI_WIDTH) == 0) {
    return 0;
  }
  int pair_total = PairTotal(list, header.iItem);
  int requested = header.pitem->cxy;
  int width = ClampDraggedWidth(requested, pair_total);
  header.pitem->cxy = width;
  if (width == requested && !end) {
    g_setting_widths = true;
    lv::SetColumnWidth(list, header.iItem + 1, pair_total - width);
    g_setting_widths = false;
    return 0;
  }
  SetPairWidths(list, header.iItem, width, pair_total);
  if (end) {
    g_settled_column = header.iItem;
    g_settled_width = width;
  }
  return end ? 0 : 1;
}

enum class HeaderEvent {
  kOther,
  kItemClick,
  kBeginTrack,
  kItemChanging,
  kEndTrack,
  kDividerDoubleClick
};

HeaderEvent EventOf(UINT code) {
  switch (code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW:
      return HeaderEvent::kItemClick;
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      return HeaderEvent::kBeginTrack;
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
      return HeaderEvent::kItemChanging;
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      return HeaderEvent::kEndTrack;
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      return HeaderEvent::kDividerDoubleClick;
    default:
      return HeaderEvent::kOther;
  }
}

// Handles a header notification; false when it is to be passed on.
bool HandleHeaderNotify(HWND list, ColumnListViewRecord& record, const NMHEADERA& header,
                        LRESULT* result) {
  *result = 0;
  int last_column = lv::HeaderItemCount(header.hdr.hwndFrom) - 1;
  switch (EventOf(header.hdr.code)) {
    case HeaderEvent::kItemClick:
      if (!record.sorting) return false;
      SortByColumn(list, header.iItem);
      return true;
    case HeaderEvent::kBeginTrack:
      g_settled_column = -1;
      if (!record.column_resizing) {
        *result = 1;
        return true;
      }
      if (!record.fixed_total_width) return false;
      if (header.iItem == last_column) {
        g_tracked_column = -1;
        *result = 1;
        return true;
      }
      if (g_tracked_column == -1) g_tracked_column = header.iItem;
      return true;
    case HeaderEvent::kItemChanging:
      if (!record.fixed_total_width) return false;
      *result = ApplyTrackedWidth(list, header, /*end=*/false);
      return true;
    case HeaderEvent::kEndTrack:
      if (!record.fixed_total_width) return false;
      ApplyTrackedWidth(list, header, /*end=*/true);
      g_tracked_column = -1;
      return true;
    case HeaderEvent::kDividerDoubleClick:
      g_settled_column = -1;
      if (record.column_resizing && record.fixed_total_width && header.iItem >= 0 &&
          header.iItem < last_column) {
        int pair_total = PairTotal(list, header.iItem);
        lv::SetColumnWidth(list, header.iItem, LVSCW_AUTOSIZE);
        PairWidths widths = DoubleClickWidths(lv::ColumnWidth(list, header.iItem), pair_total);
        lv::SetColumnWidth(list, header.iItem, widths.column);
        lv::SetColumnWidth(list, header.iItem + 1, widths.neighbour);
      }
      return false;  // the list's own handling fits the column once more
    case HeaderEvent::kOther:
      return false;
  }
  return false;
}

// A click below the last row never reaches the list, so the selection stays.
// The row is found from the click's own position: the cursor may have moved
// while pending messages were processed.
LRESULT HandleLeftButtonDown(HWND list, ColumnListViewRecord& record, WPARAM wparam,
                             LPARAM lparam) {
  SetFocus(list);
  PumpPendingMessages();
  int count = lv::RowCount(list);
  if (count == 0) return 1;
  int top = lv::TopIndex(list);
  RECT top_rect = lv::ItemRect(list, top);
  int row_height = top_rect.bottom - top_rect.top;
  int y = static_cast<short>(HIWORD(lparam));
  if (row_height > 0 && y >= top_rect.top) {
    int row = top + (y - top_rect.top) / row_height;
    if (row >= count) return 1;
  }
  return PassOn(record, list, WM_LBUTTONDOWN, wparam, lparam);
}

LRESULT Handle(HWND list, ColumnListViewRecord& record, UINT message, WPARAM wparam,
               LPARAM lparam) {
  switch (message) {
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
      if (record.sorting && lparam != 0) {
        // LVITEMA and LVITEMW agree on the mask and lParam fields.
        auto* item = reinterpret_cast<LVITEMA*>(lparam);
        item->mask |= LVIF_PARAM;
        item->lParam = record.insertion_counter++;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHEADERA*>(lparam);
      if (header != nullptr && IsHeader(header->hdr.hwndFrom)) {
        LRESULT result = 0;
        if (HandleHeaderNotify(list, record, *header, &result)) return result;
      }
      break;
    }
    case LVM_SETCOLUMNWIDTH:
      if (!g_setting_widths) g_settled_column = -1;
      break;
    case WM_LBUTTONDOWN:
      return HandleLeftButtonDown(list, record, wparam, lparam);
    default:
      break;
  }
  return PassOn(record, list, message, wparam, lparam);
}

LRESULT CALLBACK ColumnListViewProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  ColumnListViewRecord* record = RecordOf(list);
  if (record == nullptr || record->previous == nullptr) {
    return DefWindowProcA(list, message, wparam, lparam);
  }
  try {
    return Handle(list, *record, message, wparam, lparam);
  } catch (...) {
    return PassOn(*record, list, message, wparam, lparam);
  }
}

}  // namespace

void AttachColumnListView(HWND list, ColumnListViewRecord* record) {
  SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  bool unicode = IsWindowUnicode(list) != FALSE;
  auto current = reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(list, GWLP_WNDPROC)
                                                   : GetWindowLongPtrA(list, GWLP_WNDPROC));
  if (current != &ColumnListViewProc) {
    record->previous_is_unicode = unicode;
    auto replacement = reinterpret_cast<LONG_PTR>(&ColumnListViewProc);
    record->previous =
        reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(list, GWLP_WNDPROC, replacement)
                                          : SetWindowLongPtrA(list, GWLP_WNDPROC, replacement));
  }
  SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) & ~LVS_EDITLABELS);
  lv::SetExtendedStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                       LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

int TrackedColumn() { return g_tracked_column; }

void SortByColumn(HWND list, int column) {
  std::map<LPARAM, std::string> keys;
  int count = lv::RowCount(list);
  for (int row = 0; row < count; ++row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    keys[item.lParam] = SortKey(lv::CellText(list, row, column));
  }
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&keys),
               reinterpret_cast<LPARAM>(&CompareRows));
}

}  // namespace velbrook::app
