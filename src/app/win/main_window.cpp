// The main window's controls, columns, resize rule and message routing.
#include "app/win/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "app/model/layout.h"
#include "app/model/messages.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app/win/owner_data.h"

namespace velbrook::app {
namespace {

constexpr DWORD kStaticStyle = SS_CENTERIMAGE | SS_NOTIFY;
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kOptionStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kListStyle = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
constexpr UINT_PTR kListSubclassId = 1;

}  // namespace

bool MainWindow::Create(HINSTANCE instance) {
  if (!CreateTopLevel(instance, "Velbrook", WS_OVERLAPPEDWINDOW,
                      {kMainLeft, kMainTop, kMainWidth, kMainHeight}, nullptr)) {
    return false;
  }
  window_.Reset(hwnd());
  arial_.Reset(CreateArial15());
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(arial_.get()), FALSE);
  HWND w = hwnd();
  status_ = CreateChild(w, "STATIC", "", kStaticStyle, {kStatusLeft, 2, kStatusWidth, kRowHeight},
                        kStatusId);
  count_suffix_ = CreateChild(w, "STATIC", "", kStaticStyle, {0, 2, kCountSuffixWidth, kRowHeight},
                              kCountSuffixId);
  count_ = CreateChild(w, "STATIC", "", kStaticStyle | SS_RIGHT,
                       {0, 2, kCountTextWidth, kRowHeight}, kCountTextId);
  refresh_ = CreateChild(w, "BUTTON", "Refresh", kButtonStyle,
                         {kRefreshLeft, 0, kButtonWidth, kRowHeight}, kRefreshId, 0, arial_.get());
  abort_ = CreateChild(w, "BUTTON", "&Abort", kButtonStyle | WS_DISABLED,
                       {kAbortLeft, 0, kButtonWidth, kRowHeight}, kAbortId, 0, arial_.get());
  search_ = CreateChild(w, "BUTTON", "Search...", kButtonStyle,
                        {kSearchLeft, 0, kButtonWidth, kRowHeight}, kSearchId, 0, arial_.get());
  help_ = CreateChild(w, "BUTTON", "?", kButtonStyle, {kHelpLeft, 0, kButtonWidth, kRowHeight},
                      kHelpId, 0, arial_.get());
  files_option_ =
      CreateChild(w, "BUTTON", "Include files not found", kOptionStyle,
                  {kFilesOptionLeft, 0, kFilesOptionWidth, kOptionHeight}, kFilesOptionId);
  list_ = CreateChild(w, WC_LISTVIEWA, "", kListStyle, {kListLeft, kRowHeight, 0, 0},
                      kLibraryListId, WS_EX_CLIENTEDGE);
  if (list_ == nullptr) return false;
  ColumnListView::Settings settings;
  settings.sorting = true;
  settings.fixed_total_width = true;
  // Hidden stays 0 wide; Bits and Problem after it take the layout's widths.
  settings.first_locked_column = kHiddenColumn;
  list_behaviour_.Attach(
      list_, settings, [this](int column) { SortRows(column); }, failure_reporter());
  SetWindowSubclass(list_, &MainWindow::ListProc, kListSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  const char* captions[] = {"File", "Description", "Path", "CLSID", "Hidden", "Bits", "Problem"};
  for (int column = 0; column < LibraryListModel::kColumnCount; ++column) {
    lv::InsertColumn(list_, column, captions[column], 60);
  }
  // Created after every other control, so theirs keep their order.
  open_file_ =
      CreateChild(w, "BUTTON", "Open...", kButtonStyle,
                  {kOpenFileLeft, 0, kButtonWidth, kRowHeight}, kOpenFileId, 0, arial_.get());
  DragAcceptFiles(w, TRUE);
  bits_option_ = CreateChild(w, "BUTTON", kBitsOptionCaption, kOptionStyle,
                             {kBitsOptionLeft, 0, kBitsOptionWidth, kOptionHeight}, kBitsOptionId);
  Layout();
  ShowRows();
  return true;
}

void MainWindow::TakeDroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    std::string path(length + 1, '\0');
    const UINT copied = DragQueryFileA(drop, index, &path[0], length + 1);
    path.resize(copied);
    if (!path.empty()) paths.push_back(path);
  }
  DragFinish(drop);
  commands_->OnFilesDropped(paths);
}

void MainWindow::ShowRows() {
  showing_selection_ = true;
  lv::SetItemCount(list_, rows_->size(), LVSICF_NOSCROLL);
  const std::vector<size_t> selected = rows_->SelectedRows();
  const int focused = rows_->FocusedRow();
  // Rows moved under the list's own record of selection and focus (they
  // are kept by position): it is written afresh from the model.
  if (!selected.empty() || focused >= 0 || lv::SelectedCount(list_) > 0 ||
      lv::FocusedRow(list_) >= 0) {
    lv::SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t row : selected) {
      lv::SetItemState(list_, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= 0) lv::SetItemState(list_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  showing_selection_ = false;
  InvalidateRect(list_, nullptr, FALSE);
}

void MainWindow::ShowExtraColumns(bool bits, bool problem) {
  if (bits == bits_column_ && problem == problem_column_) return;
  bits_column_ = bits;
  problem_column_ = problem;
  Layout();
}

void MainWindow::ShowSelectedRow(size_t row, bool only) {
  showing_selection_ = true;
  if (only) {
    lv::SelectRowAndShow(list_, static_cast<int>(row));
  } else {
    lv::SelectRow(list_, static_cast<int>(row));
  }
  showing_selection_ = false;
}

void MainWindow::SortRows(int column) {
  rows_->SortByColumn(column);
  ShowRows();
}

void MainWindow::FollowStateChange(int first, int last, UINT old_state, UINT new_state) {
  const UINT changed = old_state ^ new_state;
  if (first < 0) {
    // Every row: the list reports only what changed for all of them.
    if (changed & LVIS_SELECTED) rows_->SetAllSelected((new_state & LVIS_SELECTED) != 0);
    if ((changed & LVIS_FOCUSED) && !(new_state & LVIS_FOCUSED)) rows_->SetFocusedRow(-1);
    return;
  }
  for (int row = first; row <= last; ++row) {
    if (changed & LVIS_SELECTED) {
      rows_->SetSelected(static_cast<size_t>(row), (new_state & LVIS_SELECTED) != 0);
    }
    if (changed & LVIS_FOCUSED) {
      if (new_state & LVIS_FOCUSED) {
        rows_->SetFocusedRow(row);
      } else if (rows_->FocusedRow() == row) {
        rows_->SetFocusedRow(-1);
      }
    }
  }
}

LRESULT MainWindow::HandleListNotify(NMHDR* header) {
  if (lv::IsDisplayRequest(*header)) {
    const lv::DisplayRequest request = lv::DisplayRequestOf(*header);
    if (request.wants_text && request.row >= 0) {
      lv::AnswerText(header, rows_->CellText(static_cast<size_t>(request.row), request.column));
    }
    return 0;
  }
  if (lv::IsFindRequest(*header)) {
    const lv::FindRequest request = lv::FindRequestOf(*header);
    if (!request.by_text || request.start < 0) return -1;
    return rows_->FindFile(request.text, request.partial, static_cast<size_t>(request.start),
                           request.wrap);
  }
  if (showing_selection_) return 0;
  if (header->code == LVN_ITEMCHANGED) {
    const auto& change = *reinterpret_cast<const NMLISTVIEW*>(header);
    if (change.uChanged & LVIF_STATE) {
      FollowStateChange(change.iItem, change.iItem, change.uOldState, change.uNewState);
    }
  } else if (header->code == LVN_ODSTATECHANGED) {
    const auto& change = *reinterpret_cast<const NMLVODSTATECHANGE*>(header);
    FollowStateChange(change.iFrom, change.iTo, change.uOldState, change.uNewState);
  }
  return 0;
}

void MainWindow::Layout() {
  PumpPendingMessages();
  SIZE client = ClientSize(hwnd());
  MainLayout layout = ComputeMainLayout(client.cx, client.cy, bits_column_, problem_column_);
  SetControlLeft(count_suffix_, layout.count_suffix_left);
  SetControlLeft(count_, layout.count_text_left);
  SetControlTop(refresh_, layout.button_top);
  int refresh_top = ControlRect(refresh_).top;
  SetControlTop(abort_, refresh_top);
  SetControlTop(search_, refresh_top);
  SetControlTop(files_option_, refresh_top);
  SetControlTop(help_, refresh_top);
  SetControlTop(open_file_, refresh_top);
  SetControlTop(bits_option_, refresh_top);
  PlaceControl(list_, {kListLeft, kRowHeight, layout.list_width, layout.list_height});
  PumpPendingMessages();
  for (int column = 0; column < LibraryListModel::kColumnCount; ++column) {
    lv::SetColumnWidth(list_, column, layout.columns[column]);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) {
        switch (LOWORD(wparam)) {
          case kRefreshId:
            commands_->OnScan();
            return 0;
          case kFilesOptionId:
          case kBitsOptionId:
            commands_->OnScan();
            return 0;
          case kAbortId:
            commands_->OnAbort();
            return 0;
          case kSearchId:
            commands_->OnSearch();
            return 0;
          case kHelpId:
            commands_->OnHelp();
            return 0;
          case kOpenFileId:
            commands_->OnOpenFile();
            return 0;
          default:
            break;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header != nullptr && list_ != nullptr && header->hwndFrom == list_) {
        return HandleListNotify(header);
      }
      break;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && list_ != nullptr) Layout();
      return 0;
    case WM_SHOWWINDOW:
      // Opening waits until the contents window is hidden, so it runs from
      // the queue rather than inside ShowWindow.
      if (wparam != FALSE && !shown_once_) {
        shown_once_ = true;
        PostMessageA(hwnd(), kOpenAtStartUpMessage, 0, 0);
      }
      break;
    case WM_DROPFILES:
      TakeDroppedFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case kOpenAtStartUpMessage:
      commands_->OnOpenAtStartUp();
      return 0;
    case WM_CLOSE:
      commands_->OnMainClose();
      return 0;
    default:
      break;
  }
  return Default(message, wparam, lparam);
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR /*id*/, DWORD_PTR self_address) {
  auto* self = reinterpret_cast<MainWindow*>(self_address);
  // Nothing may unwind through the system's callback: the failure is told
  // and the message goes on to the list.
  try {
    return self->HandleListMessage(list, message, wparam, lparam);
  } catch (...) {
    self->ReportFailure(FailureText());
    return DefSubclassProc(list, message, wparam, lparam);
  }
}

LRESULT MainWindow::HandleListMessage(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      commands_->OnOpenAtPoint(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      return result;
    }
    case WM_KEYDOWN: {
      LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      if (wparam == VK_RETURN) commands_->OnOpenFocused();
      return result;
    }
    default:
      return DefSubclassProc(list, message, wparam, lparam);
  }
}

}  // namespace velbrook::app
