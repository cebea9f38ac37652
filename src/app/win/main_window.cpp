// The main window's controls, columns, resize rule and message routing.
#include "app/win/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/model/layout.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"

namespace velbrook::app {
namespace {

constexpr DWORD kStaticStyle = SS_CENTERIMAGE | SS_NOTIFY;
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kOptionStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kListStyle = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
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
  AttachColumnListView(list_, &list_record_);
  list_record_.sorting = true;
  list_record_.fixed_total_width = true;
  SetWindowSubclass(list_, &MainWindow::ListProc, kListSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  const char* captions[] = {"File", "Description", "Path", "CLSID", "Hidden"};
  for (int column = 0; column < 5; ++column) {
    lv::InsertColumn(list_, column, captions[column], 60);
  }
  Layout();
  return true;
}

void MainWindow::Layout() {
  PumpPendingMessages();
  SIZE client = ClientSize(hwnd());
  MainLayout layout = ComputeMainLayout(client.cx, client.cy);
  SetControlLeft(count_suffix_, layout.count_suffix_left);
  SetControlLeft(count_, layout.count_text_left);
  SetControlTop(refresh_, layout.button_top);
  int refresh_top = ControlRect(refresh_).top;
  SetControlTop(abort_, refresh_top);
  SetControlTop(search_, refresh_top);
  SetControlTop(files_option_, refresh_top);
  SetControlTop(help_, refresh_top);
  PlaceControl(list_, {kListLeft, kRowHeight, layout.list_width, layout.list_height});
  PumpPendingMessages();
  for (int column = 0; column < 5; ++column) {
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
          default:
            break;
        }
      }
      break;
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
  // Nothing may unwind through the system's callback.
  try {
    return self->HandleListMessage(list, message, wparam, lparam);
  } catch (...) {
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
