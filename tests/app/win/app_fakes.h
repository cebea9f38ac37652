// Fakes for the desktop program's seams: services with scripted libraries,
// a desktop that records instead of blocking or exiting, a binder that can
// lose one library or function, and a test fixture that builds the windows.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/model/app_services.h"
#include "app/win/app.h"
#include "app/win/desktop.h"
#include "app/win/system_functions.h"
#include "typeinfo/component.h"

namespace velbrook::app::testing {

class FakeServices : public AppServices {
 public:
  ScanOutcome ScanLibraries(ScanSink& sink) override;
  size_t CountWin64Registrations() override { return win64_registrations; }
  OpenOutcome OpenLibrary(const typeinfo::Opener& component, const LibraryEntry& library,
                          ContentsModel& lists) override;
  void Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                const ContentsModel& lists) override;
  bool LibraryDefinesName(const typeinfo::Opener& component, const std::string& path,
                          const std::string& key) override;
  std::vector<catalogue::SearchHit> FindItems(const typeinfo::Opener& component,
                                              const std::string& path,
                                              const catalogue::SearchQuery& query) override;
  NeededRows CheckNeededRows(const typeinfo::Opener& component, const GenerateRequest& request,
                             ContentsModel& lists) override;
  void SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                     const ContentsModel& lists) override;
  LoadedSelection LoadSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                                ContentsModel& lists) override;

  // Scan script.
  std::vector<LibraryEntry> libraries;
  ScanOutcome scan_outcome = ScanOutcome::kCompleted;
  // Called after each added library; may press Abort.
  std::function<void(int added)> after_add;
  int scans = 0;
  bool last_include_files_not_found = false;
  bool last_both_bitnesses = false;
  // Handed to the sink as left out, after the libraries.
  std::vector<LibraryEntry> left_out;
  size_t win64_registrations = 0;

  // Opening script: the outcome per path (kOpened when absent), the rows
  // given to the object classes list (four cells, the last the hidden
  // number), and what to do once filled (for example post WM_CLOSE to the
  // contents window so the wait ends).
  std::function<OpenOutcome(const LibraryEntry&)> open_outcome;
  std::vector<std::vector<std::string>> class_rows;
  std::function<void()> after_fill;
  std::vector<LibraryEntry> opened;

  // Generation record.
  std::vector<GenerateRequest> generated;
  // Hidden row numbers of checked object-class rows at generation time.
  std::vector<int> generated_hidden_rows;

  // Selection commands: what they answer, and the requests they got.
  NeededRows needed;
  LoadedSelection loaded;
  std::vector<GenerateRequest> selection_requests;

  // Search: paths that define the key.
  std::set<std::string> matching_paths;
  std::vector<std::string> searched_paths;
  std::string last_key;
  std::function<void()> on_search;
  // Search by another kind: the items found per path, and the last query.
  std::map<std::string, std::vector<catalogue::SearchHit>> items;
  catalogue::SearchQuery last_query;
};

class FakeDesktop : public Desktop {
 public:
  struct Message {
    HWND owner;
    std::string text;
    UINT style;
  };
  void ShowMessage(HWND owner, const std::string& text, UINT style) override {
    messages.push_back({owner, text, style});
  }
  void EndProcess(int exit_code) override { exit_codes.push_back(exit_code); }
  void OpenDocument(const std::string& path) override { documents.push_back(path); }
  std::vector<Message> messages;
  std::vector<int> exit_codes;
  std::vector<std::string> documents;
};

// The real LoadLibraryA / GetProcAddress, except for one name made missing.
class FailingBinder : public ModuleBinder {
 public:
  HMODULE LoadLibraryByName(const char* library) override {
    loaded.push_back(library);
    if (missing_library == library) return nullptr;
    return LoadLibraryA(library);
  }
  FARPROC FindFunction(HMODULE module, const char* function) override {
    looked_up.push_back(function);
    if (missing_function == function) return nullptr;
    return GetProcAddress(module, function);
  }
  std::string missing_library;
  std::string missing_function;
  std::vector<std::string> loaded;
  std::vector<std::string> looked_up;
};

// A component that opens nothing; the fake services never call it.
class NullOpener : public typeinfo::Opener {
 public:
  Result<std::unique_ptr<typeinfo::Library>> OpenLibraryFile(
      const std::string& path) const override {
    return MakeError(ErrorKind::kNotFound, path);
  }
};

// Builds the App with the fakes on a 1024 x 768 screen.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Sizes a window so that its client area has the given size.
  static void SetClientSize(HWND window, int width, int height);
  // Scripted libraries, then a scan.
  void ScanWith(const std::vector<LibraryEntry>& libraries);
  // Cells of a list column, top to bottom, as the list view shows them.
  static std::vector<std::string> ColumnTexts(HWND list, int column);
  // Fills the contents model's lists with rows of cells and shows them.
  void FillContents(ContentsList which, const std::vector<std::vector<std::string>>& rows);
  // Makes the contents window close itself as soon as a library is shown.
  void CloseContentsWhenFilled();
  // Rebuilds the App with another start directory and screen size.
  void Rebuild(const std::string& start_directory, SIZE screen);
  // Runs `action` from the message queue, i.e. from inside whatever wait is
  // pumping messages at that moment.
  void RunSoon(std::function<void()> action);
  // Sends a header notification to a list as its header control would.
  static LRESULT NotifyHeader(HWND list, UINT code, int column, HDITEMA* item = nullptr);

  FakeServices services_;
  FakeDesktop desktop_;
  NullOpener component_;
  // The component the App reads files with when set (at the next Rebuild).
  const typeinfo::Opener* reader_ = nullptr;
  std::unique_ptr<App> app_;
  HWND runner_ = nullptr;
};

// Four libraries in File order A, B, C, D with descriptions out of order.
std::vector<LibraryEntry> SampleLibraries();

}  // namespace velbrook::app::testing
