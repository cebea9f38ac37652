// The real services behind the real windows: a scan of an in-memory registry
// listing our fixture libraries, opening them into the contents lists (which
// must read as the command line's show prints them) and generation through
// the Generate button (which must write what the generator writes).
#include "app/win/real_services.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/model/list_rules.h"
#include "app/win/app.h"
#include "app/win/base_window.h"
#include "app/win/column_list_view.h"
#include "app/win/controls.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app_fakes.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/registry_functions.h"
#include "catalogue/win32_host.h"
#include "cli/show_command.h"
#include "com_scope.h"
#include "generate/contents_list.h"
#include "generate/generator.h"
#include "generate/generic_block_hook.h"
#include "generate/row_maps.h"
#include "memory_registry.h"
#include "typeinfo/library_contents.h"
#include "typeinfo/oleaut/oleaut_opener.h"

namespace velbrook::app::testing {
namespace {

using ::testing::HasSubstr;

constexpr char kDate[] = "01/02/2003";

// The fixture paths as the registry would hold them: Wine's Z: drive.
std::string WindowsPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::vector<std::string> FixturePaths() {
  std::vector<std::string> paths;
  std::stringstream list(VELBROOK_IDL_FIXTURES);
  std::string item;
  while (std::getline(list, item, '|')) {
    if (!item.empty()) paths.push_back(WindowsPath(item));
  }
  return paths;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TemporaryPath(const std::string& name) {
  char directory[MAX_PATH] = {};
  GetTempPathA(sizeof(directory), directory);
  return std::string(directory) + "velbrook-app-" + std::to_string(GetCurrentProcessId()) + "-" +
         name;
}

class ScriptedSaveDialog : public SaveDialog {
 public:
  std::optional<std::string> AskIncludePath(HWND owner, const std::string& default_name) override {
    owners.push_back(owner);
    default_names.push_back(default_name);
    return answer;
  }
  std::optional<std::string> AskSelectionPath(HWND owner, const std::string& default_name,
                                              bool save) override {
    owners.push_back(owner);
    default_names.push_back(save ? default_name : "(open)");
    return selection_answer;
  }
  std::optional<std::string> answer;
  std::optional<std::string> selection_answer;
  std::vector<HWND> owners;
  std::vector<std::string> default_names;
};

void Click(HWND window, HWND button) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void SetRowChecked(HWND list, int row, bool checked) {
  lv::SetItemState(list, row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

class RealServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeCom();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(BaseWindow::RegisterWindowClass(instance));
    paths_ = FixturePaths();
    ASSERT_FALSE(paths_.empty());
    int number = 0;
    for (const std::string& path : paths_) {
      const std::string key =
          "TypeLib\\{00000000-0000-0000-0000-00000000000" + std::to_string(number++) + "}\\1.0";
      registry_.SetValue(key, "", "Fixture " + catalogue::FileColumnOf(path));
      registry_.SetValue(key + "\\0\\win32", "", path);
      RegisterProgIds(path);
    }
    // A version whose file is missing is left out of the list.
    registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000FF}\\1.0", "", "Missing");
    registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000FF}\\1.0\\0\\win32", "",
                       "Z:\\no\\such\\file.tlb");

    RealServicesSeams seams;
    seams.registry = &registry_;
    seams.file_system = &file_system_;
    seams.environment = &environment_;
    seams.desktop = &desktop_;
    seams.save_dialog = &dialog_;
    seams.date_text = [] { return std::string(kDate); };
    // Stands in for Sysnative: "N:\\FILE" is FILE's fixture to a 64-bit program.
    seams.native_path = [this](const std::string& path) {
      return path.rfind("N:\\", 0) == 0 ? FixtureNamed(path.substr(3)) : path;
    };
    services_ = std::make_unique<RealServices>(seams);

    AppContext context;
    context.instance = instance;
    context.services = services_.get();
    context.desktop = &desktop_;
    context.component = &component_;
    context.screen = {1024, 768};
    context.start_directory = "C:\\nowhere";
    app_ = std::make_unique<App>(context);
    ASSERT_TRUE(app_->BuildWindows());
    app_->OnScan();
  }

  void TearDown() override {
    app_.reset();
    PumpPendingMessages();
    for (const std::string& path : written_) DeleteFileA(path.c_str());
    UninitializeCom();
  }

  // Every coclass of the fixture gets a ProgID, so that column is filled.
  void RegisterProgIds(const std::string& path) {
    auto library = component_.OpenLibraryFile(path);
    ASSERT_TRUE(library.ok()) << path;
    const typeinfo::TypeList* classes = library.value()->ObjectClasses();
    for (uint32_t i = 1; i <= typeinfo::WalkCount(classes); ++i) {
      const typeinfo::Type* coclass = classes->Item(i);
      if (coclass == nullptr) continue;
      registry_.SetValue("CLSID\\" + coclass->GuidText() + "\\ProgID", "",
                         "Fixture." + coclass->Name() + ".1");
    }
  }

  // The library list row of a fixture, or -1.
  int RowOf(const std::string& path) {
    HWND list = app_->main_window().library_list();
    for (int row = 0; row < lv::RowCount(list); ++row) {
      if (lv::CellText(list, row, MainWindow::kPathColumn) == path) return row;
    }
    return -1;
  }

  // Opens the row; the contents window closes itself once shown, so the
  // opening's wait returns with the lists still filled.
  bool Open(int row) {
    PostMessageA(app_->contents_window().hwnd(), WM_CLOSE, 0, 0);
    return app_->OpenRow(row);
  }

  // The contents window's lists as their list views show them.
  HWND List(ContentsList which) { return app_->contents_window().list(which); }
  int Rows(ContentsList which) { return lv::RowCount(List(which)); }
  std::string Cell(ContentsList which, int row, int column) {
    return lv::CellText(List(which), row, column);
  }
  bool Checked(ContentsList which, int row) { return lv::IsRowChecked(List(which), row) == 1; }
  void Sort(ContentsList which, int column) {
    app_->contents_window().list_behaviour(which).SortByColumn(column);
  }

  // The four lists in the command line's show format.
  std::string ShownText() {
    auto line = [&](ContentsList which, int row, int columns) {
      std::string text;
      for (int column = 0; column < columns; ++column) {
        if (column != 0) text += "\t";
        text += Cell(which, row, column);
      }
      return text + "\n";
    };
    std::string text = "# Object classes list\nInterfaces\tObject classes\tProgIDs\tHidden\n";
    for (int row = 0; row < Rows(ContentsList::kObjectClasses); ++row) {
      text += line(ContentsList::kObjectClasses, row, 4);
    }
    text += "\n# Event interfaces list\nEvent Interfaces\tfor Objects\t\tHidden\n";
    for (int row = 0; row < Rows(ContentsList::kEventInterfaces); ++row) {
      text += line(ContentsList::kEventInterfaces, row, 4);
    }
    text += "\n# Types list\nTypes\n";
    for (int row = 0; row < Rows(ContentsList::kTypes); ++row) {
      text += line(ContentsList::kTypes, row, 1);
    }
    text += "\n# Enumerations list\nConstant Enumerations\n";
    for (int row = 0; row < Rows(ContentsList::kEnumerations); ++row) {
      text += line(ContentsList::kEnumerations, row, 1);
    }
    return text;
  }

  typeinfo::ProgIdLookup ProgIds() {
    return [this](const std::string& guid) {
      return catalogue::ReadKeyValue(registry_, "CLSID\\" + guid + "\\ProgID");
    };
  }

  typeinfo::LibraryContents ExpectedContents(const std::string& path) {
    auto library = component_.OpenLibraryFile(path);
    EXPECT_TRUE(library.ok());
    return typeinfo::BuildLibraryContents(*library.value(), ProgIds());
  }

  // The generator's output for the lists in the window's display order and
  // check marks, with the rows' cells taken from the contents model.
  std::string ExpectedInclude(const std::string& library_path, const std::string& output_path,
                              bool use_invoke, bool include_generics) {
    auto library = component_.OpenLibraryFile(library_path);
    EXPECT_TRUE(library.ok());
    const typeinfo::LibraryContents contents =
        typeinfo::BuildLibraryContents(*library.value(), ProgIds());
    generate::VectorContentsLists model = generate::MakeContentsLists(contents);
    generate::VectorContentsLists lists;
    // Rows as the list views show them, mapped through their Hidden cells.
    auto reorder = [&](ContentsList which, const generate::VectorContentsList& from,
                       generate::VectorContentsList* to, bool sortable) {
      for (int row = 0; row < Rows(which); ++row) {
        size_t hidden = static_cast<size_t>(row);
        if (sortable) hidden = std::stoul(Cell(which, row, 3));
        const generate::VectorContentsList::Row& source = from.rows().at(hidden);
        to->AddRow(source.cells, source.hidden, Checked(which, row));
      }
    };
    reorder(ContentsList::kObjectClasses, model.classes, &lists.classes, true);
    reorder(ContentsList::kEventInterfaces, model.events, &lists.events, true);
    reorder(ContentsList::kTypes, model.types, &lists.types, false);
    reorder(ContentsList::kEnumerations, model.enumerations, &lists.enumerations, false);
    const generate::RowMaps maps = generate::RowMaps::FromContents(contents);
    generate::GenerationInputs inputs;
    inputs.library = library.value().get();
    inputs.classes = &lists.classes;
    inputs.events = &lists.events;
    inputs.types = &lists.types;
    inputs.enumerations = &lists.enumerations;
    inputs.row_maps = &maps;
    inputs.library_path = library_path;
    inputs.output_path = output_path;
    inputs.date_text = [] { return std::string(kDate); };
    inputs.use_invoke = [use_invoke] { return use_invoke; };
    inputs.include_generics = [include_generics] { return include_generics; };
    inputs.prog_id = ProgIds();
    inputs.generic_block = generate::LinkedGenericBlock();
    Result<std::string> text = generate::GenerateIncludeText(inputs);
    return text.ok() ? std::move(text).value() : text.error().message;
  }

  std::string Output(const std::string& name) {
    std::string path = TemporaryPath(name);
    DeleteFileA(path.c_str());
    written_.push_back(path);
    return path;
  }

  std::string FixtureNamed(const std::string& file) {
    for (const std::string& path : paths_) {
      if (catalogue::FileColumnOf(path) == file) return path;
    }
    ADD_FAILURE() << "no fixture " << file;
    return std::string();
  }

  MemoryRegistry registry_;
  catalogue::Win32FileSystem file_system_;
  catalogue::Win32Environment environment_;
  FakeDesktop desktop_;
  ScriptedSaveDialog dialog_;
  typeinfo::oleaut::OleautOpener component_;
  std::unique_ptr<RealServices> services_;
  std::unique_ptr<App> app_;
  std::vector<std::string> paths_;
  std::vector<std::string> written_;
};

TEST_F(RealServicesTest, ScanListsEveryFixtureSortedAndSkipsMissingFiles) {
  HWND list = app_->main_window().library_list();
  ASSERT_EQ(lv::RowCount(list), static_cast<int>(paths_.size()));
  std::string previous;
  for (int row = 0; row < lv::RowCount(list); ++row) {
    std::string file = lv::CellText(list, row, MainWindow::kFileColumn);
    EXPECT_LE(previous, file);
    previous = file;
    std::string path = lv::CellText(list, row, MainWindow::kPathColumn);
    EXPECT_EQ(file, catalogue::FileColumnOf(path));
    EXPECT_EQ(lv::CellText(list, row, MainWindow::kDescriptionColumn), "Fixture " + file);
    EXPECT_EQ(lv::CellText(list, row, MainWindow::kClsidColumn).substr(0, 9), "{00000000");
  }
  EXPECT_EQ(RowOf("Z:\\no\\such\\file.tlb"), -1);
  EXPECT_EQ(WindowText(app_->main_window().count_text()), std::to_string(paths_.size()));
}

TEST_F(RealServicesTest, NoTypeLibKeyLeavesTheListEmpty) {
  MemoryRegistry empty;
  RealServicesSeams seams;
  seams.registry = &empty;
  seams.file_system = &file_system_;
  seams.environment = &environment_;
  RealServices services(seams);
  class Sink : public ScanSink {
   public:
    bool PollAbort() override { return false; }
    bool IncludeFilesNotFound() const override { return false; }
    bool BothBitnesses() const override { return false; }
    void AddLibrary(const LibraryEntry&) override { ++added; }
    void SetStatusText(const std::string&) override {}
    int added = 0;
  } sink;
  EXPECT_EQ(services.ScanLibraries(sink), ScanOutcome::kNoTypeLibKey);
  EXPECT_EQ(sink.added, 0);
}

TEST_F(RealServicesTest, OpeningFillsTheListsAsShowPrintsThem) {
  for (const std::string& path : paths_) {
    SCOPED_TRACE(path);
    int row = RowOf(path);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(Open(row));
    EXPECT_TRUE(desktop_.messages.empty());
    EXPECT_EQ(ShownText(), cli::ShowText(ExpectedContents(path)));
    // Every row starts unchecked.
    for (int i = 0; i < kContentsListCount; ++i) {
      auto which = static_cast<ContentsList>(i);
      for (int r = 0; r < Rows(which); ++r) {
        EXPECT_FALSE(Checked(which, r));
      }
    }
  }
}

TEST_F(RealServicesTest, ShapesHasRowsInEveryListItShows) {
  ASSERT_TRUE(Open(RowOf(FixtureNamed("SHAPES.TLB"))));
  EXPECT_GT(Rows(ContentsList::kObjectClasses), 0);
  EXPECT_THAT(Cell(ContentsList::kObjectClasses, 0, 2), HasSubstr("Fixture."));
}

TEST_F(RealServicesTest, MissingFileAndUnreadableFileGiveTheirMessages) {
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000EE}\\1.0", "", "Not a library");
  // This test program itself exists but holds no type library.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof(self));
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000EE}\\1.0\\0\\win32", "", self);
  SetChecked(app_->main_window().files_option(), true);
  app_->OnScan();
  int missing = RowOf("Z:\\no\\such\\file.tlb");
  int unreadable = RowOf(self);
  ASSERT_GE(missing, 0);
  ASSERT_GE(unreadable, 0);
  EXPECT_FALSE(Open(missing));
  EXPECT_FALSE(Open(unreadable));
  PumpPendingMessages();
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[0].text, "Sorry, I can't find file: \r\nZ:\\no\\such\\file.tlb");
  EXPECT_THAT(desktop_.messages[1].text, HasSubstr("Sorry, I can't access the information"));
}

TEST_F(RealServicesTest, Win64RowIsOpenedWhereA64BitProgramFindsItsFile) {
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000DD}\\1.0", "", "Native");
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000DD}\\1.0\\0\\win64", "",
                     "N:\\SHAPES.TLB");
  SetChecked(app_->main_window().files_option(), true);
  SetChecked(app_->main_window().bits_option(), true);
  app_->OnScan();
  int row = RowOf("N:\\SHAPES.TLB");
  ASSERT_GE(row, 0);
  ASSERT_TRUE(Open(row));
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_EQ(ShownText(), cli::ShowText(ExpectedContents(FixtureNamed("SHAPES.TLB"))));
}

TEST_F(RealServicesTest, ScanShowsEachKeyInTheStatusText) {
  class Sink : public ScanSink {
   public:
    bool PollAbort() override { return false; }
    bool IncludeFilesNotFound() const override { return false; }
    bool BothBitnesses() const override { return false; }
    void AddLibrary(const LibraryEntry&) override {}
    void SetStatusText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
  } sink;
  ASSERT_EQ(services_->ScanLibraries(sink), ScanOutcome::kCompleted);
  // One text per key (the fixtures and the missing one), then the empty one.
  ASSERT_EQ(sink.texts.size(), paths_.size() + 2);
  EXPECT_EQ(sink.texts.front(),
            "Searching HKEY_CLASSES_ROOT \\TypeLib: {00000000-0000-0000-0000-000000000000}");
  EXPECT_EQ(sink.texts[paths_.size()],
            "Searching HKEY_CLASSES_ROOT \\TypeLib: {00000000-0000-0000-0000-0000000000FF}");
  EXPECT_EQ(sink.texts.back(), "");
}

TEST_F(RealServicesTest, DirectoryRegisteredAsALibraryIsNotFound) {
  const std::string directory = TemporaryPath("velbrook_library_dir");
  CreateDirectoryA(directory.c_str(), nullptr);
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000DD}\\1.0", "", "A directory");
  registry_.SetValue("TypeLib\\{00000000-0000-0000-0000-0000000000DD}\\1.0\\0\\win32", "",
                     directory);
  app_->OnScan();
  EXPECT_EQ(RowOf(directory), -1);  // only listed with the option checked
  SetChecked(app_->main_window().files_option(), true);
  app_->OnScan();
  int row = RowOf(directory);
  ASSERT_GE(row, 0);
  EXPECT_FALSE(Open(row));
  PumpPendingMessages();
  RemoveDirectoryA(directory.c_str());
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Sorry, I can't find file: \r\n" + directory);
}

TEST_F(RealServicesTest, RefreshRereadsTheLibraryAndClearsCheckMarks) {
  ASSERT_TRUE(Open(RowOf(FixtureNamed("SHAPES.TLB"))));
  ContentsWindow& contents = app_->contents_window();
  const std::string shown = ShownText();
  int rows = 0;
  for (int i = 0; i < kContentsListCount; ++i) {
    auto which = static_cast<ContentsList>(i);
    Click(contents.hwnd(), contents.toggle_button(which));
    for (int r = 0; r < Rows(which); ++r, ++rows) {
      ASSERT_TRUE(Checked(which, r));
    }
  }
  ASSERT_GT(rows, 0);
  Sort(ContentsList::kObjectClasses, 1);  // refilled unsorted
  PostMessageA(contents.hwnd(), WM_CLOSE, 0, 0);
  Click(contents.hwnd(), contents.refresh_button());
  EXPECT_EQ(ShownText(), shown);
  for (int i = 0; i < kContentsListCount; ++i) {
    auto which = static_cast<ContentsList>(i);
    for (int r = 0; r < Rows(which); ++r) {
      EXPECT_FALSE(Checked(which, r)) << "list " << i << " row " << r;
    }
  }
}

TEST_F(RealServicesTest, GenerateWithEveryRowToggledOnMatchesTheGenerator) {
  for (const std::string& path : paths_) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(Open(RowOf(path)));
    ContentsWindow& contents = app_->contents_window();
    for (int i = 0; i < kContentsListCount; ++i) {
      Click(contents.hwnd(), contents.toggle_button(static_cast<ContentsList>(i)));
    }
    const std::string output = Output(catalogue::FileColumnOf(path) + ".inc");
    dialog_.answer = output;
    Click(contents.hwnd(), contents.generate_button());
    ASSERT_TRUE(FileExists(output));
    EXPECT_EQ(ReadFileBytes(output), ExpectedInclude(path, output, /*use_invoke=*/true,
                                                     /*include_generics=*/true));
    EXPECT_EQ(dialog_.owners.back(), app_->main_window().hwnd());
    EXPECT_EQ(dialog_.default_names.back(),
              generate::DefaultIncludeFileName(catalogue::FileColumnOf(path)));
  }
}

TEST_F(RealServicesTest, GenerateFollowsSortedRowsCheckMarksAndOptions) {
  for (const std::string& path : paths_) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(Open(RowOf(path)));
    ContentsWindow& contents = app_->contents_window();
    // Sorted by object class, descending order of adding is lost: the rows
    // map through their Hidden numbers.
    Sort(ContentsList::kObjectClasses, 1);
    Sort(ContentsList::kEventInterfaces, 0);
    for (int i = 0; i < kContentsListCount; ++i) {
      HWND list = contents.list(static_cast<ContentsList>(i));
      for (int row = 0; row < lv::RowCount(list); ++row) {
        SetRowChecked(list, row, row % 2 == 0);
      }
    }
    SetChecked(contents.use_invoke_option(), false);
    SetChecked(contents.generics_option(), false);
    const std::string output = Output("sorted.inc");
    dialog_.answer = output;
    Click(contents.hwnd(), contents.generate_button());
    ASSERT_TRUE(FileExists(output));
    const std::string expected =
        ExpectedInclude(path, output, /*use_invoke=*/false, /*include_generics=*/false);
    EXPECT_EQ(ReadFileBytes(output), expected);
    // The options reached the generator: without generics the text differs.
    EXPECT_NE(expected, ExpectedInclude(path, output, false, true));
  }
}

TEST_F(RealServicesTest, CancelledDialogWritesNothing) {
  ASSERT_TRUE(Open(RowOf(paths_[0])));
  dialog_.answer.reset();
  Click(app_->contents_window().hwnd(), app_->contents_window().generate_button());
  EXPECT_EQ(dialog_.owners.size(), 1u);
  EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(RealServicesTest, UnwritableFileIsReportedAndFocusReturns) {
  ASSERT_TRUE(Open(RowOf(paths_[0])));
  ShowWindow(app_->contents_window().hwnd(), SW_SHOWNORMAL);
  dialog_.answer = "Z:\\no\\such\\directory\\out.inc";
  Click(app_->contents_window().hwnd(), app_->contents_window().generate_button());
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text,
            "Sorry, I can't write the file: \r\nZ:\\no\\such\\directory\\out.inc");
  EXPECT_EQ(desktop_.messages[0].owner, app_->main_window().hwnd());
  EXPECT_FALSE(FileExists("Z:\\no\\such\\directory\\out.inc"));
  EXPECT_EQ(GetFocus(), app_->contents_window().hwnd());
  ShowWindow(app_->contents_window().hwnd(), SW_HIDE);
}

// "Check what these need" checks the closure of the checked rows and notes
// why; a saved selection loads back its check marks and options; a damaged
// selection changes nothing and a row the library lacks is named.
TEST_F(RealServicesTest, CheckWhatTheseNeedAndSelectionFiles) {
  const std::string records = FixtureNamed("RECORDS.TLB");
  ASSERT_TRUE(Open(RowOf(records)));
  ContentsWindow& contents = app_->contents_window();
  auto row_of = [&](ContentsList which, const std::string& name) {
    for (int row = 0; row < Rows(which); ++row) {
      if (Cell(which, row, 0) == name) return row;
    }
    return -1;
  };
  auto checked = [&] {
    std::string names;
    for (int i = 0; i < kContentsListCount; ++i) {
      const auto which = static_cast<ContentsList>(i);
      for (int row = 0; row < Rows(which); ++row) {
        if (Checked(which, row)) names += Cell(which, row, 0) + " ";
      }
    }
    return names;
  };
  SetRowChecked(List(ContentsList::kTypes), row_of(ContentsList::kTypes, "Frame"), true);
  Click(contents.hwnd(), contents.check_needed_button());
  EXPECT_EQ(checked(), "Point Rect Frame Fill ");
  EXPECT_EQ(WindowText(contents.status_text()),
            "Checked 3 more rows; point at one to see what needs it.");
  EXPECT_EQ(app_->RowNote(ContentsList::kTypes, row_of(ContentsList::kTypes, "Rect")),
            "needed by Frame.outer");

  SetChecked(contents.use_invoke_option(), false);
  const std::string saved = Output("records.sel");
  dialog_.selection_answer = saved;
  Click(contents.hwnd(), contents.save_selection_button());
  EXPECT_EQ(dialog_.default_names.back(), "RECORDS.sel");
  EXPECT_EQ(ReadFileBytes(saved),
            "velbrook selection 1\nlibrary {AFD3A7A7-8606-4AA4-91F0-88BB450635BF}\n"
            "version 3.1\nlcid 0\npath " +
                records +
                "\nstyle vtable\ngenerics on\n"
                "type Point\ntype Rect\ntype Frame\nenumeration Fill\n");

  Click(contents.hwnd(), contents.toggle_button(ContentsList::kObjectClasses));
  SetChecked(contents.use_invoke_option(), true);
  Click(contents.hwnd(), contents.load_selection_button());
  EXPECT_EQ(checked(), "Point Rect Frame Fill ");
  EXPECT_FALSE(IsChecked(contents.use_invoke_option()));
  EXPECT_EQ(WindowText(contents.status_text()), "");
  EXPECT_TRUE(desktop_.messages.empty());

  const std::string damaged = Output("damaged.sel");
  std::ofstream(damaged, std::ios::binary) << "velbrook selection 1\nstyle fast\n";
  dialog_.selection_answer = damaged;
  Click(contents.hwnd(), contents.load_selection_button());
  EXPECT_EQ(checked(), "Point Rect Frame Fill ");
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Sorry, I can't use this selection file: \r\n" + damaged +
                                           ":2: style \"fast\" is neither invoke nor vtable");

  std::ofstream(saved, std::ios::binary | std::ios::app) << "class Gone\n";
  dialog_.selection_answer = saved;
  Click(contents.hwnd(), contents.load_selection_button());
  EXPECT_EQ(checked(), "Point Rect Frame Fill ");
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[1].text,
            "These rows of the selection are not in this library and were left out:\r\n"
            "class Gone");
}

TEST_F(RealServicesTest, SearchTestUsesTheCatalogueRules) {
  const std::string shapes = FixtureNamed("SHAPES.TLB");
  const typeinfo::LibraryContents contents = ExpectedContents(shapes);
  ASSERT_FALSE(contents.class_rows.empty());
  const std::string name = contents.class_rows[0].class_name;
  EXPECT_TRUE(services_->LibraryDefinesName(component_, shapes, catalogue::SearchKey(name)));
  // The ProgID's first part "Fixture" matches every library with a coclass.
  EXPECT_TRUE(services_->LibraryDefinesName(component_, shapes, "fixture"));
  EXPECT_FALSE(services_->LibraryDefinesName(component_, shapes, "nosuchnameanywhere"));
  EXPECT_FALSE(services_->LibraryDefinesName(component_, "Z:\\no\\such.tlb", "fixture"));
}

TEST_F(RealServicesTest, MemberSearchListsItsItemsAndOpensTheLibraryAtOne) {
  const std::string inherit = FixtureNamed("INHERIT.TLB");
  PromptBox& prompt = app_->prompt_box();
  ASSERT_TRUE(prompt.EnsureCreated());
  // Picked as the user would, once the prompt shows its choices.
  PostMessageA(prompt.choice_list(), CB_SETCURSEL, 1, 0);  // "Member"
  for (char c : std::string("middleone")) PostMessageA(prompt.edit(), WM_CHAR, c, 0);
  PostMessageA(prompt.edit(), WM_KEYDOWN, VK_RETURN, 0);
  MainWindow& main = app_->main_window();
  Click(main.hwnd(), main.search_button());

  EXPECT_EQ(app_->last_search().kind(), catalogue::SearchKind::kMember);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Found middleone in 1 libraries.");
  const int row = RowOf(inherit);
  EXPECT_EQ(lv::ItemState(main.library_list(), row, LVIS_SELECTED), UINT{LVIS_SELECTED});
  ResultsWindow& results = app_->results_window();
  EXPECT_TRUE(IsWindowVisible(results.hwnd()));
  EXPECT_EQ(GetWindow(results.hwnd(), GW_OWNER), main.hwnd());
  EXPECT_EQ(WindowText(results.count_text()), "2 items found in 1 library");
  HWND list = results.list();
  ASSERT_EQ(lv::RowCount(list), 2);
  const std::vector<std::vector<std::string>> expected = {
      {"INHERIT.TLB", "method", "MiddleOne", "IMiddle", "", inherit},
      {"INHERIT.TLB", "method", "MiddleOne", "IDerived", "IMiddle", inherit},
  };
  for (int r = 0; r < 2; ++r) {
    for (int column = 0; column < SearchResultsModel::kColumnCount; ++column) {
      EXPECT_EQ(lv::CellText(list, r, column), expected[r][column]) << r << "," << column;
    }
  }

  // A double click on the first item, Enter on the second: the contents
  // window shows the library with the owner's row the only one selected
  // (IDerived's is the row of Token, whose default interface it is).
  HWND classes = List(ContentsList::kObjectClasses);
  auto open_and_check = [&](const std::string& owner) {
    SCOPED_TRACE(owner);
    EXPECT_EQ(app_->shown_library()->path, inherit);
    EXPECT_EQ(lv::SelectedCount(classes), 1);
    const int selected = lv::GetNextItem(classes, -1, LVNI_SELECTED);
    EXPECT_EQ(Cell(ContentsList::kObjectClasses, selected, 0), owner);
    EXPECT_EQ(lv::FocusedRow(classes), selected);
  };
  PostMessageA(app_->contents_window().hwnd(), WM_CLOSE, 0, 0);
  const RECT first = lv::ItemRect(list, 0);
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(first.left + 4, first.top + 2));
  open_and_check("IMiddle");
  PostMessageA(app_->contents_window().hwnd(), WM_CLOSE, 0, 0);
  lv::SelectRowAndShow(list, 1);
  SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
  open_and_check("IDerived");
  EXPECT_EQ(desktop_.messages.size(), 1u);
}

}  // namespace
}  // namespace velbrook::app::testing
