// Command handlers: scan, abort, search, help, opening, reopening,
// generation, checking what the checked rows need, saving and loading
// selections, toggling check marks and closing the windows.
#include "app/win/app.h"

#include <exception>
#include <string>

#include "app/model/command_line.h"
#include "app/model/file_opening.h"
#include "app/model/messages.h"
#include "app/model/scan_status.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app/win/save_dialog.h"
#include "catalogue/ascii_text.h"
#include "catalogue/library_search.h"

namespace velbrook::app {

namespace {

// How often a running scan shows the rows found so far and its progress
// text: often enough that they appear as they are found, seldom enough that
// drawing the list and the text does not cost more than reading the
// registry (a text drawn for each of 5,000 libraries took 0.4 s under Wine).
constexpr ULONGLONG kShowRowsIntervalMs = 100;

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

// The sink of one registry scan: each entry goes into the library list
// model at its sorted place; the list and the status text show the latest
// state between libraries.
class App::Scan : public ScanSink {
 public:
  Scan(App* app, int number) : app_(app), number_(number), last_shown_(GetTickCount64()) {}

  bool PollAbort() override {
    if (unshown_ && GetTickCount64() - last_shown_ >= kShowRowsIntervalMs) Show();
    PumpPendingMessages();
    return app_->abort_requested_ || app_->scan_number_ != number_;
  }
  bool IncludeFilesNotFound() const override { return IsChecked(app_->main_.files_option()); }
  bool BothBitnesses() const override { return both_bitnesses_; }
  void AddLibrary(const LibraryEntry& entry) override {
    app_->library_list_.Add(entry);
    unshown_ = true;
  }
  void LeftOut(const LibraryEntry& /*entry*/) override { ++left_out_; }
  size_t left_out() const { return left_out_; }
  void SetStatusText(const std::string& text) override {
    status_text_ = text;
    unshown_ = true;
    // The scan's last text, shown at once.
    if (text.empty()) Show();
  }
  // The rows found so far and the latest status text.
  void Show() {
    app_->main_.ShowRows();
    SetWindowTextA(app_->main_.status_text(), status_text_.c_str());
    unshown_ = false;
    last_shown_ = GetTickCount64();
  }
  // The rows found so far; the status text is left to Abort's "Aborted".
  void ShowRows() { app_->main_.ShowRows(); }

 private:
  App* app_;
  int number_;
  std::string status_text_;
  ULONGLONG last_shown_;
  bool unshown_ = false;
  // Read once: the columns shown are those of the scan that filled the list.
  bool both_bitnesses_ = IsChecked(app_->main_.bits_option());
  size_t left_out_ = 0;
};

// The search's walk over the library list model: the rows it finds are
// selected in the model and shown, its progress goes to the caption. With
// the items the test found, those go to the results too.
class App::Search : public catalogue::SearchSink {
 public:
  explicit Search(App* app, const std::vector<catalogue::SearchHit>* items = nullptr)
      : app_(app), items_(items) {}

  bool PollAbort() override {
    PumpPendingMessages();
    return app_->abort_requested_;
  }
  size_t RowCount() const override { return app_->library_list_.size(); }
  std::string PathOf(size_t row) const override {
    // A scan run from the message pump may have emptied the list meanwhile.
    return row < app_->library_list_.size()
               ? app_->context_.services->OpeningPath(app_->library_list_.Entry(row))
               : std::string();
  }
  void Found(size_t row, int found_count) override {
    if (row >= app_->library_list_.size()) return;
    app_->search_.Found(row);
    const bool first = found_count == 1;
    if (first) {
      app_->library_list_.SelectOnlyRow(row);
    } else {
      app_->library_list_.SelectRow(row);
    }
    app_->main_.ShowSelectedRow(row, first);
    if (items_ != nullptr) {
      app_->search_results_.Add(app_->library_list_.Entry(row), *items_);
      app_->results_.ShowRows();
    }
  }
  void ShowProgress(const std::string& text) override {
    app_->search_.Progress(text);
    SetWindowTextA(app_->main_.hwnd(), text.c_str());
  }

 private:
  App* app_;
  const std::vector<catalogue::SearchHit>* items_;
};

App::App(const AppContext& context)
    : context_(context),
      main_(this, &library_list_),
      contents_(this, &contents_lists_),
      prompt_(context.instance),
      results_(this, &search_results_) {
  main_.set_failure_reporter(this);
  contents_.set_failure_reporter(this);
  prompt_.set_failure_reporter(this);
  results_.set_failure_reporter(this);
}

bool App::BuildWindows() {
  if (!main_.Create(context_.instance)) return false;
  prompt_.set_owner(main_.hwnd());
  return contents_.Create(context_.instance, main_.hwnd(), context_.screen) &&
         results_.Create(context_.instance, main_.hwnd(), context_.screen);
}

void App::ReportFailure(const std::string& what) {
  if (reporting_failure_) return;
  reporting_failure_ = true;
  ShowMessage(kFailurePrefix + what);
  reporting_failure_ = false;
}

void App::ShowMessage(const std::string& text) {
  context_.desktop->ShowMessage(main_.hwnd(), text, MB_SETFOREGROUND);
}

void App::ApplyCommandLine(const std::string& command_line) {
  const std::string given = FirstCommandLineArgument(command_line);
  std::string argument = LowerAscii(given);
  current_row_ = -1;
  start_up_file_.clear();
  if (!argument.empty()) {
    current_row_ = FindRowByPath(library_list_.Paths(), argument);
    if (current_row_ >= 0) {
      command_line_flag_ = true;
    } else if (IsExistingFile(WithoutResourceNumber(given))) {
      // Not registered: the file itself is opened once the window is shown.
      start_up_file_ = given;
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
  library_list_.Clear();
  main_.ShowRows();
  int number = ++scan_number_;
  Scan sink(this, number);
  ScanOutcome outcome = context_.services->ScanLibraries(sink);
  // A newer scan took over the list and its texts.
  if (scan_number_ != number) return;
  sink.ShowRows();
  ScanCounts counts;
  counts.rows = library_list_.size();
  counts.left_out = sink.left_out();
  counts.problem_rows = library_list_.ProblemCount();
  counts.both_bitnesses = sink.BothBitnesses();
  main_.ShowExtraColumns(counts.both_bitnesses, counts.problem_rows != 0);
  if (outcome != ScanOutcome::kCompleted) return;
  // Only an empty 32-bit list pays for counting the 64-bit registrations.
  if (counts.rows == 0 && !counts.both_bitnesses) {
    counts.win64_registrations = context_.services->CountWin64Registrations();
  }
  SetWindowTextA(main_.status_text(), ScanEndStatus(counts).c_str());
  SetWindowTextA(main_.count_text(), std::to_string(library_list_.size()).c_str());
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
  int choice = search_.kind_choice();
  std::string text = prompt_.PromptText(kSearchPromptCaption, kSearchPromptLabel, "",
                                        kSearchPromptKindLabel, SearchKindLabels(), &choice);
  search_.ChooseKind(choice);
  const catalogue::SearchQuery query{text, search_.kind()};
  const Status check = catalogue::CheckSearchQuery(query);
  if (!check.ok()) {
    // Blank text ends the command silently; a GUID search says why it
    // cannot run.
    if (query.kind == catalogue::SearchKind::kGuid && !catalogue::TrimBlanks(text).empty()) {
      ShowMessage(check.error().message);
    }
    return;
  }
  search_.Start(text);
  // A library the reader fails on does not match; the status text says
  // which and why, and the search goes on.
  auto tell_unreadable = [this](const std::string& path, const std::exception& error) {
    SetWindowTextA(main_.status_text(), (kUnreadablePrefix + path + ": " + error.what()).c_str());
  };
  catalogue::SearchOutcome outcome;
  if (query.kind == catalogue::SearchKind::kName) {
    const std::string key = catalogue::SearchKey(text);
    Search sink(this);
    outcome = catalogue::SearchLibraries(sink, [&](const std::string& path) {
      try {
        return context_.services->LibraryDefinesName(*context_.component, path, key);
      } catch (const std::exception& error) {
        tell_unreadable(path, error);
        return false;
      }
    });
  } else {
    search_results_.Clear();
    results_.ShowRows();
    SetWindowTextA(results_.hwnd(), (std::string(kResultsCaption) + ": " + text).c_str());
    ShowWindow(results_.hwnd(), SW_SHOWNOACTIVATE);
    // The items of the library just tested, which the sink adds to the
    // results when it reports the library found.
    std::vector<catalogue::SearchHit> items;
    Search sink(this, &items);
    outcome = catalogue::SearchLibraries(sink, [&](const std::string& path) {
      items.clear();
      try {
        items = context_.services->FindItems(*context_.component, path, query);
      } catch (const std::exception& error) {
        tell_unreadable(path, error);
      }
      return !items.empty();
    });
  }
  search_.Finish(outcome.aborted);
  if (outcome.aborted) {
    // The caption keeps its last progress text; no message.
    SetFocus(main_.library_list());
    return;
  }
  ShowMessage(search_.EndMessage());
  if (search_.found_count() != 0) SetFocus(main_.library_list());
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
  current_row_ = library_list_.FocusedRow();
  if (current_row_ >= 0) OpenRow(current_row_);
}

void App::OnOpenAtStartUp() {
  // The flag exists so that closing the command-line library ends the
  // process; if that library never got shown, a later library's window must
  // not end it.
  if (current_row_ >= 0) {
    if (!OpenRow(current_row_)) command_line_flag_ = false;
    current_row_ = -1;
    return;
  }
  if (start_up_file_.empty()) return;
  const std::string path = start_up_file_;
  start_up_file_.clear();
  if (!OpenFile(path)) command_line_flag_ = false;
}

void App::OnOpenFile() {
  const std::optional<std::string> path = AskLibraryFilePath(main_.hwnd());
  if (path.has_value()) OpenFile(*path);
}

void App::OnFilesDropped(const std::vector<std::string>& paths) {
  if (!paths.empty()) OpenFile(paths.front(), paths.size() - 1);
}

bool App::OpenFile(const std::string& path, size_t ignored_files) {
  FileOpening opening;
  try {
    opening = InspectLibraryFile(*context_.component, path);
  } catch (const std::exception& error) {
    opening = FileOpening();
    opening.error = path + ": " + error.what();
  }
  SetWindowTextA(main_.status_text(), FileOpeningStatusText(opening, path, ignored_files).c_str());
  switch (opening.kind) {
    case FileOpeningKind::kOneLibrary:
      return OpenLibrary(opening.libraries.front());
    case FileOpeningKind::kSeveralLibraries:
      ListLibraries(opening.libraries);
      return false;
    case FileOpeningKind::kError:
      break;
  }
  ShowMessage(kFileNotOpenedPrefix + opening.error);
  return false;
}

void App::ListLibraries(const std::vector<LibraryEntry>& libraries) {
  const std::vector<std::string> listed = library_list_.Paths();
  for (const LibraryEntry& entry : libraries) {
    if (FindRowByPath(listed, entry.path) < 0) library_list_.Add(entry);
  }
  main_.ShowRows();
  // Rows move as others are added before them: each is found once all are in.
  const std::vector<std::string> paths = library_list_.Paths();
  bool first = true;
  for (const LibraryEntry& entry : libraries) {
    const int row = FindRowByPath(paths, entry.path);
    if (row < 0) continue;
    if (first) {
      library_list_.SelectOnlyRow(static_cast<size_t>(row));
    } else {
      library_list_.SelectRow(static_cast<size_t>(row));
    }
    main_.ShowSelectedRow(static_cast<size_t>(row), first);
    first = false;
  }
  SetFocus(main_.library_list());
}

void App::OnMainClose() { context_.desktop->EndProcess(0); }

LibraryEntry App::RowEntry(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= library_list_.size()) return LibraryEntry();
  return library_list_.Entry(static_cast<size_t>(row));
}

bool App::OpenRow(int row) { return OpenLibrary(RowEntry(row)); }

void App::OnOpenResult(int row) {
  if (row < 0 || static_cast<size_t>(row) >= search_results_.size()) return;
  // A copy: a search started while the library is shown refills the results.
  const SearchResult result = search_results_.Result(static_cast<size_t>(row));
  OpenLibrary(result.library, &result.hit);
}

bool App::OpenLibrary(const LibraryEntry& entry, const catalogue::SearchHit* item) {
  HWND window = contents_.hwnd();
  SetWindowTextA(window, (entry.description + " (" + entry.file + ")").c_str());
  OpenOutcome outcome = context_.services->OpenLibrary(*context_.component, entry, contents_lists_);
  contents_.ShowAllRows();
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
  if (item != nullptr) {
    if (const std::optional<ContentsRow> row = contents_lists_.RowOfItem(*item)) {
      contents_.ShowRow(*row);
    }
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
  context_.services->Generate(*context_.component, ContentsRequest(), contents_lists_);
  SetFocus(contents_.hwnd());
}

void App::OnCheckNeeded() {
  if (!shown_library_.has_value()) return;
  row_notes_.Set(
      context_.services->CheckNeededRows(*context_.component, ContentsRequest(), contents_lists_));
  contents_.ShowAllRows();
  contents_.SetStatusText(row_notes_.StatusText());
}

void App::OnSaveSelection() {
  if (!shown_library_.has_value()) return;
  context_.services->SaveSelection(*context_.component, ContentsRequest(), contents_lists_);
  SetFocus(contents_.hwnd());
}

void App::OnLoadSelection() {
  if (!shown_library_.has_value()) return;
  const LoadedSelection loaded =
      context_.services->LoadSelection(*context_.component, ContentsRequest(), contents_lists_);
  contents_.ShowAllRows();
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
  if (row < 0 || static_cast<size_t>(row) >= contents_lists_.RowCount(list)) return std::string();
  return row_notes_.NoteOf(list, contents_lists_.HiddenNumber(list, static_cast<size_t>(row)));
}

void App::OnToggle(ContentsList which) {
  contents_lists_.ToggleAll(which);
  contents_.ShowRows(which);
}

void App::OnContentsClose() {
  ShowWindow(contents_.hwnd(), SW_HIDE);
  if (command_line_flag_) context_.desktop->EndProcess(0);
}

}  // namespace velbrook::app
