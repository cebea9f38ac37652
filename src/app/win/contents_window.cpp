// The library contents window's controls, columns, resize rule and routing.
#include "app/win/contents_window.h"

#include <commctrl.h>

#include "app/model/layout.h"
#include "app/model/list_rules.h"
#include "app/win/list_view.h"
#include "app/win/owner_data.h"

namespace velbrook::app {
namespace {

constexpr DWORD kButtonStyle = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kOptionStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kListStyle = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
// Info tips show why "Check what these need" checked a row.
constexpr DWORD kListExtendedStyle =
    LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_INFOTIP;
constexpr DWORD kStaticStyle = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr UINT_PTR kListSubclassId = 2;

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
    const auto which = static_cast<ContentsList>(i);
    if (IsSortable(which)) {
      ColumnListView::Settings settings;
      settings.sorting = true;
      settings.fixed_total_width = true;
      behaviours_[i].Attach(
          lists_[i], settings,
          [this, which](int column) {
            model_->SortByColumn(which, column);
            ShowRows(which);
          },
          failure_reporter());
    }
    SetWindowSubclass(lists_[i], &ContentsWindow::ListProc, kListSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
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
  ShowAllRows();
  return true;
}

void ContentsWindow::CreateColumns() {
  for (HWND list : lists_) {
    lv::SetExtendedStyle(list, kListExtendedStyle, kListExtendedStyle);
    // Check marks are the model's: the list asks for them when it draws.
    lv::SetCallbackMask(list, LVIS_STATEIMAGEMASK);
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

void ContentsWindow::ShowRows(ContentsList which) {
  HWND target = list(which);
  lv::SetItemCount(target, model_->RowCount(which), LVSICF_NOSCROLL);
  InvalidateRect(target, nullptr, FALSE);
}

void ContentsWindow::ShowAllRows() {
  for (int i = 0; i < kContentsListCount; ++i) ShowRows(static_cast<ContentsList>(i));
}

void ContentsWindow::ShowRow(const ContentsRow& row) {
  HWND target = list(row.list);
  lv::SelectRowAndShow(target, static_cast<int>(row.row));
  SetFocus(target);
}

bool ContentsWindow::ListOfWindow(HWND window, ContentsList* which) const {
  for (int i = 0; i < kContentsListCount; ++i) {
    if (lists_[i] != nullptr && lists_[i] == window) {
      *which = static_cast<ContentsList>(i);
      return true;
    }
  }
  return false;
}

void ContentsWindow::ToggleRow(ContentsList which, int row) {
  if (row < 0 || static_cast<size_t>(row) >= model_->RowCount(which)) return;
  model_->SetChecked(which, static_cast<size_t>(row), !model_->IsChecked(which, row));
  lv::RedrawRows(list(which), row, row);
}

void ContentsWindow::SetCheckMarks(ContentsList which, int row, const LVITEMA& item) {
  const UINT image = item.state & item.stateMask & kStateImageMask;
  if (image != kStateImageUnchecked && image != kStateImageChecked) return;
  const bool checked = image == kStateImageChecked;
  if (row < 0) {
    for (size_t r = 0; r < model_->RowCount(which); ++r) model_->SetChecked(which, r, checked);
    InvalidateRect(list(which), nullptr, FALSE);
  } else {
    model_->SetChecked(which, static_cast<size_t>(row), checked);
    lv::RedrawRows(list(which), row, row);
  }
}

LRESULT CALLBACK ContentsWindow::ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR /*id*/, DWORD_PTR self_address) {
  auto* self = reinterpret_cast<ContentsWindow*>(self_address);
  // Nothing may unwind through the system's callback: the failure is told
  // and the message goes on to the list.
  try {
    ContentsList which;
    if (self->ListOfWindow(list, &which)) {
      return self->HandleListMessage(which, list, message, wparam, lparam);
    }
  } catch (...) {
    self->ReportFailure(FailureText());
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

LRESULT ContentsWindow::HandleListMessage(ContentsList which, HWND list, UINT message,
                                          WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The list cannot change a check mark it does not keep: a click on a
      // check box goes to the model and not on to the list.
      LVHITTESTINFO hit = {};
      hit.pt = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      const int row =
          static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
        SetFocus(list);
        ToggleRow(which, row);
        return 0;
      }
      break;
    }
    case WM_KEYDOWN:
      if (wparam == VK_SPACE) {
        ToggleRow(which, lv::FocusedRow(list));
        return 0;
      }
      break;
    case LVM_SETITEMSTATE:
      if (lparam != 0) {
        // LVITEMA and LVITEMW agree on the state fields.
        const auto& item = *reinterpret_cast<const LVITEMA*>(lparam);
        if (item.stateMask & kStateImageMask) {
          SetCheckMarks(which, static_cast<int>(wparam), item);
          LVITEMA rest = item;
          rest.stateMask &= ~kStateImageMask;
          if (rest.stateMask == 0) return TRUE;
          return DefSubclassProc(list, message, wparam, reinterpret_cast<LPARAM>(&rest));
        }
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

LRESULT ContentsWindow::HandleListNotify(ContentsList which, NMHDR* header) {
  if (lv::IsDisplayRequest(*header)) {
    const lv::DisplayRequest request = lv::DisplayRequestOf(*header);
    if (request.row < 0) return 0;
    const auto row = static_cast<size_t>(request.row);
    if (request.wants_text) {
      lv::AnswerText(header, model_->CellText(which, row, request.column));
    }
    if (request.wants_state) {
      lv::AnswerState(header, StateImageOf(model_->IsChecked(which, row)), kStateImageMask);
    }
    return 0;
  }
  if (header->code == LVN_GETINFOTIPA || header->code == LVN_GETINFOTIPW) {
    FillInfoTip(which, header);
  }
  return 0;
}

void ContentsWindow::SetStatusText(const std::string& text) {
  SetWindowTextA(status_, text.c_str());
}

void ContentsWindow::FillInfoTip(ContentsList which, NMHDR* header) {
  if (header->code == LVN_GETINFOTIPA) {
    auto& tip = *reinterpret_cast<NMLVGETINFOTIPA*>(header);
    const std::string note = commands_->RowNote(which, tip.iItem);
    if (note.empty() || tip.pszText == nullptr || tip.cchTextMax <= 0) return;
    lstrcpynA(tip.pszText, note.c_str(), tip.cchTextMax);
  } else {
    auto& tip = *reinterpret_cast<NMLVGETINFOTIPW*>(header);
    const std::string note = commands_->RowNote(which, tip.iItem);
    if (note.empty() || tip.pszText == nullptr || tip.cchTextMax <= 0) return;
    const int written =
        MultiByteToWideChar(CP_ACP, 0, note.c_str(), -1, tip.pszText, tip.cchTextMax);
    if (written == 0) tip.pszText[tip.cchTextMax - 1] = L'\0';
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
      ContentsList which;
      if (header != nullptr && ListOfWindow(header->hwndFrom, &which)) {
        return HandleListNotify(which, header);
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
