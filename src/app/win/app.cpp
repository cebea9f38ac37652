// Command handlers: scan, abort, search, help, opening, reopening,
// generation, checking what the checked rows need, saving and loading
// selections, toggling check marks and closing the windows.
#include "app/win/app.h"

#include <algorithm>
#include <vector>

#include "app/model/command_line.h"
#include "app/model/list_rules.h"
#include "app/model/messages.h"
#include "app/model/sorted_files.h"
#include "app/win/contents_list_adapter.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"

namespace velbrook::app {

// The sink of one registry scan, over the main window's library list.
class App::Scan : public ScanSink {
 public:
  Scan(App* app, int number) : app_(app), number_(number) {}

  bool PollAbort() override {
    PumpPendingMessages();
    return app_->abort_requested_ || app_->scan_number_ != number_;
  }
  bool IncludeFilesNotFound() const override { return IsChecked(app_->main_.files_option()); }
  void AddLibrary(const LibraryEntry& entry) override {
    HWND list = app_->main_.library_list();
    int position = files_.PositionFor(entry.file);
    if (!CopyMatchesAround(list, position)) {
      ReadFilesBack(list);
      position = files_.PositionFor(entry.file);
    }
    int row = lv::InsertRow(list, position, entry.file);
    if (row < 0) return;
    files_.Insert(row, entry.file);
    lv::SetCell(list, row, MainWindow::kDescriptionColumn, entry.description);
    lv::SetCell(list, row, MainWindow::kPathColumn, entry.path);
    lv::SetCell(list, row, MainWindow::kClsidColumn, entry.clsid);
    lv::SetCell(list, row, MainWindow::kHiddenColumn, std::to_string(lv::RowCount(list) - 1));
  }
  void SetStatusText(const std::string& text) override {
    SetWindowTextA(app_->main_.status_text(), text.c_str());
  }

 private:
  // The copy is trusted when the list still has as many rows and the cells
  // either side of the new row's place are the ones copied: two messages per
  // row instead of one per existing row.
  bool CopyMatchesAround(HWND list, int position) const {
    const int count = lv::RowCount(list);
    if (count < 0 || static_cast<size_t>(count) != files_.size()) return false;
    for (int row : {position - 1, position}) {
      if (row < 0 || row >= count) continue;
      if (lv::CellText(list, row, MainWindow::kFileColumn) != files_.at(static_cast<size_t>(row)))
        return false;
    }
    return true;
  }
  void ReadFilesBack(HWND list) {
    const int count = lv::RowCount(list);
    std::vector<std::string> files;
    files.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int row = 0; row < count; ++row) {
      files.push_back(lv::CellText(list, row, MainWindow::kFileColumn));
    }
    files_.Reset(std::move(files));
  }

  App* app_;
  int number_;
  SortedFiles files_;
};

App::App(const AppContext& context)
    : context_(context), main_(this), contents_(this), prompt_(context.instance) {}

bool App::BuildWindows() {
  if (!main_.Create(context_.instance)) return false;
  prompt_.set_owner(main_.hwnd());
  return contents_.Create(context_.instance, main_.hwnd(), context_.screen);
}

void App::ShowMessage(const std::string& text) {
  context_.desktop->ShowMessage(main_.hwnd(), text, MB_SETFOREGROUND);
}

void App::ApplyCommandLine(const std::string& command_line) {
  std::string argument = LowerAscii(FirstCommandLineArgument(command_line));
  current_row_ = -1;
  if (!argument.empty()) {
    HWND list = main_.library_list();
    std::vector<std::string> paths;
    for (int row = 0; row < lv::RowCount(list); ++row) {
      paths.push_back(lv::CellText(list, row, MainWindow::kPathColumn));
    }
    current_row_ = FindRowByPath(paths, argument);
    if (current_row_ >= 0) {
      command_line_flag_ = true;
    } else {
      ShowMessage(kArgumentNotFound);
    }
  }
  if (EndsWithNoInvoke(command_line)) {
    SetChecked(contents_.use_invoke_option(), false);
  }
}

void App::ShowMainWindow() {
  ShowWindow(main_.hwnd(), SW_SHOWNORMAL);
  UpdateWindow(main_.hwnd());
}

void App::OnScan() {
  abort_requested_ = false;
  EnableWindow(main_.abort_button(), TRUE);
  lv::DeleteAllRows(main_.library_list());
  int number = ++scan_number_;
  Scan sink(this, number);
  ScanOutcome outcome = context_.services->ScanLibraries(sink);
  // A newer scan took over the list and its texts.
  if (scan_number_ != number) return;
  if (outcome != ScanOutcome::kCompleted) return;
  SetWindowTextA(main_.status_text(), "");
  SetWindowTextA(main_.count_text(), std::to_string(lv::RowCount(main_.library_list())).c_str());
  SetWindowTextA(main_.count_suffix_text(), kTypeLibsFound);
}

void App::OnAbort() {
  abort_requested_ = true;
  SetWindowTextA(main_.status_text(), kAborted);
  EnableWindow(main_.abort_button(), FALSE);
}

void App::OnSearch() {
  abort_requested_ = false;
  EnableWindow(main_.abort_button(), TRUE);
  std::string text = prompt_.PromptText(kSearchPromptCaption, kSearchPromptLabel, "");
  std::string key = SearchKey(text);
  if (key.empty()) return;
  HWND list = main_.library_list();
  int found = 0;
  // The row count is read again every time: a scan may run meanwhile.
  for (int row = 0; row < lv::RowCount(list); ++row) {
    PumpPendingMessages();
    if (abort_requested_) {
      SetFocus(list);
      return;
    }
    std::string path = lv::CellText(list, row, MainWindow::kPathColumn);
    if (context_.services->LibraryDefinesName(*context_.component, path, key)) {
      ++found;
      if (found == 1) {
        lv::SelectRowAndShow(list, row);
      } else {
        lv::SelectRow(list, row);
      }
    }
    std::string caption =
        "Searching... " + std::to_string(row + 1) + " / " + std::to_string(lv::RowCount(list));
    if (found != 0) caption += "  - found: " + std::to_string(found);
    SetWindowTextA(main_.hwnd(), caption.c_str());
  }
  if (found != 0) {
    ShowMessage("Found " + text + " in " + std::to_string(found) + " libraries.");
    SetFocus(list);
  } else {
    ShowMessage("I could not find " + text);
  }
  SetWindowTextA(main_.hwnd(), kCaption);
}

void App::OnHelp() {
  std::string path = context_.start_directory + "\\manual\\index.htm";
  WIN32_FIND_DATAA data;
  HANDLE found = FindFirstFileA(path.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return;
  FindClose(found);
  if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) return;
  context_.desktop->OpenDocument(path);
}

void App::OnOpenAtPoint(POINT point) {
  current_row_ = lv::HitTest(main_.library_list(), point);
  if (current_row_ >= 0) OpenRow(current_row_);
}

void App::OnOpenFocused() {
  current_row_ = lv::FocusedRow(main_.library_list());
  if (current_row_ >= 0) OpenRow(current_row_);
}

void App::OnOpenAtStartUp() {
  if (current_row_ < 0) return;
  // The flag exists so that closing the command-line library ends the
  // process; if that library never got shown, a later library's window must
  // not end it.
  if (!OpenRow(current_row_)) command_line_flag_ = false;
  current_row_ = -1;
}

void App::OnMainClose() { context_.desktop->EndProcess(0); }

LibraryEntry App::RowEntry(int row) const {
  HWND list = main_.library_list();
  return {lv::CellText(list, row, MainWindow::kFileColumn),
          lv::CellText(list, row, MainWindow::kDescriptionColumn),
          lv::CellText(list, row, MainWindow::kPathColumn),
          lv::CellText(list, row, MainWindow::kClsidColumn)};
}

bool App::OpenRow(int row) { return OpenLibrary(RowEntry(row)); }

bool App::OpenLibrary(const LibraryEntry& entry) {
  HWND window = contents_.hwnd();
  SetWindowTextA(window, (entry.description + " (" + entry.file + ")").c_str());
  OpenOutcome outcome = context_.services->OpenLibrary(*context_.component, entry, contents_);
  if (outcome != OpenOutcome::kOpened) {
    ShowMessage(outcome == OpenOutcome::kFileMissing ? kFileMissingPrefix + entry.path
                                                     : std::string(kOpenFailed));
    // A window still showing a library keeps that library's caption.
    if (IsWindowVisible(window) && shown_library_.has_value()) {
      SetWindowTextA(window,
                     (shown_library_->description + " (" + shown_library_->file + ")").c_str());
    }
    return false;
  }
  shown_library_ = entry;
  // The lists were filled afresh: no row has a note any more.
  row_notes_.Clear();
  contents_.SetStatusText(row_notes_.StatusText());
  ShowWindow(window, SW_SHOWNORMAL);
  if (context_.functions != nullptr && context_.functions->bring_window_to_top != nullptr) {
    context_.functions->bring_window_to_top(window);
  } else {
    BringWindowToTop(window);
  }
  WaitWhileVisible(window);
  SetFocus(main_.hwnd());
  return true;
}

void App::OnReopen() {
  if (shown_library_.has_value()) OpenLibrary(*shown_library_);
}

GenerateRequest App::ContentsRequest() const {
  GenerateRequest request;
  request.library = *shown_library_;
  request.use_invoke = IsChecked(contents_.use_invoke_option());
  request.include_generics = IsChecked(contents_.generics_option());
  request.owner_window = reinterpret_cast<uintptr_t>(main_.hwnd());
  return request;
}

void App::OnGenerate() {
  if (!shown_library_.has_value()) return;
  context_.services->Generate(*context_.component, ContentsRequest(), contents_);
  SetFocus(contents_.hwnd());
}

void App::OnCheckNeeded() {
  if (!shown_library_.has_value()) return;
  row_notes_.Set(
      context_.services->CheckNeededRows(*context_.component, ContentsRequest(), contents_));
  contents_.SetStatusText(row_notes_.StatusText());
}

void App::OnSaveSelection() {
  if (!shown_library_.has_value()) return;
  context_.services->SaveSelection(*context_.component, ContentsRequest(), contents_);
  SetFocus(contents_.hwnd());
}

void App::OnLoadSelection() {
  if (!shown_library_.has_value()) return;
  const LoadedSelection loaded =
      context_.services->LoadSelection(*context_.component, ContentsRequest(), contents_);
  if (loaded.loaded) {
    SetChecked(contents_.use_invoke_option(), loaded.use_invoke);
    SetChecked(contents_.generics_option(), loaded.include_generics);
    // The notes were about check marks the selection has replaced.
    row_notes_.Clear();
    contents_.SetStatusText(row_notes_.StatusText());
  }
  SetFocus(contents_.hwnd());
}

std::string App::RowNote(ContentsList list, int row) {
  if (row < 0) return std::string();
  return row_notes_.NoteOf(
      list, WindowContentsList(contents_, list).HiddenNumber(static_cast<size_t>(row)));
}

void App::OnToggle(ContentsList which) {
  HWND list = contents_.list(which);
  int count = lv::RowCount(list);
  for (int row = 0; row < count; ++row) {
    lv::SetItemState(list, row, ToggledStateImage(lv::ItemState(list, row, kStateImageMask)),
                     kStateImageMask);
  }
}

void App::OnContentsClose() {
  ShowWindow(contents_.hwnd(), SW_HIDE);
  if (command_line_flag_) context_.desktop->EndProcess(0);
}

}  // namespace velbrook::app
