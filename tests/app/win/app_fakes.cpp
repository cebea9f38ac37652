// The fakes' behaviour and the fixture that builds the real windows.
#include "app_fakes.h"

#include <string>
#include <utility>

#include "app/win/base_window.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"

namespace velbrook::app::testing {

ScanOutcome FakeServices::ScanLibraries(ScanSink& sink) {
  ++scans;
  last_include_files_not_found = sink.IncludeFilesNotFound();
  last_both_bitnesses = sink.BothBitnesses();
  if (scan_outcome == ScanOutcome::kNoTypeLibKey) return scan_outcome;
  int added = 0;
  for (const LibraryEntry& entry : libraries) {
    if (sink.PollAbort()) return ScanOutcome::kAborted;
    sink.AddLibrary(entry);
    sink.SetStatusText("Searching HKEY_CLASSES_ROOT \\TypeLib: " + entry.clsid);
    ++added;
    if (after_add) after_add(added);
  }
  for (const LibraryEntry& entry : left_out) sink.LeftOut(entry);
  return scan_outcome;
}

OpenOutcome FakeServices::OpenLibrary(const typeinfo::Opener& /*component*/,
                                      const LibraryEntry& library, ContentsModel& lists) {
  opened.push_back(library);
  OpenOutcome outcome = open_outcome ? open_outcome(library) : OpenOutcome::kOpened;
  if (outcome != OpenOutcome::kOpened) return outcome;
  generate::VectorContentsLists filled;
  for (const auto& cells : class_rows) {
    filled.classes.AddRow(cells, std::stoul(cells.at(3)));
  }
  filled.types.AddRow({library.file + " record"}, 0);
  lists.Set(std::move(filled));
  if (after_fill) after_fill();
  return outcome;
}

void FakeServices::Generate(const typeinfo::Opener& /*component*/, const GenerateRequest& request,
                            const ContentsModel& lists) {
  generated.push_back(request);
  generated_hidden_rows.clear();
  for (size_t row = 0; row < lists.RowCount(ContentsList::kObjectClasses); ++row) {
    if (lists.IsChecked(ContentsList::kObjectClasses, row)) {
      generated_hidden_rows.push_back(
          static_cast<int>(lists.HiddenNumber(ContentsList::kObjectClasses, row)));
    }
  }
}

NeededRows FakeServices::CheckNeededRows(const typeinfo::Opener& /*component*/,
                                         const GenerateRequest& request, ContentsModel& /*lists*/) {
  selection_requests.push_back(request);
  return needed;
}

void FakeServices::SaveSelection(const typeinfo::Opener& /*component*/,
                                 const GenerateRequest& request, const ContentsModel& /*lists*/) {
  selection_requests.push_back(request);
}

LoadedSelection FakeServices::LoadSelection(const typeinfo::Opener& /*component*/,
                                            const GenerateRequest& request,
                                            ContentsModel& /*lists*/) {
  selection_requests.push_back(request);
  return loaded;
}

bool FakeServices::LibraryDefinesName(const typeinfo::Opener& /*component*/,
                                      const std::string& path, const std::string& key) {
  searched_paths.push_back(path);
  if (on_search) on_search();
  last_key = key;
  return matching_paths.count(path) != 0;
}

std::vector<catalogue::SearchHit> FakeServices::FindItems(const typeinfo::Opener& /*component*/,
                                                          const std::string& path,
                                                          const catalogue::SearchQuery& query) {
  searched_paths.push_back(path);
  if (on_search) on_search();
  last_query = query;
  auto found = items.find(path);
  return found == items.end() ? std::vector<catalogue::SearchHit>() : found->second;
}

namespace {

constexpr UINT kRunMessage = WM_APP + 50;

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kRunMessage) {
    std::unique_ptr<std::function<void()>> action(reinterpret_cast<std::function<void()>*>(lparam));
    (*action)();
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void AppTest::SetUp() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ASSERT_TRUE(BaseWindow::RegisterWindowClass(instance));
  WNDCLASSA runner_class = {};
  runner_class.lpfnWndProc = &RunnerProc;
  runner_class.hInstance = instance;
  runner_class.lpszClassName = "VelbrookTestRunner";
  RegisterClassA(&runner_class);
  runner_ = CreateWindowExA(0, "VelbrookTestRunner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            instance, nullptr);
  ASSERT_NE(runner_, nullptr);
  Rebuild("C:\\nowhere", {1024, 768});
}

void AppTest::Rebuild(const std::string& start_directory, SIZE screen) {
  app_.reset();
  AppContext context;
  context.instance = GetModuleHandleA(nullptr);
  context.services = &services_;
  context.desktop = &desktop_;
  context.component = reader_ != nullptr ? reader_ : &component_;
  context.screen = screen;
  context.start_directory = start_directory;
  app_ = std::make_unique<App>(context);
  ASSERT_TRUE(app_->BuildWindows());
}

void AppTest::TearDown() {
  app_.reset();
  PumpPendingMessages();
  DestroyWindow(runner_);
}

void AppTest::RunSoon(std::function<void()> action) {
  auto* queued = new std::function<void()>(std::move(action));
  PostMessageA(runner_, kRunMessage, 0, reinterpret_cast<LPARAM>(queued));
}

LRESULT AppTest::NotifyHeader(HWND list, UINT code, int column, HDITEMA* item) {
  NMHEADERA header = {};
  header.hdr.hwndFrom = lv::Header(list);
  header.hdr.idFrom = GetDlgCtrlID(header.hdr.hwndFrom);
  header.hdr.code = code;
  header.iItem = column;
  header.pitem = item;
  return SendMessageA(list, WM_NOTIFY, header.hdr.idFrom, reinterpret_cast<LPARAM>(&header));
}

void AppTest::SetClientSize(HWND window, int width, int height) {
  RECT outer = {};
  RECT client = {};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  int frame_width = (outer.right - outer.left) - client.right;
  int frame_height = (outer.bottom - outer.top) - client.bottom;
  SetWindowPos(window, nullptr, 0, 0, width + frame_width, height + frame_height,
               SWP_NOMOVE | SWP_NOZORDER);
}

void AppTest::ScanWith(const std::vector<LibraryEntry>& libraries) {
  services_.libraries = libraries;
  app_->OnScan();
}

std::vector<std::string> AppTest::ColumnTexts(HWND list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < lv::RowCount(list); ++row) {
    texts.push_back(lv::CellText(list, row, column));
  }
  return texts;
}

void AppTest::FillContents(ContentsList which, const std::vector<std::vector<std::string>>& rows) {
  generate::VectorContentsLists lists = app_->contents_lists().lists();
  generate::VectorContentsList filled;
  for (size_t row = 0; row < rows.size(); ++row) filled.AddRow(rows[row], row);
  switch (which) {
    case ContentsList::kObjectClasses:
      lists.classes = filled;
      break;
    case ContentsList::kEventInterfaces:
      lists.events = filled;
      break;
    case ContentsList::kTypes:
      lists.types = filled;
      break;
    case ContentsList::kEnumerations:
      lists.enumerations = filled;
      break;
  }
  app_->contents_lists().Set(std::move(lists));
  app_->contents_window().ShowAllRows();
}

void AppTest::CloseContentsWhenFilled() {
  HWND contents = app_->contents_window().hwnd();
  services_.after_fill = [contents] { PostMessageA(contents, WM_CLOSE, 0, 0); };
}

std::vector<LibraryEntry> SampleLibraries() {
  // Added out of File order: the list keeps itself sorted by File.
  return {
      {"C.TLB", "gamma library", "c:\\libs\\c.tlb", "{C}"},
      {"A.TLB", "Delta library", "c:\\libs\\a.tlb", "{A}"},
      {"D.TLB", "alpha library", "C:\\Libs\\D.tlb", "{D}"},
      {"B.TLB", "Beta library", "c:\\libs\\b.tlb", "{B}"},
  };
}

}  // namespace velbrook::app::testing
