// The column list view's window procedure.
#include "app/win/column_list_view.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

#include "app/model/list_rules.h"
#include "app/win/failure_report.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"

namespace velbrook::app {
namespace {

bool IsHeader(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  return std::strncmp(name, "SysHeader", 9) == 0;
}

// Current total of a column and its right neighbour.
int PairTotal(HWND list, int column) {
  return lv::ColumnWidth(list, column) + lv::ColumnWidth(list, column + 1);
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

}  // namespace

void ColumnListView::Attach(HWND list, const Settings& settings, SortRows sort_rows,
                            FailureReporter* reporter) {
  list_ = list;
  settings_ = settings;
  sort_rows_ = std::move(sort_rows);
  reporter_ = reporter;
  SetWindowLongPtrA(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  const bool unicode = IsWindowUnicode(list) != FALSE;
  auto current = reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(list, GWLP_WNDPROC)
                                                   : GetWindowLongPtrA(list, GWLP_WNDPROC));
  if (current != &ColumnListView::Procedure) {
    previous_is_unicode_ = unicode;
    auto replacement = reinterpret_cast<LONG_PTR>(&ColumnListView::Procedure);
    previous_ =
        reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(list, GWLP_WNDPROC, replacement)
                                          : SetWindowLongPtrA(list, GWLP_WNDPROC, replacement));
  }
  SetWindowLongPtrA(list, GWL_STYLE, GetWindowLongPtrA(list, GWL_STYLE) & ~LVS_EDITLABELS);
  lv::SetExtendedStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                       LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void ColumnListView::SortByColumn(int column) {
  if (sort_rows_) sort_rows_(column);
}

LRESULT CALLBACK ColumnListView::Procedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<ColumnListView*>(GetWindowLongPtrA(list, GWLP_USERDATA));
  if (self == nullptr || self->previous_ == nullptr) {
    return DefWindowProcA(list, message, wparam, lparam);
  }
  // Nothing may unwind through the system's callback: the failure is told
  // and the message goes on to the list.
  try {
    return self->Handle(message, wparam, lparam);
  } catch (...) {
    const std::string what = FailureText();
    if (self->reporter_ != nullptr) self->reporter_->ReportFailure(what);
    return self->PassOn(message, wparam, lparam);
  }
}

LRESULT ColumnListView::PassOn(UINT message, WPARAM wparam, LPARAM lparam) {
  return previous_is_unicode_ ? CallWindowProcW(previous_, list_, message, wparam, lparam)
                              : CallWindowProcA(previous_, list_, message, wparam, lparam);
}

void ColumnListView::SetPairWidths(int column, int width, int pair_total) {
  setting_widths_ = true;
  lv::SetColumnWidth(list_, column + 1, pair_total - width);
  lv::SetColumnWidth(list_, column, width);
  setting_widths_ = false;
}

// HDN_ITEMCHANGING and HDN_ENDTRACK with fixed total width: clamp the
// tracked column's new width and give the rest of the pair to the neighbour.
// The clamped width is written into the notification; since not every
// header control reads it back, a clamped change is also applied here and
// the header's own change refused. Returns the notification's result.
LRESULT ColumnListView::ApplyTrackedWidth(const NMHEADERA& header, bool end) {
  if (!setting_widths_ && !end && header.iItem == settled_column_ &&
      header.iItem != tracked_column_) {
    settled_column_ = -1;
    bool differs = header.pitem != nullptr && (header.pitem->mask & HDI_WIDTH) != 0 &&
                   header.pitem->cxy != settled_width_;
    return differs ? 1 : 0;
  }
  if (setting_widths_ || header.iItem != tracked_column_ || header.pitem == nullptr ||
      (header.pitem->mask & HDI_WIDTH) == 0) {
    return 0;
  }
  int pair_total = PairTotal(list_, header.iItem);
  int requested = header.pitem->cxy;
  int width = ClampDraggedWidth(requested, pair_total);
  header.pitem->cxy = width;
  if (width == requested && !end) {
    setting_widths_ = true;
    lv::SetColumnWidth(list_, header.iItem + 1, pair_total - width);
    setting_widths_ = false;
    return 0;
  }
  SetPairWidths(header.iItem, width, pair_total);
  if (end) {
    settled_column_ = header.iItem;
    settled_width_ = width;
  }
  return end ? 0 : 1;
}

bool ColumnListView::HandleHeaderNotify(const NMHEADERA& header, LRESULT* result) {
  *result = 0;
  const int last_column = lv::HeaderItemCount(header.hdr.hwndFrom) - 1;
  const int first_locked =
      settings_.first_locked_column >= 0 ? settings_.first_locked_column : last_column;
  switch (EventOf(header.hdr.code)) {
    case HeaderEvent::kItemClick:
      if (!settings_.sorting) return false;
      SortByColumn(header.iItem);
      return true;
    case HeaderEvent::kBeginTrack:
      settled_column_ = -1;
      if (!settings_.column_resizing) {
        *result = 1;
        return true;
      }
      if (!settings_.fixed_total_width) return false;
      if (header.iItem >= first_locked) {
        tracked_column_ = -1;
        *result = 1;
        return true;
      }
      if (tracked_column_ == -1) tracked_column_ = header.iItem;
      return true;
    case HeaderEvent::kItemChanging:
      if (!settings_.fixed_total_width) return false;
      *result = ApplyTrackedWidth(header, /*end=*/false);
      return true;
    case HeaderEvent::kEndTrack:
      if (!settings_.fixed_total_width) return false;
      ApplyTrackedWidth(header, /*end=*/true);
      tracked_column_ = -1;
      return true;
    case HeaderEvent::kDividerDoubleClick:
      settled_column_ = -1;
      if (settings_.column_resizing && settings_.fixed_total_width && header.iItem >= 0 &&
          header.iItem < first_locked) {
        int pair_total = PairTotal(list_, header.iItem);
        lv::SetColumnWidth(list_, header.iItem, LVSCW_AUTOSIZE);
        PairWidths widths = DoubleClickWidths(lv::ColumnWidth(list_, header.iItem), pair_total);
        lv::SetColumnWidth(list_, header.iItem, widths.column);
        lv::SetColumnWidth(list_, header.iItem + 1, widths.neighbour);
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
LRESULT ColumnListView::HandleLeftButtonDown(WPARAM wparam, LPARAM lparam) {
  SetFocus(list_);
  PumpPendingMessages();
  int count = lv::RowCount(list_);
  if (count == 0) return 1;
  int top = lv::TopIndex(list_);
  RECT top_rect = lv::ItemRect(list_, top);
  int row_height = top_rect.bottom - top_rect.top;
  int y = static_cast<short>(HIWORD(lparam));
  if (row_height > 0 && y >= top_rect.top) {
    int row = top + (y - top_rect.top) / row_height;
    if (row >= count) return 1;
  }
  return PassOn(WM_LBUTTONDOWN, wparam, lparam);
}

LRESULT ColumnListView::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<const NMHEADERA*>(lparam);
      if (header != nullptr && IsHeader(header->hdr.hwndFrom)) {
        LRESULT result = 0;
        if (HandleHeaderNotify(*header, &result)) return result;
      }
      break;
    }
    case LVM_SETCOLUMNWIDTH:
      if (!setting_widths_) settled_column_ = -1;
      break;
    case WM_LBUTTONDOWN:
      return HandleLeftButtonDown(wparam, lparam);
    default:
      break;
  }
  return PassOn(message, wparam, lparam);
}

}  // namespace velbrook::app
