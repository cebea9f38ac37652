// The command handlers driven through the real windows: scan, abort,
// command line, opening, reopening, generation, search, help and closing.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/model/list_rules.h"
#include "app/model/messages.h"
#include "app/win/controls.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app_fakes.h"

namespace velbrook::app::testing {
namespace {

using ::testing::ElementsAre;

void Click(HWND window, HWND button) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

LPARAM RowCentre(HWND list, int row) {
  RECT rect = lv::ItemRect(list, row);
  return MAKELPARAM(30, (rect.top + rect.bottom) / 2);
}

class ScanTest : public AppTest {};

TEST_F(ScanTest, RowsSortedByFileWithAddingOrderInHidden) {
  ScanWith(SampleLibraries());
  MainWindow& main = app_->main_window();
  HWND list = main.library_list();
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB"));
  EXPECT_THAT(ColumnTexts(list, 4), ElementsAre("1", "3", "0", "2"));
  EXPECT_THAT(ColumnTexts(list, 3), ElementsAre("{A}", "{B}", "{C}", "{D}"));
  EXPECT_EQ(lv::CellText(list, 3, 2), "C:\\Libs\\D.tlb");
  EXPECT_EQ(WindowText(main.count_text()), "4");
  EXPECT_EQ(WindowText(main.count_suffix_text()), " TypeLibs found");
  EXPECT_EQ(WindowText(main.status_text()), "");
  EXPECT_TRUE(IsWindowEnabled(main.abort_button()));
}

TEST_F(ScanTest, AbortStopsBetweenLibrariesAndKeepsOldCounts) {
  ScanWith(SampleLibraries());
  services_.after_add = [this](int added) {
    if (added == 2) Click(app_->main_window().hwnd(), app_->main_window().abort_button());
  };
  services_.libraries.push_back({"E.TLB", "e", "c:\\e.tlb", "{E}"});
  app_->OnScan();
  MainWindow& main = app_->main_window();
  EXPECT_EQ(lv::RowCount(main.library_list()), 2);
  EXPECT_EQ(WindowText(main.status_text()), "Aborted");
  EXPECT_EQ(WindowText(main.count_text()), "4");
  EXPECT_FALSE(IsWindowEnabled(main.abort_button()));
}

TEST_F(ScanTest, AbortWhenIdleThenNextScanEnablesAgain) {
  MainWindow& main = app_->main_window();
  EnableWindow(main.abort_button(), TRUE);
  Click(main.hwnd(), main.abort_button());
  EXPECT_EQ(WindowText(main.status_text()), "Aborted");
  EXPECT_FALSE(IsWindowEnabled(main.abort_button()));
  Click(main.hwnd(), main.refresh_button());
  EXPECT_TRUE(IsWindowEnabled(main.abort_button()));
  EXPECT_FALSE(app_->abort_requested());
  EXPECT_EQ(services_.scans, 1);
}

TEST_F(ScanTest, OptionClickRescansWithItsNewState) {
  MainWindow& main = app_->main_window();
  SetChecked(main.files_option(), true);
  Click(main.hwnd(), main.files_option());
  EXPECT_EQ(services_.scans, 1);
  EXPECT_TRUE(services_.last_include_files_not_found);
}

TEST_F(ScanTest, BitsOptionRescansBothWithBitsAndProblemColumns) {
  MainWindow& main = app_->main_window();
  HWND list = main.library_list();
  const int plain_file_width = lv::ColumnWidth(list, MainWindow::kFileColumn);
  EXPECT_EQ(lv::ColumnWidth(list, MainWindow::kBitsColumn), 0);
  EXPECT_EQ(lv::ColumnWidth(list, MainWindow::kProblemColumn), 0);
  LibraryEntry x64{"X.TLB", "x", "c:\\x.tlb", "{X}"};
  x64.bits = 64;
  x64.problem = catalogue::RowProblem::kNotTypeLibrary;
  services_.libraries = {{"A.TLB", "a", "c:\\a.tlb", "{A}"}, x64};
  services_.left_out = {{"M.TLB", "m", "c:\\m.tlb", "{M}"}};
  SetChecked(main.bits_option(), true);
  Click(main.hwnd(), main.bits_option());
  EXPECT_TRUE(services_.last_both_bitnesses);
  EXPECT_THAT(ColumnTexts(list, MainWindow::kBitsColumn), ElementsAre("32", "64"));
  EXPECT_THAT(ColumnTexts(list, MainWindow::kProblemColumn), ElementsAre("", "not a type library"));
  EXPECT_GT(lv::ColumnWidth(list, MainWindow::kBitsColumn), 0);
  EXPECT_GT(lv::ColumnWidth(list, MainWindow::kProblemColumn), 0);
  EXPECT_LT(lv::ColumnWidth(list, MainWindow::kFileColumn), plain_file_width);
  EXPECT_EQ(WindowText(main.status_text()),
            std::string("1") + kLeftOutSuffix + "; 1" + kProblemRowsSuffix);
  // The option on the row of the other one, moved with it.
  EXPECT_EQ(ControlRect(main.bits_option()).top, ControlRect(main.files_option()).top);
}

TEST_F(ScanTest, EmptyThirtyTwoBitListTellsOfTheSixtyFourBitRegistrations) {
  services_.win64_registrations = 12;
  ScanWith({});
  MainWindow& main = app_->main_window();
  EXPECT_EQ(WindowText(main.status_text()), std::string(kNo32BitPrefix) + "12" + kNo32BitSuffix);
  EXPECT_EQ(lv::ColumnWidth(main.library_list(), MainWindow::kProblemColumn), 0);
}

TEST_F(ScanTest, MissingTypeLibKeyLeavesTextsAlone) {
  ScanWith(SampleLibraries());
  services_.scan_outcome = ScanOutcome::kNoTypeLibKey;
  app_->OnScan();
  MainWindow& main = app_->main_window();
  EXPECT_EQ(lv::RowCount(main.library_list()), 0);
  EXPECT_EQ(WindowText(main.count_text()), "4");
  EXPECT_EQ(WindowText(main.count_suffix_text()), " TypeLibs found");
}

TEST_F(ScanTest, ScanStartedDuringScanTakesOver) {
  ScanWith({});
  bool nested = false;
  services_.libraries = SampleLibraries();
  services_.after_add = [this, &nested](int added) {
    if (added == 1 && !nested) {
      nested = true;
      app_->OnScan();  // as a Refresh click from inside the pump would
    }
  };
  app_->OnScan();
  HWND list = app_->main_window().library_list();
  EXPECT_EQ(lv::RowCount(list), 4);
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB"));
  EXPECT_EQ(WindowText(app_->main_window().count_text()), "4");
}

class CommandLineTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ScanWith(SampleLibraries());
  }
};

TEST_F(CommandLineTest, ArgumentMatchesPathIgnoringCase) {
  app_->ApplyCommandLine("\"C:\\Program Files\\velbrook.exe\" C:\\LIBS\\B.TLB");
  EXPECT_EQ(app_->current_row(), 1);
  EXPECT_TRUE(app_->command_line_flag());
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_TRUE(IsChecked(app_->contents_window().use_invoke_option()));
}

TEST_F(CommandLineTest, ProgramAloneOpensNothing) {
  app_->ApplyCommandLine("\"C:\\Program Files\\velbrook.exe\"");
  EXPECT_EQ(app_->current_row(), -1);
  EXPECT_FALSE(app_->command_line_flag());
  EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(CommandLineTest, UnknownArgumentShowsMessage) {
  app_->ApplyCommandLine("velbrook.exe c:\\other.tlb");
  EXPECT_EQ(app_->current_row(), -1);
  EXPECT_FALSE(app_->command_line_flag());
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, kArgumentNotFound);
  EXPECT_EQ(desktop_.messages[0].owner, app_->main_window().hwnd());
  EXPECT_EQ(desktop_.messages[0].style, UINT{MB_SETFOREGROUND});
}

TEST_F(CommandLineTest, NoInvokeSwitchClearsTheOption) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\d.tlb noinvoke");
  EXPECT_EQ(app_->current_row(), 3);
  EXPECT_FALSE(IsChecked(app_->contents_window().use_invoke_option()));
}

TEST_F(CommandLineTest, NoInvokeAloneIsAlsoTakenAsAFileName) {
  app_->ApplyCommandLine("velbrook.exe noinvoke");
  EXPECT_EQ(desktop_.messages.size(), 1u);
  EXPECT_FALSE(IsChecked(app_->contents_window().use_invoke_option()));
}

TEST_F(CommandLineTest, CapitalSwitchLeavesTheOptionSet) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\d.tlb NOINVOKE");
  EXPECT_TRUE(IsChecked(app_->contents_window().use_invoke_option()));
}

TEST_F(CommandLineTest, TwoRowsWithTheArgumentsPathTakeTheUpperOne) {
  ScanWith({{"B.TLB", "second", "c:\\libs\\same.tlb", "{2}"},
            {"A.TLB", "first", "c:\\libs\\same.tlb", "{1}"}});
  app_->ApplyCommandLine("velbrook.exe C:\\Libs\\Same.tlb");
  ASSERT_EQ(app_->current_row(), 0);
  EXPECT_EQ(lv::CellText(app_->main_window().library_list(), 0, 1), "first");
}

class OpenTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ScanWith(SampleLibraries());
    SetClientSize(app_->main_window().hwnd(), 800, 562);
  }
  HWND list() { return app_->main_window().library_list(); }
  HWND contents() { return app_->contents_window().hwnd(); }
};

TEST_F(OpenTest, DoubleClickOpensTheRowAndWaitsUntilHidden) {
  bool visible_while_waiting = false;
  services_.after_fill = [this, &visible_while_waiting] {
    RunSoon([this, &visible_while_waiting] {
      visible_while_waiting = IsWindowVisible(contents()) != FALSE;
      PostMessageA(contents(), WM_CLOSE, 0, 0);
    });
  };
  SendMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, RowCentre(list(), 2));
  ASSERT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(services_.opened[0].path, "c:\\libs\\c.tlb");
  EXPECT_TRUE(visible_while_waiting);
  EXPECT_FALSE(IsWindowVisible(contents()));
  EXPECT_EQ(WindowText(contents()), "gamma library (C.TLB)");
  EXPECT_EQ(app_->current_row(), 2);
  EXPECT_TRUE(desktop_.exit_codes.empty());
  EXPECT_EQ(lv::CellText(app_->contents_window().list(ContentsList::kTypes), 0, 0), "C.TLB record");
}

TEST_F(OpenTest, RightAndMiddleDoubleClicksOpenToo) {
  CloseContentsWhenFilled();
  SendMessageA(list(), WM_RBUTTONDBLCLK, MK_RBUTTON, RowCentre(list(), 0));
  SendMessageA(list(), WM_MBUTTONDBLCLK, MK_MBUTTON, RowCentre(list(), 1));
  ASSERT_EQ(services_.opened.size(), 2u);
  EXPECT_EQ(services_.opened[0].file, "A.TLB");
  EXPECT_EQ(services_.opened[1].file, "B.TLB");
}

TEST_F(OpenTest, DoubleClickOnEmptySpaceOpensNothing) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\b.tlb");
  ASSERT_EQ(app_->current_row(), 1);
  RECT last = lv::ItemRect(list(), 3);
  SendMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, last.bottom + 60));
  EXPECT_EQ(app_->current_row(), -1);
  EXPECT_TRUE(services_.opened.empty());
}

TEST_F(OpenTest, EnterOpensTheFocusedRow) {
  CloseContentsWhenFilled();
  lv::SelectRow(list(), 3);
  SendMessageA(list(), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(services_.opened[0].file, "D.TLB");
  SendMessageA(list(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(services_.opened.size(), 1u);
}

TEST_F(OpenTest, MissingFileAndUnreadableFileMessages) {
  services_.open_outcome = [](const LibraryEntry& entry) {
    return entry.file == "A.TLB" ? OpenOutcome::kFileMissing : OpenOutcome::kOpenFailed;
  };
  app_->OpenRow(0);
  app_->OpenRow(1);
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[0].text, "Sorry, I can't find file: \r\nc:\\libs\\a.tlb");
  EXPECT_EQ(desktop_.messages[1].text,
            "Sorry, I can't access the information for this file.\r"
            "It may not be a valid COM library or may not be registered.");
  EXPECT_EQ(desktop_.messages[1].owner, app_->main_window().hwnd());
  EXPECT_FALSE(IsWindowVisible(contents()));
  EXPECT_EQ(WindowText(contents()), "Beta library (B.TLB)");
}

TEST_F(OpenTest, RefreshAndGenerateFollowTheShownLibraryAfterResort) {
  services_.class_rows = {
      {"IB", "ClassB", "", "0"}, {"IA", "ClassA", "", "1"}, {"IC", "", "", "2"}};
  int fills = 0;
  services_.after_fill = [this, &fills] {
    ++fills;
    if (fills == 1) {
      RunSoon([this] {
        // Re-sort the library list: row 0 is now D.TLB, not A.TLB.
        NotifyHeader(list(), HDN_ITEMCLICKA, 1);
        Click(contents(), app_->contents_window().refresh_button());
      });
    } else {
      RunSoon([this] {
        HWND classes = app_->contents_window().list(ContentsList::kObjectClasses);
        NotifyHeader(classes, HDN_ITEMCLICKA, 0);  // IA, IB, IC
        lv::SetItemState(classes, 0, kStateImageChecked, kStateImageMask);
        // A re-scan with other libraries changes nothing either.
        ScanWith({{"Z.TLB", "zed", "c:\\z.tlb", "{Z}"}});
        Click(contents(), app_->contents_window().generate_button());
        PostMessageA(contents(), WM_CLOSE, 0, 0);
      });
    }
  };
  app_->OpenRow(0);
  ASSERT_EQ(services_.opened.size(), 2u);
  EXPECT_EQ(services_.opened[1].path, "c:\\libs\\a.tlb");
  ASSERT_EQ(services_.generated.size(), 1u);
  EXPECT_EQ(services_.generated[0].library.path, "c:\\libs\\a.tlb");
  EXPECT_EQ(services_.generated[0].library.file, "A.TLB");
  EXPECT_TRUE(services_.generated[0].use_invoke);
  EXPECT_TRUE(services_.generated[0].include_generics);
  EXPECT_EQ(services_.generated[0].owner_window,
            reinterpret_cast<uintptr_t>(app_->main_window().hwnd()));
  // The checked display row 0 is IA, added second: hidden row 1.
  EXPECT_THAT(services_.generated_hidden_rows, ElementsAre(1));
}

TEST_F(OpenTest, GenerateReadsBothOptions) {
  services_.after_fill = [this] {
    RunSoon([this] {
      SetChecked(app_->contents_window().use_invoke_option(), false);
      SetChecked(app_->contents_window().generics_option(), false);
      Click(contents(), app_->contents_window().generate_button());
      PostMessageA(contents(), WM_CLOSE, 0, 0);
    });
  };
  app_->OpenRow(2);
  ASSERT_EQ(services_.generated.size(), 1u);
  EXPECT_FALSE(services_.generated[0].use_invoke);
  EXPECT_FALSE(services_.generated[0].include_generics);
}

// The note of a row as the list view's info tip asks for it.
std::string InfoTip(HWND window, HWND list, int row) {
  char text[128] = "item text";
  NMLVGETINFOTIPA tip = {};
  tip.hdr.hwndFrom = list;
  tip.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
  tip.hdr.code = LVN_GETINFOTIPA;
  tip.pszText = text;
  tip.cchTextMax = sizeof(text);
  tip.iItem = row;
  SendMessageA(window, WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
  return text;
}

TEST_F(OpenTest, CheckWhatTheseNeedNotesWhyAndLoadingASelectionSetsTheOptions) {
  services_.class_rows = {{"IB", "ClassB", "", "0"}, {"IA", "ClassA", "", "1"}};
  services_.needed = {{{ContentsList::kObjectClasses, 1, "interface IA", "IB.Go"}}, {}};
  services_.loaded = {true, false, false};
  std::string status, noted, other, cleared;
  services_.after_fill = [&] {
    RunSoon([&] {
      ContentsWindow& window = app_->contents_window();
      HWND classes = window.list(ContentsList::kObjectClasses);
      NotifyHeader(classes, HDN_ITEMCLICKA, 0);  // IA (hidden 1) is row 0 now
      Click(contents(), window.check_needed_button());
      status = WindowText(window.status_text());
      noted = InfoTip(contents(), classes, 0);
      other = InfoTip(contents(), classes, 1);
      Click(contents(), window.save_selection_button());
      Click(contents(), window.load_selection_button());
      cleared = InfoTip(contents(), classes, 0) + WindowText(window.status_text());
      PostMessageA(contents(), WM_CLOSE, 0, 0);
    });
  };
  app_->OpenRow(0);
  EXPECT_EQ(status, "Checked 1 more row; point at one to see what needs it.");
  EXPECT_EQ(noted, "needed by IB.Go");
  EXPECT_EQ(other, "item text");  // a row the check did not add keeps its text
  EXPECT_EQ(cleared, "item text");
  ASSERT_EQ(services_.selection_requests.size(), 3u);
  EXPECT_EQ(services_.selection_requests[1].library.path, "c:\\libs\\a.tlb");
  EXPECT_FALSE(IsChecked(app_->contents_window().use_invoke_option()));
  EXPECT_FALSE(IsChecked(app_->contents_window().generics_option()));
}

TEST_F(OpenTest, ClosingContentsEndsProcessOnlyWithCommandLineFlag) {
  CloseContentsWhenFilled();
  app_->OpenRow(0);
  EXPECT_TRUE(desktop_.exit_codes.empty());
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\a.tlb");
  app_->OnOpenAtStartUp();
  EXPECT_THAT(desktop_.exit_codes, ElementsAre(0));
  EXPECT_EQ(app_->current_row(), -1);
}

TEST_F(OpenTest, FailedStartUpOpeningDoesNotArmTheFlag) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\a.tlb");
  ASSERT_TRUE(app_->command_line_flag());
  services_.open_outcome = [](const LibraryEntry&) { return OpenOutcome::kOpenFailed; };
  app_->OnOpenAtStartUp();
  EXPECT_EQ(app_->current_row(), -1);
  EXPECT_FALSE(app_->command_line_flag());
  services_.open_outcome = nullptr;
  CloseContentsWhenFilled();
  app_->OpenRow(1);
  EXPECT_TRUE(desktop_.exit_codes.empty());
}

TEST_F(OpenTest, ClosingMainWindowEndsTheProcess) {
  SendMessageA(app_->main_window().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_THAT(desktop_.exit_codes, ElementsAre(0));
  EXPECT_TRUE(IsWindow(app_->main_window().hwnd()));
}

TEST_F(OpenTest, ShowingMainWindowOpensTheStartUpRowOnce) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\c.tlb");
  CloseContentsWhenFilled();
  app_->ShowMainWindow();
  PumpPendingMessages();
  ASSERT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(services_.opened[0].file, "C.TLB");
  ShowWindow(app_->main_window().hwnd(), SW_HIDE);
  ShowWindow(app_->main_window().hwnd(), SW_SHOW);
  PumpPendingMessages();
  EXPECT_EQ(services_.opened.size(), 1u);
  ShowWindow(app_->main_window().hwnd(), SW_HIDE);
}

TEST_F(OpenTest, EnterWithNoFocusedRowOpensNothing) {
  app_->ApplyCommandLine("velbrook.exe c:\\libs\\b.tlb");
  ASSERT_EQ(app_->current_row(), 1);
  lv::SetItemState(list(), -1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  ASSERT_EQ(lv::FocusedRow(list()), -1);
  SendMessageA(list(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(app_->current_row(), -1);
  EXPECT_TRUE(services_.opened.empty());
}

TEST_F(OpenTest, FailedOpeningLeavesTheCurrentRowOnIt) {
  services_.open_outcome = [](const LibraryEntry&) { return OpenOutcome::kOpenFailed; };
  SendMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, RowCentre(list(), 2));
  EXPECT_EQ(app_->current_row(), 2);
  EXPECT_EQ(desktop_.messages.size(), 1u);
  EXPECT_FALSE(IsWindowVisible(contents()));
}

TEST_F(OpenTest, ClosingMainWindowWhileALibraryIsShownEndsTheProcess) {
  bool shown_at_close = false;
  services_.after_fill = [this, &shown_at_close] {
    RunSoon([this, &shown_at_close] {
      shown_at_close = IsWindowVisible(contents()) != FALSE;
      SendMessageA(app_->main_window().hwnd(), WM_CLOSE, 0, 0);
      // The fake desktop records the exit instead of ending the test.
      PostMessageA(contents(), WM_CLOSE, 0, 0);
    });
  };
  app_->OpenRow(0);
  EXPECT_TRUE(shown_at_close);
  EXPECT_THAT(desktop_.exit_codes, ElementsAre(0));
}

TEST_F(OpenTest, AnotherLibraryOpensInTheSameWindowWhileOneIsShown) {
  std::vector<std::string> captions;
  services_.after_fill = [this, &captions] {
    captions.push_back(WindowText(contents()));
    if (captions.size() == 1) {
      RunSoon([this] { SendMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, RowCentre(list(), 1)); });
    } else {
      RunSoon([this] { PostMessageA(contents(), WM_CLOSE, 0, 0); });
    }
  };
  app_->OpenRow(0);
  ASSERT_EQ(services_.opened.size(), 2u);
  EXPECT_EQ(services_.opened[0].file, "A.TLB");
  EXPECT_EQ(services_.opened[1].file, "B.TLB");
  EXPECT_THAT(captions, ElementsAre("Delta library (A.TLB)", "Beta library (B.TLB)"));
  EXPECT_EQ(WindowText(contents()), "Beta library (B.TLB)");
  EXPECT_EQ(app_->current_row(), 1);
  // The window is still the one built at start-up.
  EXPECT_EQ(contents(), app_->contents_window().hwnd());
}

TEST_F(OpenTest, FocusReturnsToTheMainWindowWhenTheLibraryIsHidden) {
  CloseContentsWhenFilled();
  SetFocus(list());
  app_->OpenRow(1);
  EXPECT_EQ(GetFocus(), app_->main_window().hwnd());
}

class SearchTest : public OpenTest {
 protected:
  void Answer(const std::string& typed) {
    PromptBox& prompt = app_->prompt_box();
    ASSERT_TRUE(prompt.EnsureCreated());
    for (char c : typed) {
      PostMessageA(prompt.edit(), WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    PostMessageA(prompt.edit(), WM_KEYDOWN, VK_RETURN, 0);
  }
};

TEST_F(SearchTest, SelectsEveryMatchingLibrary) {
  services_.matching_paths = {"c:\\libs\\b.tlb", "C:\\Libs\\D.tlb"};
  lv::SelectRow(list(), 0);
  Answer(" Work_Book ");
  Click(app_->main_window().hwnd(), app_->main_window().search_button());
  EXPECT_EQ(services_.last_key, "workbook");
  EXPECT_EQ(services_.searched_paths.size(), 4u);
  EXPECT_EQ(lv::ItemState(list(), 0, LVIS_SELECTED), 0u);
  EXPECT_EQ(lv::ItemState(list(), 1, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(lv::ItemState(list(), 3, LVIS_SELECTED), UINT{LVIS_SELECTED});
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Found  Work_Book  in 2 libraries.");
  EXPECT_EQ(WindowText(app_->main_window().hwnd()), "Velbrook");
}

TEST_F(SearchTest, NothingFound) {
  Answer("Nothing");
  app_->OnSearch();
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "I could not find Nothing");
}

TEST_F(SearchTest, BlankKeyEndsSilently) {
  Answer("  ");
  app_->OnSearch();
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_TRUE(services_.searched_paths.empty());
}

TEST_F(SearchTest, AbortStopsTheSearchWithoutMessage) {
  services_.matching_paths = {"c:\\libs\\a.tlb", "c:\\libs\\b.tlb"};
  services_.on_search = [this] {
    if (services_.searched_paths.size() == 1) {
      RunSoon([this] { app_->OnAbort(); });
    }
  };
  Answer("x");
  app_->OnSearch();
  EXPECT_EQ(services_.searched_paths.size(), 1u);
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_EQ(lv::ItemState(list(), 0, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(WindowText(app_->main_window().hwnd()), "Searching... 1 / 4  - found: 1");
}

TEST_F(SearchTest, StartingClearsTheRequestAndEnablesAbort) {
  MainWindow& main = app_->main_window();
  Click(main.hwnd(), main.abort_button());
  ASSERT_FALSE(IsWindowEnabled(main.abort_button()));
  bool enabled_while_searching = false;
  services_.on_search = [&] {
    enabled_while_searching = IsWindowEnabled(main.abort_button()) != FALSE;
  };
  Answer("x");
  app_->OnSearch();
  EXPECT_TRUE(enabled_while_searching);
  EXPECT_FALSE(app_->abort_requested());
  EXPECT_EQ(services_.searched_paths.size(), 4u);
  EXPECT_TRUE(IsWindowEnabled(main.abort_button()));
}

TEST_F(SearchTest, CaptionCountsRowsBeforeAnythingIsFound) {
  services_.matching_paths = {"C:\\Libs\\D.tlb"};
  std::vector<std::string> captions;
  services_.on_search = [&] { captions.push_back(WindowText(app_->main_window().hwnd())); };
  Answer("x");
  app_->OnSearch();
  // Each call sees the caption the previous row left.
  EXPECT_THAT(captions, ElementsAre("Velbrook", "Searching... 1 / 4", "Searching... 2 / 4",
                                    "Searching... 3 / 4"));
  EXPECT_EQ(WindowText(app_->main_window().hwnd()), "Velbrook");
}

TEST_F(SearchTest, FoundAndAbortedSearchesGiveTheListTheFocus) {
  services_.matching_paths = {"c:\\libs\\b.tlb"};
  Answer("x");
  SetFocus(app_->main_window().search_button());
  app_->OnSearch();
  EXPECT_EQ(GetFocus(), list());
  services_.on_search = [this] {
    if (services_.searched_paths.size() == 1) RunSoon([this] { app_->OnAbort(); });
  };
  Answer("y");
  SetFocus(app_->main_window().search_button());
  app_->OnSearch();
  EXPECT_EQ(GetFocus(), list());
}

TEST_F(SearchTest, GuidSearchOfATextThatIsNoGuidSaysWhyAndSearchesNothing) {
  ASSERT_TRUE(app_->prompt_box().EnsureCreated());
  PostMessageA(app_->prompt_box().choice_list(), CB_SETCURSEL, 2, 0);  // "GUID"
  Answer("{not-a-guid}");
  app_->OnSearch();
  EXPECT_TRUE(services_.searched_paths.empty());
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_THAT(desktop_.messages[0].text, ::testing::HasSubstr("not a GUID"));
  EXPECT_FALSE(IsWindowVisible(app_->results_window().hwnd()));
}

class HelpTest : public AppTest {};

TEST_F(HelpTest, OpensManualOnlyWhenItExists) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "velbrook_help_test";
  CreateDirectoryA(base.c_str(), nullptr);
  CreateDirectoryA((base + "\\manual").c_str(), nullptr);
  std::string page = base + "\\manual\\index.htm";
  DeleteFileA(page.c_str());
  RemoveDirectoryA(page.c_str());
  Rebuild(base, {1024, 768});
  MainWindow& main = app_->main_window();
  Click(main.hwnd(), main.help_button());
  EXPECT_TRUE(desktop_.documents.empty());
  CreateDirectoryA(page.c_str(), nullptr);  // a directory does not count
  Click(main.hwnd(), main.help_button());
  EXPECT_TRUE(desktop_.documents.empty());
  RemoveDirectoryA(page.c_str());
  HANDLE file = CreateFileA(page.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  Click(app_->contents_window().hwnd(), app_->contents_window().help_button());
  EXPECT_THAT(desktop_.documents, ElementsAre(page));
  DeleteFileA(page.c_str());
}

}  // namespace
}  // namespace velbrook::app::testing
