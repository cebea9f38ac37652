// The desktop program's state and every command handler of both windows.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/model/app_services.h"
#include "app/model/contents_model.h"
#include "app/model/library_list_model.h"
#include "app/model/row_notes.h"
#include "app/model/search_results.h"
#include "app/model/search_state.h"
#include "app/win/contents_window.h"
#include "app/win/desktop.h"
#include "app/win/failure_report.h"
#include "app/win/main_window.h"
#include "app/win/prompt_box.h"
#include "app/win/results_window.h"
#include "app/win/system_functions.h"

namespace velbrook::app {

struct AppContext {
  HINSTANCE instance = nullptr;
  AppServices* services = nullptr;
  Desktop* desktop = nullptr;
  const typeinfo::Opener* component = nullptr;
  const SystemFunctions* functions = nullptr;  // may be null in tests
  std::string start_directory;
  SIZE screen = {0, 0};  // centres the contents window
};

class App : public MainCommands,
            public ContentsCommands,
            public ResultsCommands,
            public FailureReporter {
 public:
  explicit App(const AppContext& context);
  ~App() override = default;
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The windows with their controls and columns, hidden.
  bool BuildWindows();
  // The command-line argument and the " noinvoke" switch.
  void ApplyCommandLine(const std::string& command_line);
  // ShowWindow(SW_SHOWNORMAL) and UpdateWindow of the main window.
  void ShowMainWindow();

  // Handlers.
  void OnScan() override;
  void OnAbort() override;
  void OnSearch() override;
  void OnHelp() override;
  void OnOpenAtPoint(POINT point) override;
  void OnOpenFocused() override;
  void OnOpenAtStartUp() override;
  void OnOpenFile() override;
  void OnFilesDropped(const std::vector<std::string>& paths) override;
  void OnMainClose() override;
  void OnReopen() override;
  void OnGenerate() override;
  void OnToggle(ContentsList list) override;
  void OnContentsClose() override;
  void OnCheckNeeded() override;
  void OnSaveSelection() override;
  void OnLoadSelection() override;
  std::string RowNote(ContentsList list, int row) override;
  // Opens the library of a search result with the item's row selected and
  // shown; waits as OpenRow does.
  void OnOpenResult(int row) override;
  // A failure caught in a window procedure: a message box owned by the
  // main window, then the program carries on.
  void ReportFailure(const std::string& what) override;

  // Opens a library list row into the contents window and waits until the
  // window is hidden again (or returns at once after a message). True when
  // the library was shown.
  bool OpenRow(int row);
  // Opens a library file, registered or not, as a row is opened. A module
  // with several TYPELIB resources adds one row per resource to the library
  // list, selected, for the user to pick one; a file that opens nothing is
  // told with the reader's message and changes neither list. The status text
  // says what happened, and how many `ignored_files` a drop left unopened.
  // True when a library was shown.
  bool OpenFile(const std::string& path, size_t ignored_files = 0);

  MainWindow& main_window() { return main_; }
  ContentsWindow& contents_window() { return contents_; }
  LibraryListModel& library_list() { return library_list_; }
  ContentsModel& contents_lists() { return contents_lists_; }
  const SearchState& last_search() const { return search_; }
  const SearchResultsModel& search_results() const { return search_results_; }
  ResultsWindow& results_window() { return results_; }
  PromptBox& prompt_box() { return prompt_; }
  int current_row() const { return current_row_; }
  bool command_line_flag() const { return command_line_flag_; }
  bool abort_requested() const { return abort_requested_; }
  // The library the contents window shows (or last showed).
  const std::optional<LibraryEntry>& shown_library() const { return shown_library_; }
  LibraryEntry RowEntry(int row) const;

 private:
  class Scan;
  class Search;
  // With `item`, the row that shows it is selected and scrolled into view.
  bool OpenLibrary(const LibraryEntry& entry, const catalogue::SearchHit* item = nullptr);
  void ShowMessage(const std::string& text);
  // Adds the rows of a module's libraries (a row with the same path is not
  // added again) and selects them, the first shown.
  void ListLibraries(const std::vector<LibraryEntry>& libraries);
  // The shown library with the options as the contents window has them.
  GenerateRequest ContentsRequest() const;

  AppContext context_;
  // The state the windows show; declared before them, which refer to it.
  LibraryListModel library_list_;
  ContentsModel contents_lists_;
  SearchState search_;
  SearchResultsModel search_results_;
  MainWindow main_;
  ContentsWindow contents_;
  PromptBox prompt_;
  ResultsWindow results_;
  int current_row_ = -1;
  bool command_line_flag_ = false;
  bool abort_requested_ = false;
  // Each scan has a number; a scan started while another runs supersedes it.
  int scan_number_ = 0;
  // A file named on the command line that no row has: opened at start-up.
  std::string start_up_file_;
  // Kept by value: Refresh and Generate act on the library the window shows,
  // even after the library list was re-sorted or re-scanned.
  std::optional<LibraryEntry> shown_library_;
  // Why "Check what these need" checked rows, until the lists are refilled.
  RowNotes row_notes_;
  // True while a failure is being told: a failure meanwhile is not told again.
  bool reporting_failure_ = false;
};

}  // namespace velbrook::app
