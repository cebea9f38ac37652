// The real windows: controls, captions, layout figures, check marks, Toggle,
// and the column list view's sorting, divider and click rules.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/model/list_rules.h"
#include "app/win/column_list_view.h"
#include "app/win/controls.h"
#include "app/win/list_view.h"
#include "app_fakes.h"

namespace velbrook::app::testing {
namespace {

using ::testing::ElementsAre;

std::string ColumnCaption(HWND list, int column) {
  char text[64] = {};
  LVCOLUMNA info = {};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = sizeof(text);
  SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
  return text;
}

class MainWindowTest : public AppTest {};

TEST_F(MainWindowTest, BuiltHiddenWithItsControls) {
  MainWindow& main = app_->main_window();
  EXPECT_FALSE(IsWindowVisible(main.hwnd()));
  EXPECT_EQ(WindowText(main.hwnd()), "Velbrook");
  RECT outer = {};
  GetWindowRect(main.hwnd(), &outer);
  EXPECT_EQ(outer.left, 80);
  EXPECT_EQ(outer.top, 80);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 600);
  EXPECT_EQ(WindowText(main.refresh_button()), "Refresh");
  EXPECT_EQ(WindowText(main.abort_button()), "&Abort");
  EXPECT_EQ(WindowText(main.search_button()), "Search...");
  EXPECT_EQ(WindowText(main.help_button()), "?");
  EXPECT_EQ(WindowText(main.files_option()), "Include files not found");
  EXPECT_FALSE(IsWindowEnabled(main.abort_button()));
  EXPECT_FALSE(IsChecked(main.files_option()));
  EXPECT_EQ(ControlRect(main.refresh_button()).left, 12);
  EXPECT_EQ(ControlRect(main.search_button()).left, 99);
  EXPECT_EQ(ControlRect(main.abort_button()).left, 186);
  EXPECT_EQ(ControlRect(main.help_button()).left, 273);
  EXPECT_EQ(ControlRect(main.files_option()).left, 372);
  EXPECT_EQ(ControlRect(main.files_option()).width, 145);
  EXPECT_EQ(WindowText(main.open_file_button()), "Open...");
  EXPECT_EQ(ControlRect(main.open_file_button()).left, 529);
  EXPECT_EQ(ControlRect(main.open_file_button()).width, 75);
  EXPECT_EQ(ControlRect(main.open_file_button()).height, 24);
  EXPECT_EQ(WindowText(main.bits_option()), "32 and 64 bit");
  EXPECT_FALSE(IsChecked(main.bits_option()));
  EXPECT_EQ(ControlRect(main.bits_option()).left, 616);
  EXPECT_EQ(ControlRect(main.bits_option()).width, 150);
  EXPECT_EQ(ControlRect(main.bits_option()).height, 20);
  // Created after the list, so it comes after it in the tab order.
  HWND after_list = GetWindow(main.library_list(), GW_HWNDNEXT);
  while (after_list != nullptr && after_list != main.bits_option()) {
    after_list = GetWindow(after_list, GW_HWNDNEXT);
  }
  EXPECT_EQ(after_list, main.bits_option());
  EXPECT_EQ(ControlRect(main.status_text()), (Rect{5, 2, 800, 24}));
  // The buttons use the Arial font, the option the stock font.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(main.refresh_button(), WM_GETFONT, 0, 0)),
            main.arial_font());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(main.open_file_button(), WM_GETFONT, 0, 0)),
            main.arial_font());
  // The main window takes dropped files.
  EXPECT_TRUE(GetWindowLongPtrA(main.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(main.files_option(), WM_GETFONT, 0, 0)),
            static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)));
  HWND list = main.library_list();
  EXPECT_EQ(ColumnCaption(list, 0), "File");
  EXPECT_EQ(ColumnCaption(list, 1), "Description");
  EXPECT_EQ(ColumnCaption(list, 2), "Path");
  EXPECT_EQ(ColumnCaption(list, 3), "CLSID");
  EXPECT_EQ(ColumnCaption(list, 4), "Hidden");
  EXPECT_EQ(ColumnCaption(list, 5), "Bits");
  EXPECT_EQ(ColumnCaption(list, 6), "Problem");
  LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
  EXPECT_TRUE(style & LVS_REPORT);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & LVS_SINGLESEL);
  EXPECT_FALSE(style & LVS_EDITLABELS);
  DWORD extended = static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(extended & 0x21u, 0x21u);
}

TEST_F(MainWindowTest, ClientWidth800Layout) {
  MainWindow& main = app_->main_window();
  SetClientSize(main.hwnd(), 800, 562);
  HWND list = main.library_list();
  EXPECT_EQ(ControlRect(list), (Rect{4, 24, 788, 466}));
  EXPECT_EQ(lv::ColumnWidth(list, 0), 115);
  EXPECT_EQ(lv::ColumnWidth(list, 1), 268);
  EXPECT_EQ(lv::ColumnWidth(list, 2), 268);
  EXPECT_EQ(lv::ColumnWidth(list, 3), 116);
  EXPECT_EQ(lv::ColumnWidth(list, 4), 0);
  EXPECT_EQ(ControlRect(main.refresh_button()).top, 526);
  EXPECT_EQ(ControlRect(main.abort_button()).top, 526);
  EXPECT_EQ(ControlRect(main.search_button()).top, 526);
  EXPECT_EQ(ControlRect(main.help_button()).top, 526);
  EXPECT_EQ(ControlRect(main.files_option()).top, 526);
  EXPECT_EQ(ControlRect(main.open_file_button()).top, 526);
  EXPECT_EQ(ControlRect(main.bits_option()).top, 526);
  EXPECT_EQ(ControlRect(main.count_suffix_text()).left, 690);
  EXPECT_EQ(ControlRect(main.count_text()).left, 658);
}

TEST_F(MainWindowTest, MinimizingRunsNothingRestoringRunsTheRule) {
  MainWindow& main = app_->main_window();
  SetClientSize(main.hwnd(), 800, 562);
  HWND list = main.library_list();
  PlaceControl(list, {4, 24, 300, 100});
  ShowWindow(main.hwnd(), SW_MINIMIZE);
  EXPECT_EQ(ControlRect(list).width, 300);
  ShowWindow(main.hwnd(), SW_RESTORE);
  EXPECT_EQ(ControlRect(list).width, 788);
  ShowWindow(main.hwnd(), SW_HIDE);
}

class ContentsWindowTest : public AppTest {};

TEST_F(ContentsWindowTest, BuiltHiddenCentredWithItsControls) {
  ContentsWindow& contents = app_->contents_window();
  EXPECT_FALSE(IsWindowVisible(contents.hwnd()));
  EXPECT_EQ(WindowText(contents.hwnd()), "Velbrook");
  EXPECT_EQ(GetWindow(contents.hwnd(), GW_OWNER), app_->main_window().hwnd());
  RECT outer = {};
  GetWindowRect(contents.hwnd(), &outer);
  EXPECT_EQ(outer.left, 112);
  EXPECT_EQ(outer.top, 84);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 600);
  EXPECT_EQ(WindowText(contents.generate_button()), "Generate .inc");
  EXPECT_EQ(WindowText(contents.use_invoke_option()), "use Invoke");
  EXPECT_EQ(WindowText(contents.generics_option()), "Include COM Generics");
  EXPECT_TRUE(IsChecked(contents.use_invoke_option()));
  EXPECT_TRUE(IsChecked(contents.generics_option()));
  EXPECT_EQ(WindowText(contents.toggle_button(ContentsList::kTypes)), "Toggle selection");
  HWND classes = contents.list(ContentsList::kObjectClasses);
  HWND events = contents.list(ContentsList::kEventInterfaces);
  EXPECT_EQ(ColumnCaption(classes, 2), "ProgIDs");
  EXPECT_EQ(ColumnCaption(classes, 3), "Hidden");
  EXPECT_EQ(ColumnCaption(events, 1), "for Objects");
  EXPECT_EQ(ColumnCaption(events, 2), "");
  EXPECT_EQ(lv::ColumnWidth(classes, 3), 0);
  EXPECT_EQ(lv::ColumnWidth(events, 3), 0);
  EXPECT_EQ(ColumnCaption(contents.list(ContentsList::kEnumerations), 0), "Constant Enumerations");
  for (int i = 0; i < kContentsListCount; ++i) {
    DWORD extended = static_cast<DWORD>(SendMessageA(contents.list(static_cast<ContentsList>(i)),
                                                     LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(extended & LVS_EX_CHECKBOXES) << "list " << i;
  }
}

TEST_F(ContentsWindowTest, Client784By562Layout) {
  ContentsWindow& contents = app_->contents_window();
  SetClientSize(contents.hwnd(), 784, 562);
  HWND classes = contents.list(ContentsList::kObjectClasses);
  HWND events = contents.list(ContentsList::kEventInterfaces);
  HWND types = contents.list(ContentsList::kTypes);
  HWND enumerations = contents.list(ContentsList::kEnumerations);
  EXPECT_EQ(ControlRect(classes), (Rect{5, 24, 458, 274}));
  EXPECT_EQ(ControlRect(types), (Rect{473, 24, 306, 211}));
  EXPECT_EQ(ControlRect(enumerations), (Rect{473, 275, 306, 211}));
  EXPECT_EQ(ControlRect(events), (Rect{5, 338, 458, 148}));
  EXPECT_EQ(lv::ColumnWidth(classes, 0), 146);
  EXPECT_EQ(lv::ColumnWidth(classes, 2), 146);
  EXPECT_EQ(lv::ColumnWidth(events, 0), 219);
  EXPECT_EQ(lv::ColumnWidth(events, 1), 218);
  EXPECT_EQ(lv::ColumnWidth(events, 2), 0);
  EXPECT_EQ(lv::ColumnWidth(types, 0), 284);
  EXPECT_EQ(ControlRect(contents.toggle_button(ContentsList::kEventInterfaces)),
            (Rect{5, 490, 120, 21}));
  EXPECT_EQ(ControlRect(contents.toggle_button(ContentsList::kTypes)), (Rect{473, 239, 120, 21}));
  EXPECT_EQ(ControlRect(contents.use_invoke_option()), (Rect{285, 498, 125, 20}));
  EXPECT_EQ(ControlRect(contents.generics_option()), (Rect{285, 526, 240, 20}));
  EXPECT_EQ(ControlRect(contents.generate_button()), (Rect{186, 526, 75, 24}));
  EXPECT_EQ(ControlRect(contents.refresh_button()).top, 526);
  EXPECT_EQ(ControlRect(contents.help_button()).top, 526);
}

TEST_F(ContentsWindowTest, MinimizingRunsNothingRestoringRunsTheRule) {
  ContentsWindow& contents = app_->contents_window();
  SetClientSize(contents.hwnd(), 784, 562);
  HWND types = contents.list(ContentsList::kTypes);
  PlaceControl(types, {473, 24, 100, 50});
  ShowWindow(contents.hwnd(), SW_MINIMIZE);
  EXPECT_EQ(ControlRect(types).width, 100);
  ShowWindow(contents.hwnd(), SW_RESTORE);
  EXPECT_EQ(ControlRect(types), (Rect{473, 24, 306, 211}));
  ShowWindow(contents.hwnd(), SW_HIDE);
}

TEST_F(ContentsWindowTest, ScreenSmallerThan800By600) {
  Rebuild("C:\\nowhere", {640, 480});
  RECT outer = {};
  GetWindowRect(app_->contents_window().hwnd(), &outer);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(outer.right, 640);
  EXPECT_EQ(outer.bottom, 480);
}

TEST_F(ContentsWindowTest, LongCellsReadBackWhole) {
  // An event interface named as source by many object classes.
  std::string owners;
  for (int i = 0; owners.size() < 5000; ++i) {
    owners += (i == 0 ? "" : ", ") + std::string("SVGElement") + std::to_string(i) + " (default)";
  }
  FillContents(ContentsList::kEventInterfaces,
               {{"HTMLElementEvents", owners, "", "0"}, {"Short", std::string(259, 'x'), "", "1"}});
  HWND events = app_->contents_window().list(ContentsList::kEventInterfaces);
  // The list asks the model for each text it is asked for.
  EXPECT_EQ(lv::CellText(events, 0, 1), owners);
  EXPECT_EQ(lv::CellText(events, 1, 1), std::string(259, 'x'));
  EXPECT_EQ(lv::CellText(events, 1, 3), "1");
  EXPECT_EQ(lv::RowCount(events), 2);
}

class CheckMarkTest : public AppTest {
 protected:
  HWND FillTypes(int rows) {
    std::vector<std::vector<std::string>> types;
    for (int i = 0; i < rows; ++i) types.push_back({"T" + std::to_string(i)});
    FillContents(ContentsList::kTypes, types);
    return app_->contents_window().list(ContentsList::kTypes);
  }
  bool ModelChecked(ContentsList which, size_t row) {
    return app_->contents_lists().IsChecked(which, row);
  }
  void ClickToggle(ContentsList which) {
    HWND button = app_->contents_window().toggle_button(which);
    SendMessageA(app_->contents_window().hwnd(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
};

TEST_F(CheckMarkTest, RowsAreInsertedUncheckedAndReadBack) {
  HWND list = FillTypes(2);
  EXPECT_EQ(lv::IsRowChecked(list, 0), 0);
  // A check mark set through the list goes to the model, and back.
  lv::SetItemState(list, 1, kStateImageChecked, kStateImageMask);
  EXPECT_EQ(lv::IsRowChecked(list, 1), 1);
  EXPECT_TRUE(ModelChecked(ContentsList::kTypes, 1));
  EXPECT_EQ(lv::IsRowChecked(list, 0), 0);
  app_->contents_lists().SetChecked(ContentsList::kTypes, 0, true);
  EXPECT_EQ(lv::IsRowChecked(list, 0), 1);
  // Every row at once, as LVM_SETITEMSTATE with row -1 does.
  lv::SetItemState(list, -1, kStateImageUnchecked, kStateImageMask);
  EXPECT_FALSE(ModelChecked(ContentsList::kTypes, 0));
  EXPECT_FALSE(ModelChecked(ContentsList::kTypes, 1));
}

// The left edge of a row's check box, found by hit testing.
POINT CheckBoxPoint(HWND list, int row) {
  RECT rect = lv::ItemRect(list, row);
  for (int x = rect.left; x < rect.left + 40; ++x) {
    LVHITTESTINFO hit = {};
    hit.pt = {x, (rect.top + rect.bottom) / 2};
    SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0) return hit.pt;
  }
  ADD_FAILURE() << "no check box on row " << row;
  return {rect.left, rect.top};
}

TEST_F(CheckMarkTest, ClickOnACheckBoxAndTheSpaceKeyToggleTheModel) {
  HWND list = FillTypes(3);
  SetClientSize(app_->contents_window().hwnd(), 784, 562);
  POINT box = CheckBoxPoint(list, 1);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
  EXPECT_TRUE(ModelChecked(ContentsList::kTypes, 1));
  EXPECT_EQ(lv::IsRowChecked(list, 1), 1);
  EXPECT_FALSE(ModelChecked(ContentsList::kTypes, 0));
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
  EXPECT_FALSE(ModelChecked(ContentsList::kTypes, 1));
  // A click beside the check box selects the row and checks nothing.
  RECT rect = lv::ItemRect(list, 2);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 60, rect.top + 2));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 60, rect.top + 2));
  EXPECT_FALSE(ModelChecked(ContentsList::kTypes, 2));
  ASSERT_EQ(lv::FocusedRow(list), 2);
  SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(ModelChecked(ContentsList::kTypes, 2));
  EXPECT_EQ(lv::IsRowChecked(list, 2), 1);
}

TEST_F(CheckMarkTest, ToggleInvertsEveryRow) {
  HWND list = FillTypes(4);
  lv::SetItemState(list, 0, kStateImageChecked, kStateImageMask);
  lv::SetItemState(list, 2, kStateImageChecked, kStateImageMask);
  lv::SelectRow(list, 1);
  ClickToggle(ContentsList::kTypes);
  EXPECT_EQ(lv::IsRowChecked(list, 0), 0);
  EXPECT_EQ(lv::IsRowChecked(list, 1), 1);
  EXPECT_EQ(lv::IsRowChecked(list, 2), 0);
  EXPECT_EQ(lv::IsRowChecked(list, 3), 1);
  EXPECT_TRUE(ModelChecked(ContentsList::kTypes, 3));
  // The selection is not involved.
  EXPECT_EQ(lv::ItemState(list, 1, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(lv::ItemState(list, 3, LVIS_SELECTED), 0u);
}

TEST_F(CheckMarkTest, ToggleActsOnItsOwnListOnly) {
  HWND types = FillTypes(2);
  ContentsWindow& contents = app_->contents_window();
  FillContents(ContentsList::kEnumerations, {{"E"}});
  ClickToggle(ContentsList::kEnumerations);
  EXPECT_EQ(lv::IsRowChecked(contents.list(ContentsList::kEnumerations), 0), 1);
  EXPECT_EQ(lv::IsRowChecked(types, 0), 0);
  ClickToggle(ContentsList::kObjectClasses);  // an empty list: nothing
  EXPECT_EQ(lv::RowCount(contents.list(ContentsList::kObjectClasses)), 0);
}

class ColumnListViewTest : public AppTest {
 protected:
  HWND ScannedList() {
    ScanWith(SampleLibraries());
    return app_->main_window().library_list();
  }
  // The library list's column whose divider is being dragged.
  int Tracked() { return app_->main_window().list_behaviour().tracked_column(); }
};

TEST_F(ColumnListViewTest, SortedRowsKeepTheirAddingNumbers) {
  HWND list = ScannedList();
  // Rows in File order A, B, C, D were added as C, A, D, B.
  EXPECT_THAT(ColumnTexts(list, 4), ElementsAre("1", "3", "0", "2"));
  NotifyHeader(list, HDN_ITEMCLICKA, 1);
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("D.TLB", "B.TLB", "A.TLB", "C.TLB"));
  EXPECT_THAT(ColumnTexts(list, 4), ElementsAre("2", "3", "1", "0"));
  // A second scan numbers its rows afresh and shows them in File order.
  ScanWith(SampleLibraries());
  EXPECT_THAT(ColumnTexts(list, 4), ElementsAre("1", "3", "0", "2"));
}

TEST_F(ColumnListViewTest, HeaderClickSortsCaseInsensitivelyAscending) {
  HWND list = ScannedList();
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB"));
  NotifyHeader(list, HDN_ITEMCLICKA, 1);
  EXPECT_THAT(ColumnTexts(list, 1),
              ElementsAre("alpha library", "Beta library", "Delta library", "gamma library"));
  NotifyHeader(list, HDN_ITEMCLICKW, 1);  // again: the same order
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("D.TLB", "B.TLB", "A.TLB", "C.TLB"));
  NotifyHeader(list, HDN_ITEMCLICKA, 0);
  EXPECT_THAT(ColumnTexts(list, 0), ElementsAre("A.TLB", "B.TLB", "C.TLB", "D.TLB"));
}

TEST_F(ColumnListViewTest, ContentsListSortsButTypesListIsNotAttached) {
  ContentsWindow& contents = app_->contents_window();
  FillContents(ContentsList::kObjectClasses, {{"zeta", "", "", "0"}, {"Alpha", "", "", "1"}});
  HWND classes = contents.list(ContentsList::kObjectClasses);
  NotifyHeader(classes, HDN_ITEMCLICKA, 0);
  EXPECT_THAT(ColumnTexts(classes, 3), ElementsAre("1", "0"));
  EXPECT_EQ(app_->contents_lists().HiddenNumber(ContentsList::kObjectClasses, 0), 1u);
  FillContents(ContentsList::kTypes, {{"zeta"}, {"Alpha"}});
  HWND types = contents.list(ContentsList::kTypes);
  NotifyHeader(types, HDN_ITEMCLICKA, 0);
  EXPECT_THAT(ColumnTexts(types, 0), ElementsAre("zeta", "Alpha"));
}

// The header applies a width only after HDN_ITEMCHANGING has returned; the
// tests do that step themselves once the drag is over.
TEST_F(ColumnListViewTest, DraggingMovesWidthBetweenNeighboursOnly) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  int pair_total = lv::ColumnWidth(list, 0) + lv::ColumnWidth(list, 1);
  ASSERT_EQ(pair_total, 115 + 268);
  EXPECT_EQ(NotifyHeader(list, HDN_BEGINTRACKW, 0), 0);
  EXPECT_EQ(Tracked(), 0);
  HDITEMA item = {};
  item.mask = HDI_WIDTH;
  item.cxy = 150;
  EXPECT_EQ(NotifyHeader(list, HDN_ITEMCHANGINGW, 0, &item), 0);
  EXPECT_EQ(item.cxy, 150);
  EXPECT_EQ(lv::ColumnWidth(list, 1), pair_total - 150);
  EXPECT_EQ(lv::ColumnWidth(list, 2), 268);  // the others do not move
  EXPECT_EQ(lv::ColumnWidth(list, 3), 116);
  NotifyHeader(list, HDN_ENDTRACKW, 0, nullptr);
  EXPECT_EQ(Tracked(), -1);
  lv::SetColumnWidth(list, 0, item.cxy);
  EXPECT_EQ(lv::ColumnWidth(list, 0) + lv::ColumnWidth(list, 1), pair_total);
}

TEST_F(ColumnListViewTest, DraggingKeepsTwentyPixelsOnEitherSide) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  int pair_total = lv::ColumnWidth(list, 1) + lv::ColumnWidth(list, 2);
  NotifyHeader(list, HDN_BEGINTRACKA, 1);
  HDITEMA item = {};
  item.mask = HDI_WIDTH;
  item.cxy = 3;
  NotifyHeader(list, HDN_ITEMCHANGINGA, 1, &item);
  EXPECT_EQ(item.cxy, 20);
  EXPECT_EQ(lv::ColumnWidth(list, 2), pair_total - 20);
  NotifyHeader(list, HDN_ENDTRACKA, 1, nullptr);
  lv::SetColumnWidth(list, 1, item.cxy);
  ASSERT_EQ(lv::ColumnWidth(list, 1) + lv::ColumnWidth(list, 2), pair_total);

  // A header without full dragging reports only the final width.
  NotifyHeader(list, HDN_BEGINTRACKA, 1);
  item.cxy = pair_total + 50;
  NotifyHeader(list, HDN_ENDTRACKA, 1, &item);
  EXPECT_EQ(item.cxy, pair_total - 20);
  EXPECT_EQ(lv::ColumnWidth(list, 2), 20);
  EXPECT_EQ(Tracked(), -1);
}

// Drags a divider of the real header control with mouse messages.
void DragDivider(HWND list, int column, int distance) {
  HWND header = lv::Header(list);
  RECT rect = {};
  SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&rect));
  int y = (rect.top + rect.bottom) / 2;
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right - 1, y));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rect.right - 1 + distance / 2, y));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rect.right - 1 + distance, y));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(rect.right - 1 + distance, y));
}

TEST_F(ColumnListViewTest, RealHeaderDragKeepsTheTotal) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  int pair_total = lv::ColumnWidth(list, 0) + lv::ColumnWidth(list, 1);
  DragDivider(list, 0, 35);
  EXPECT_EQ(Tracked(), -1);
  EXPECT_EQ(lv::ColumnWidth(list, 0), 150);
  EXPECT_EQ(lv::ColumnWidth(list, 1), pair_total - 150);
  EXPECT_EQ(lv::ColumnWidth(list, 2), 268);
  DragDivider(list, 0, 600);
  EXPECT_EQ(lv::ColumnWidth(list, 0), pair_total - 20);
  EXPECT_EQ(lv::ColumnWidth(list, 1), 20);
  DragDivider(list, 0, -600);
  EXPECT_EQ(lv::ColumnWidth(list, 0), 20);
  EXPECT_EQ(lv::ColumnWidth(list, 1), pair_total - 20);
  EXPECT_EQ(lv::ColumnWidth(list, 3), 116);
}

TEST_F(ColumnListViewTest, OnlyTheTrackedColumnIsAdjusted) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  NotifyHeader(list, HDN_BEGINTRACKW, 0);
  HDITEMA item = {};
  item.mask = HDI_WIDTH;
  item.cxy = 5;
  NotifyHeader(list, HDN_ITEMCHANGINGW, 2, &item);  // not the tracked one
  EXPECT_EQ(item.cxy, 5);
  EXPECT_EQ(lv::ColumnWidth(list, 3), 116);
  NotifyHeader(list, HDN_ENDTRACKW, 0, nullptr);
  EXPECT_EQ(Tracked(), -1);
}

TEST_F(ColumnListViewTest, LastColumnCannotBeDragged) {
  HWND list = ScannedList();
  // Hidden and the Bits and Problem columns after it keep their widths.
  for (int column : {4, 5, 6}) {
    EXPECT_EQ(NotifyHeader(list, HDN_BEGINTRACKW, column), 1) << column;
    EXPECT_EQ(Tracked(), -1);
  }
  EXPECT_EQ(NotifyHeader(list, HDN_BEGINTRACKW, 3), 0);
  EXPECT_EQ(Tracked(), 3);
  NotifyHeader(list, HDN_ENDTRACKW, 3, nullptr);
}

TEST_F(ColumnListViewTest, ContentsListsLockTheirHiddenColumnToo) {
  ContentsWindow& contents = app_->contents_window();
  for (ContentsList which : {ContentsList::kObjectClasses, ContentsList::kEventInterfaces}) {
    HWND list = contents.list(which);
    EXPECT_EQ(NotifyHeader(list, HDN_BEGINTRACKW, 3), 1);
    EXPECT_EQ(contents.list_behaviour(which).tracked_column(), -1);
    EXPECT_EQ(NotifyHeader(list, HDN_BEGINTRACKW, 2), 0);
    EXPECT_EQ(contents.list_behaviour(which).tracked_column(), 2);
    NotifyHeader(list, HDN_ENDTRACKW, 2, nullptr);
  }
}

TEST_F(ColumnListViewTest, AccentedTextsSortAfterUnaccentedOnes) {
  ScanWith({{"A.TLB",
             "\xC9"
             "cole",
             "c:\\a.tlb", "{A}"},
            {"B.TLB", "zebra", "c:\\b.tlb", "{B}"},
            {"C.TLB", "Ecole", "c:\\c.tlb", "{C}"}});
  HWND list = app_->main_window().library_list();
  NotifyHeader(list, HDN_ITEMCLICKA, 1);
  EXPECT_THAT(ColumnTexts(list, 1), ElementsAre("Ecole", "zebra",
                                                "\xC9"
                                                "cole"));
}

TEST_F(ColumnListViewTest, DividerDoubleClickLeavesNeighbourAtLeastTwenty) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  int pair_total = lv::ColumnWidth(list, 0) + lv::ColumnWidth(list, 1);
  NotifyHeader(list, HDN_DIVIDERDBLCLICKW, 0);
  int fitted = lv::ColumnWidth(list, 0);
  EXPECT_GT(fitted, 20);
  EXPECT_LT(fitted, 115);  // "A.TLB" is narrow
  EXPECT_EQ(lv::ColumnWidth(list, 1), pair_total - fitted);

  ScanWith({{"A.TLB", "a", std::string(200, 'W'), "{A}"}});
  int path_pair = lv::ColumnWidth(list, 2) + lv::ColumnWidth(list, 3);
  NotifyHeader(list, HDN_DIVIDERDBLCLICKW, 2);
  EXPECT_EQ(lv::ColumnWidth(list, 3), 20);
  EXPECT_GE(lv::ColumnWidth(list, 2), path_pair - 20);
}

TEST_F(ColumnListViewTest, ClickBelowLastRowKeepsTheSelection) {
  HWND list = ScannedList();
  SetClientSize(app_->main_window().hwnd(), 800, 562);
  lv::SelectRow(list, 1);
  RECT last = lv::ItemRect(list, 3);
  LPARAM below = MAKELPARAM(50, last.bottom + 40);
  EXPECT_EQ(SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, below), 1);
  EXPECT_EQ(lv::ItemState(list, 1, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(GetFocus(), list);
}

TEST_F(ColumnListViewTest, ClickOnEmptyListIsSwallowed) {
  HWND list = app_->main_window().library_list();
  EXPECT_EQ(SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)), 1);
}

class ListOperationsTest : public ColumnListViewTest {};

TEST_F(ListOperationsTest, SelectRowAndShowDropsOtherSelections) {
  HWND list = ScannedList();
  lv::SelectRow(list, 0);
  lv::SelectRow(list, 1);
  EXPECT_EQ(lv::ItemState(list, 0, LVIS_SELECTED), UINT{LVIS_SELECTED});
  lv::SelectRowAndShow(list, 2);
  EXPECT_EQ(lv::ItemState(list, 0, LVIS_SELECTED), 0u);
  EXPECT_EQ(lv::ItemState(list, 1, LVIS_SELECTED), 0u);
  EXPECT_EQ(lv::ItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED),
            UINT{LVIS_SELECTED | LVIS_FOCUSED});
  EXPECT_FALSE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SINGLESEL);
  EXPECT_EQ(lv::FocusedRow(list), 2);
  lv::SelectRow(list, 3);
  EXPECT_EQ(lv::ItemState(list, 2, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(lv::ItemState(list, 3, LVIS_SELECTED), UINT{LVIS_SELECTED});
  EXPECT_EQ(lv::FocusedRow(list), 3);
}

TEST_F(ListOperationsTest, FocusedRowIsMinusOneWithoutFocus) {
  HWND list = ScannedList();
  EXPECT_EQ(lv::FocusedRow(list), -1);
}

}  // namespace
}  // namespace velbrook::app::testing
