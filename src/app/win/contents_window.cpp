// The library contents window's controls, columns, resize rule and routing.
#include "app/win/contents_window.h"

#include <commctrl.h>

#include "app/model/layout.h"
#include "app/model/list_rules.h"
#include "app/win/list_view.h"

namespace velbrook::app {
namespace {

constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kOptionStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kListStyle = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS;
// Info tips show why "Check what these need" checked a row.
constexpr DWORD kListExtendedStyle =
    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_INFOTIP;
constexpr DWORD kStaticStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

}  // namespace

bool ContentsWindow::Create(HINSTANCE instance, HWND owner, SIZE screen) {
  Rect rect = CenterOnScreen(kContentsWidth, kContentsHeight, screen.cx, screen.cy);
  if (!CreateTopLevel(instance, "Velbrook", WS_OVERLAPPEDWINDOW, rect, owner)) {
    return false;
  }
  window_.Reset(hwnd());
  HWND w = hwnd();
  refresh_ = CreateChild(w, "BUTTON", "Refresh", kButtonStyle,
                         {kContentsRefreshLeft, 0, kButtonWidth, kRowHeight}, kRefreshId);
  help_ = CreateChild(w, "BUTTON", "?", kButtonStyle,
                      {kContentsHelpLeft, 0, kButtonWidth, kRowHeight}, kHelpId);
  generate_ = CreateChild(w, "BUTTON", "Generate .inc", kButtonStyle,
                          {kGenerateLeft, 0, kButtonWidth, kRowHeight}, kGenerateId);
  for (int i = 0; i < kContentsListCount; ++i) {
    lists_[i] = CreateChild(w, WC_LISTVIEWA, "", kListStyle, {kContentsListLeft, kRowHeight, 0, 0},
                            kListBaseId + i, WS_EX_CLIENTEDGE);
    if (lists_[i] == nullptr) return false;
    if (i < 2) {
      AttachColumnListView(lists_[i], &records_[i]);
      records_[i].sorting = true;
      records_[i].fixed_total_width = true;
    }
  }
  for (int i = 0; i < kContentsListCount; ++i) {
    toggles_[i] =
        CreateChild(w, "BUTTON", "Toggle selection", kButtonStyle,
                    {kContentsListLeft, 0, kToggleWidth, kToggleHeight}, kToggleBaseId + i);
    if (i == 1) {
      use_invoke_ =
          CreateChild(w, "BUTTON", "use Invoke", kOptionStyle,
                      {kContentsListLeft + 280, 0, kUseInvokeWidth, kOptionHeight}, kUseInvokeId);
      SetChecked(use_invoke_, true);
    }
  }
  generics_ = CreateChild(w, "BUTTON", "Include COM Generics", kOptionStyle,
                          {kGeneratedOptionLeft, 0, kGeneratedOptionWidth, kOptionHeight},
                          kGenericsOptionId);
  SetChecked(generics_, true);
  save_selection_ =
      CreateChild(w, "BUTTON", "Save selection...", kButtonStyle,
                  {kSaveSelectionLeft, 0, kSelectionButtonWidth, kRowHeight}, kSaveSelectionId);
  load_selection_ = CreateChild(
      w, "BUTTON", "Load selection...", kButtonStyle,
      {kSaveSelectionLeft + kSelectionButtonWidth + 12, 0, kSelectionButtonWidth, kRowHeight},
      kLoadSelectionId);
  check_needed_ =
      CreateChild(w, "BUTTON", "Check what these need", kButtonStyle,
                  {kContentsListLeft, 0, kCheckNeededWidth, kRowHeight}, kCheckNeededId);
  status_ = CreateChild(w, "STATIC", "", kStaticStyle, {0, 2, 0, kOptionHeight}, 0);
  CreateColumns();
  Layout();
  return true;
}

void ContentsWindow::CreateColumns() {
  for (HWND list : lists_) {
    lv::SetExtendedStyle(list, kListExtendedStyle, kListExtendedStyle);
  }
  const std::vector<std::vector<const char*>> captions = {
      {"Interfaces", "Object classes", "ProgIDs", "Hidden"},
      {"Event Interfaces", "for Objects", "", "Hidden"},
      {"Types"},
      {"Constant Enumerations"},
  };
  for (int i = 0; i < kContentsListCount; ++i) {
    for (size_t column = 0; column < captions[i].size(); ++column) {
      lv::InsertColumn(lists_[i], static_cast<int>(column), captions[i][column], 60);
    }
  }
  // Hidden columns hold data for the program only; the resize rule sets the
  // visible widths.
  lv::SetColumnWidth(lists_[0], 3, 0);
  lv::SetColumnWidth(lists_[1], 3, 0);
}

void ContentsWindow::Layout() {
  SIZE client = ClientSize(hwnd());
  ContentsLayout layout = ComputeContentsLayout(client.cx, client.cy);
  SetControlTop(refresh_, layout.button_top);
  SetControlTop(generate_, layout.button_top);
  SetControlTop(help_, layout.button_top);
  HWND classes = lists_[0];
  HWND events = lists_[1];
  HWND types = lists_[2];
  HWND enumerations = lists_[3];
  PlaceControl(classes, layout.classes);
  for (int column = 0; column < 3; ++column) {
    lv::SetColumnWidth(classes, column, layout.class_columns[column]);
  }
  PlaceControl(types, layout.types);
  lv::SetColumnWidth(types, 0, layout.types_column);
  PlaceControl(enumerations, layout.enumerations);
  lv::SetColumnWidth(enumerations, 0, layout.enumerations_column);
  PlaceControl(events, layout.events);
  lv::SetColumnWidth(events, 0, layout.event_columns[0]);
  lv::SetColumnWidth(events, 1, layout.event_columns[1]);
  lv::SetColumnWidth(events, 2, 0);
  for (int i = 0; i < kContentsListCount; ++i) {
    PlaceControl(toggles_[i], layout.toggles[i]);
  }
  PlaceControl(use_invoke_, layout.use_invoke);
  PlaceControl(generics_, layout.include_generics);
  PlaceControl(save_selection_, layout.save_selection);
  PlaceControl(load_selection_, layout.load_selection);
  PlaceControl(check_needed_, layout.check_needed);
  PlaceControl(status_, layout.status);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ContentsWindow::Clear(ContentsList which) { lv::DeleteAllRows(list(which)); }

int ContentsWindow::AppendRow(ContentsList which, const std::vector<std::string>& cells) {
  HWND target = list(which);
  int row = lv::InsertRow(target, lv::RowCount(target), cells.empty() ? std::string() : cells[0]);
  if (row < 0) return row;
  for (size_t column = 1; column < cells.size(); ++column) {
    lv::SetCell(target, row, static_cast<int>(column), cells[column]);
  }
  lv::SetItemState(target, row, kStateImageUnchecked, kStateImageMask);
  return row;
}

int ContentsWindow::RowCount(ContentsList which) const { return lv::RowCount(list(which)); }

std::string ContentsWindow::CellText(ContentsList which, int row, int column) const {
  return lv::CellText(list(which), row, column);
}

int ContentsWindow::IsRowChecked(ContentsList which, int row) const {
  return lv::IsRowChecked(list(which), row);
}

void ContentsWindow::SetRowChecked(ContentsList which, int row, bool checked) {
  lv::SetItemState(list(which), row, checked ? kStateImageChecked : kStateImageUnchecked,
                   kStateImageMask);
}

void ContentsWindow::SetStatusText(const std::string& text) {
  SetWindowTextA(status_, text.c_str());
}

void ContentsWindow::FillInfoTip(NMHDR* header) {
  for (int i = 0; i < kContentsListCount; ++i) {
    if (header->hwndFrom != lists_[i]) continue;
    if (header->code == LVN_GETINFOTIPA) {
      auto& tip = *reinterpret_cast<NMLVGETINFOTIPA*>(header);
      const std::string note = commands_->RowNote(static_cast<ContentsList>(i), tip.iItem);
      if (note.empty() || tip.pszText == nullptr || tip.cchTextMax <= 0) return;
      lstrcpynA(tip.pszText, note.c_str(), tip.cchTextMax);
    } else {
      auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(header);
      const std::string note = commands_->RowNote(static_cast<ContentsList>(i), tip.iItem);
      if (note.empty() || tip.pszText == nullptr || tip.cchTextMax <= 0) return;
      const int written =
          MultiByteToWideChar(CP_ACP, 0, note.c_str(), -1, tip.pszText, tip.cchTextMax);
      if (written == 0) tip.pszText[tip.cchTextMax - 1] = L'\0';
    }
    return;
  }
}

LRESULT ContentsWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      if (HIWORD(wparam) != BN_CLICKED) break;
      int id = LOWORD(wparam);
      if (id == kRefreshId) {
        commands_->OnReopen();
        return 0;
      }
      if (id == kHelpId) {
        commands_->OnHelp();
        return 0;
      }
      if (id == kGenerateId) {
        commands_->OnGenerate();
        return 0;
      }
      if (id == kCheckNeededId) {
        commands_->OnCheckNeeded();
        return 0;
      }
      if (id == kSaveSelectionId) {
        commands_->OnSaveSelection();
        return 0;
      }
      if (id == kLoadSelectionId) {
        commands_->OnLoadSelection();
        return 0;
      }
      if (id >= kToggleBaseId && id < kToggleBaseId + kContentsListCount) {
        commands_->OnToggle(static_cast<ContentsList>(id - kToggleBaseId));
        return 0;
      }
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header != nullptr &&
          (header->code == LVN_GETINFOTIPA || header->code == LVN_GETINFOTIPW)) {
        FillInfoTip(header);
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && generics_ != nullptr) Layout();
      return 0;
    case WM_CLOSE:
      commands_->OnContentsClose();
      return 0;
    default:
      break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace velbrook::app
