// Opening library files that need not be registered, through the real
// windows and the real reader: files dropped on the main window (a drop
// built as the shell builds one) and a file named on the command line.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/model/messages.h"
#include "app/win/controls.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app_fakes.h"
#include "com_scope.h"
#include "drop_files.h"
#include "sltg_writer.h"
#include "typeinfo/oleaut/oleaut_opener.h"

namespace velbrook::app::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kShapesCaption[] = "Velbrook example: shapes with events (SHAPES.TLB)";

// A fixture's path as the program sees it: Wine's Z: drive.
std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class FileOpenTest : public AppTest {
 protected:
  void SetUp() override {
    InitializeCom();
    reader_ = &oleaut_;
    AppTest::SetUp();
    ScanWith(SampleLibraries());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "velbrook_file_open_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    shapes_ = WindowsPath(VELBROOK_IDL_FIXTURE_SHAPES);
    const std::vector<uint8_t> shapes = ReadBytes(VELBROOK_IDL_FIXTURE_SHAPES);
    const std::vector<uint8_t> types = ReadBytes(VELBROOK_IDL_FIXTURE_TYPES);
    ASSERT_FALSE(shapes.empty());
    two_ = dir_ + "\\two.dll";
    WriteBytes(two_, typeinfo::msft::sltg_testing::WrapInPe({{1, shapes}, {2, types}}));
    text_ = dir_ + "\\notes.txt";
    WriteBytes(text_, {'n', 'o', 't', 'e', 's', '\n'});
  }
  void TearDown() override {
    DeleteFileA(two_.c_str());
    DeleteFileA(text_.c_str());
    RemoveDirectoryA(dir_.c_str());
    AppTest::TearDown();
    UninitializeCom();
  }
  void Drop(const std::vector<std::string>& paths) {
    HDROP drop = MakeDrop(paths);
    ASSERT_NE(drop, nullptr);
    SendMessageA(app_->main_window().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  }
  HWND list() { return app_->main_window().library_list(); }
  std::string Status() { return WindowText(app_->main_window().status_text()); }

  typeinfo::oleaut::OleautOpener oleaut_;
  std::string dir_;
  std::string shapes_;
  std::string two_;
  std::string text_;
};

TEST_F(FileOpenTest, DropOpensTheFirstFileAndSaysHowManyWereIgnored) {
  CloseContentsWhenFilled();
  Drop({shapes_, text_, two_});
  ASSERT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(services_.opened[0].path, shapes_);
  EXPECT_EQ(services_.opened[0].clsid, "{B2ABFF04-1B1B-4128-A4F6-F4CE4E231C20}");
  EXPECT_EQ(WindowText(app_->contents_window().hwnd()), kShapesCaption);
  EXPECT_EQ(Status(), "Only the first dropped file was opened; 2 others were ignored.");
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_EQ(lv::RowCount(list()), 4);
}

TEST_F(FileOpenTest, DroppedModuleWithTwoLibrariesListsThemSelected) {
  Drop({two_});
  Drop({two_});  // a second drop adds no rows again
  EXPECT_TRUE(services_.opened.empty());
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_THAT(ColumnTexts(list(), 0),
              ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB", "TWO.DLL\\1", "TWO.DLL\\2"));
  EXPECT_EQ(lv::CellText(list(), 4, 1), "Velbrook example: shapes with events");
  EXPECT_EQ(lv::CellText(list(), 5, 1), "Velbrook fixture: parameter and constant variety");
  EXPECT_EQ(lv::CellText(list(), 5, 2), two_ + "\\2");
  EXPECT_THAT(app_->library_list().SelectedRows(), ElementsAre(4u, 5u));
  EXPECT_EQ(lv::SelectedCount(list()), 2);
  EXPECT_EQ(Status(), "TWO.DLL holds 2 type libraries: pick one in the list and open it.");
  // A listed resource opens as any row does.
  CloseContentsWhenFilled();
  ASSERT_TRUE(app_->OpenRow(5));
  EXPECT_EQ(services_.opened.back().path, two_ + "\\2");
}

TEST_F(FileOpenTest, DroppedFileThatIsNoLibraryIsToldAndChangesNothing) {
  CloseContentsWhenFilled();
  ASSERT_TRUE(app_->OpenRow(0));
  Drop({text_});
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_THAT(desktop_.messages[0].text, HasSubstr(kFileNotOpenedPrefix));
  EXPECT_THAT(desktop_.messages[0].text, HasSubstr("notes.txt"));
  EXPECT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(lv::RowCount(list()), 4);
  EXPECT_EQ(app_->shown_library()->path, "c:\\libs\\a.tlb");
  EXPECT_EQ(lv::CellText(app_->contents_window().list(ContentsList::kTypes), 0, 0), "A.TLB record");
}

TEST_F(FileOpenTest, UnregisteredFileOnTheCommandLineOpensOnceShown) {
  app_->ApplyCommandLine("velbrook.exe " + shapes_ + " noinvoke");
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_TRUE(app_->command_line_flag());
  EXPECT_FALSE(IsChecked(app_->contents_window().use_invoke_option()));
  CloseContentsWhenFilled();
  app_->ShowMainWindow();
  PumpPendingMessages();
  ASSERT_EQ(services_.opened.size(), 1u);
  EXPECT_EQ(services_.opened[0].path, shapes_);
  EXPECT_EQ(WindowText(app_->contents_window().hwnd()), kShapesCaption);
  // Closing the command line's library ends the program, as for a row.
  EXPECT_THAT(desktop_.exit_codes, ElementsAre(0));
  ShowWindow(app_->main_window().hwnd(), SW_HIDE);
}

}  // namespace
}  // namespace velbrook::app::testing
