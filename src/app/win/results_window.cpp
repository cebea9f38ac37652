// The search results window's controls, resize rule and routing.
#include "app/win/results_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/model/layout.h"
#include "app/model/messages.h"
#include "app/win/list_view.h"
#include "app/win/owner_data.h"

namespace velbrook::app {
namespace {

constexpr DWORD kListStyle =
    WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_OWNERDATA;
constexpr DWORD kListExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
constexpr UINT_PTR kListSubclassId = 3;

}  // namespace

bool ResultsWindow::Create(HINSTANCE instance, HWND owner, SIZE screen) {
  Rect rect = CenterOnScreen(kResultsWidth, kResultsHeight, screen.cx, screen.cy);
  if (!CreateTopLevel(instance, kResultsCaption, WS_OVERLAPPEDWINDOW, rect, owner)) return false;
  window_.Reset(hwnd());
  count_ = CreateChild(hwnd(), "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, {0, 0, 0, 0},
                       kCountTextId);
  list_ = CreateChild(hwnd(), WC_LISTVIEWA, "", kListStyle, {0, 0, 0, 0}, kResultsListId,
                      WS_EX_CLIENTEDGE);
  if (list_ == nullptr) return false;
  lv::SetExtendedStyle(list_, kListExtendedStyle, kListExtendedStyle);
  const char* captions[SearchResultsModel::kColumnCount] = {"File",  "Kind",        "Name",
                                                            "Owner", "Declared by", "Path"};
  for (int column = 0; column < SearchResultsModel::kColumnCount; ++column) {
    lv::InsertColumn(list_, column, captions[column], 60);
  }
  SetWindowSubclass(list_, &ResultsWindow::ListProc, kListSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  Layout();
  ShowRows();
  return true;
}

void ResultsWindow::Layout() {
  SIZE client = ClientSize(hwnd());
  ResultsLayout layout = ComputeResultsLayout(client.cx, client.cy);
  PlaceControl(count_, layout.count_text);
  PlaceControl(list_, layout.list);
  for (int column = 0; column < SearchResultsModel::kColumnCount; ++column) {
    lv::SetColumnWidth(list_, column, layout.columns[column]);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ResultsWindow::ShowRows() {
  lv::SetItemCount(list_, results_->size(), LVSICF_NOSCROLL);
  InvalidateRect(list_, nullptr, FALSE);
  SetWindowTextA(count_, results_->CountText().c_str());
}

LRESULT ResultsWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header != nullptr && header->hwndFrom == list_ && lv::IsDisplayRequest(*header)) {
        const lv::DisplayRequest request = lv::DisplayRequestOf(*header);
        if (request.wants_text && request.row >= 0) {
          lv::AnswerText(header,
                         results_->CellText(static_cast<size_t>(request.row), request.column));
        }
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && list_ != nullptr) Layout();
      return 0;
    case WM_CLOSE:
      // Hidden, not destroyed: the next search shows it again.
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default:
      break;
  }
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK ResultsWindow::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR /*id*/, DWORD_PTR self_address) {
  auto* self = reinterpret_cast<ResultsWindow*>(self_address);
  const bool opens = message == WM_LBUTTONDBLCLK || (message == WM_KEYDOWN && wparam == VK_RETURN);
  // The list selects and focuses the row first, then the row opens.
  LRESULT result = DefSubclassProc(list, message, wparam, lparam);
  if (!opens) return result;
  // Nothing may unwind through the system's callback: the failure is told.
  try {
    self->commands_->OnOpenResult(
        message == WM_LBUTTONDBLCLK
            ? lv::HitTest(list, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)})
            : lv::FocusedRow(list));
  } catch (...) {
    self->ReportFailure(FailureText());
  }
  return result;
}

}  // namespace velbrook::app
