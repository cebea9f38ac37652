// The prompt box: its window, OK, "Annuler", Enter, Esc and the close box.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/win/base_window.h"
#include "app/win/controls.h"
#include "app/win/message_pump.h"
#include "app/win/prompt_box.h"

namespace velbrook::app {
namespace {

class PromptBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(BaseWindow::RegisterWindowClass(GetModuleHandleA(nullptr)));
    ASSERT_TRUE(box_.EnsureCreated());
  }
  void TearDown() override { PumpPendingMessages(); }
  void Type(const std::string& text) {
    for (char c : text) {
      PostMessageA(box_.edit(), WM_CHAR, static_cast<unsigned char>(c), 0);
    }
  }
  void PostClick(HWND button) {
    PostMessageA(box_.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  std::string Ask(const std::string& default_text) {
    return box_.PromptText("Find interface or object class...", "Find:", default_text);
  }

  PromptBox box_{GetModuleHandleA(nullptr)};
};

TEST_F(PromptBoxTest, WindowAndControls) {
  RECT outer = {};
  RECT client = {};
  GetWindowRect(box_.hwnd(), &outer);
  GetClientRect(box_.hwnd(), &client);
  EXPECT_EQ(outer.right - outer.left, 357);
  EXPECT_EQ(client.bottom, 99);
  LONG_PTR style = GetWindowLongPtrA(box_.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_EQ(WindowText(box_.ok_button()), "OK");
  EXPECT_EQ(WindowText(box_.cancel_button()), "Annuler");
  EXPECT_EQ(ControlRect(box_.label()).left, 12);
  EXPECT_EQ(ControlRect(box_.label()).top, 20);
  EXPECT_EQ(ControlRect(box_.edit()).left, 75);
  EXPECT_EQ(ControlRect(box_.edit()).top, 18);
  EXPECT_EQ(ControlRect(box_.edit()).width, 254);
  EXPECT_EQ(ControlRect(box_.ok_button()).left, 75);
  EXPECT_EQ(ControlRect(box_.ok_button()).top, 60);
  EXPECT_EQ(ControlRect(box_.cancel_button()).left, 186);
  EXPECT_FALSE(IsWindowVisible(box_.hwnd()));
}

TEST_F(PromptBoxTest, OkReturnsTheTypedTextReplacingTheSelectedDefault) {
  Type("Range");
  PostClick(box_.ok_button());
  EXPECT_EQ(Ask("Workbook"), "Range");
  EXPECT_FALSE(IsWindowVisible(box_.hwnd()));
  EXPECT_EQ(WindowText(box_.hwnd()), "Find interface or object class...");
  EXPECT_EQ(WindowText(box_.label()), "Find:");
}

TEST_F(PromptBoxTest, EnterConfirmsAndKeepsDefault) {
  PostMessageA(box_.edit(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Ask("Workbook"), "Workbook");
}

TEST_F(PromptBoxTest, EscReturnsEmptyEvenWithADefault) {
  Type("abc");
  PostMessageA(box_.edit(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Ask("Workbook"), "");
  EXPECT_FALSE(IsWindowVisible(box_.hwnd()));
}

TEST_F(PromptBoxTest, AnnulerReturnsEmpty) {
  Type("abc");
  PostClick(box_.cancel_button());
  EXPECT_EQ(Ask(""), "");
}

TEST_F(PromptBoxTest, CloseBoxReturnsTheTypedText) {
  Type("Sheet");
  PostMessageA(box_.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Ask("x"), "Sheet");
}

TEST_F(PromptBoxTest, SecondUseShowsNewTextsWithDefaultSelected) {
  PostClick(box_.ok_button());
  EXPECT_EQ(Ask("first"), "first");
  DWORD start = 1;
  DWORD end = 0;
  PostMessageA(box_.hwnd(), WM_CLOSE, 0, 0);
  std::string answer = box_.PromptText("Second", "Name:", "default");
  SendMessageA(box_.edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(answer, "default");
  EXPECT_EQ(WindowText(box_.hwnd()), "Second");
  EXPECT_EQ(WindowText(box_.label()), "Name:");
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 7u);
}

TEST_F(PromptBoxTest, ChoicesShowUnderTheEditFieldAndTheBoxGrowsAndShrinksBack) {
  PostMessageA(box_.choice_list(), CB_SETCURSEL, 2, 0);
  Type("x");
  PostMessageA(box_.edit(), WM_KEYDOWN, VK_RETURN, 0);
  int chosen = 1;
  EXPECT_EQ(box_.PromptText("Find", "Find:", "", "Kind:", {"a", "b", "c"}, &chosen), "x");
  EXPECT_EQ(chosen, 2);
  RECT client = {};
  GetClientRect(box_.hwnd(), &client);
  EXPECT_EQ(client.bottom, 129);
  EXPECT_TRUE(GetWindowLongPtrA(box_.choice_list(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(WindowText(box_.choice_label()), "Kind:");
  EXPECT_EQ(ControlRect(box_.choice_list()).top, 50);
  EXPECT_EQ(ControlRect(box_.ok_button()).top, 90);
  EXPECT_EQ(SendMessageA(box_.choice_list(), CB_GETCOUNT, 0, 0), 3);
  PostClick(box_.ok_button());
  EXPECT_EQ(Ask("plain"), "plain");
  GetClientRect(box_.hwnd(), &client);
  EXPECT_EQ(client.bottom, 99);
  EXPECT_EQ(ControlRect(box_.ok_button()).top, 60);
  EXPECT_FALSE(GetWindowLongPtrA(box_.choice_list(), GWL_STYLE) & WS_VISIBLE);
}

}  // namespace
}  // namespace velbrook::app
