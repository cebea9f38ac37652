// Start-up with an injected binder: binding failures with their messages and
// exit codes, the component-creation failure, and a complete start-up.
#include "app/win/startup.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/model/messages.h"
#include "app/win/controls.h"
#include "app/win/list_view.h"
#include "app/win/message_pump.h"
#include "app_fakes.h"

namespace velbrook::app::testing {
namespace {

using ::testing::ElementsAre;

class StartUpTest : public ::testing::Test {
 protected:
  StartupResult Start(const std::string& command_line) {
    StartupContext context;
    context.instance = GetModuleHandleA(nullptr);
    context.binder = &binder_;
    context.desktop = &desktop_;
    context.services = &services_;
    context.command_line = command_line;
    return StartUp(context, /*show_main_window=*/false);
  }
  void TearDown() override { PumpPendingMessages(); }

  FailingBinder binder_;
  FakeDesktop desktop_;
  FakeServices services_;
};

TEST_F(StartUpTest, BindsTheListedFunctionsInOrder) {
  StartupResult result = Start("velbrook.exe");
  ASSERT_NE(result.app, nullptr);
  EXPECT_THAT(binder_.looked_up,
              ElementsAre("BringWindowToTop", "CoInitialize", "CoCreateInstance",
                          "SafeArrayDestroy", "SafeArrayGetElement", "SafeArrayGetLBound",
                          "SafeArrayGetUBound", "MultiByteToWideChar", "WideCharToMultiByte",
                          "ShellExecuteA", "LoadTypeLibEx", "CallWindowProcA", "GetClassNameA",
                          "GetWindowLongW", "IsWindowUnicode", "SetWindowLongW"));
  EXPECT_EQ(binder_.loaded[0], "user32.dll");
  EXPECT_EQ(binder_.loaded[10], "OLEAUT32.dll");
  EXPECT_TRUE(desktop_.messages.empty());
  EXPECT_NE(result.functions->shell_execute, nullptr);
  EXPECT_NE(result.component, nullptr);
}

TEST_F(StartUpTest, MissingLibraryEndsWithCodeOne) {
  binder_.missing_library = "ole32.dll";
  StartupResult result = Start("velbrook.exe");
  EXPECT_EQ(result.app, nullptr);
  EXPECT_EQ(result.exit_code, 1);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Library not found  ole32.dll");
  EXPECT_EQ(desktop_.messages[0].owner, nullptr);
  EXPECT_EQ(desktop_.messages[0].style, 0u);
  EXPECT_EQ(services_.scans, 0);
}

TEST_F(StartUpTest, MissingFunctionEndsWithCodeTwo) {
  binder_.missing_function = "ShellExecuteA";
  StartupResult result = Start("velbrook.exe");
  EXPECT_EQ(result.app, nullptr);
  EXPECT_EQ(result.exit_code, 2);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Function not found ShellExecuteA");
}

TEST_F(StartUpTest, MissingWindowFunctionIsFoundAfterTheComponent) {
  binder_.missing_function = "SetWindowLongW";
  StartupResult result = Start("velbrook.exe");
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.component, nullptr);
  EXPECT_EQ(result.app, nullptr);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, "Function not found SetWindowLongW");
}

TEST_F(StartUpTest, ComponentFailureShowsThreeLinesAndEndsWithCodeZero) {
  binder_.missing_function = "LoadTypeLibEx";
  StartupResult result = Start("velbrook.exe c:\\x.tlb");
  EXPECT_EQ(result.app, nullptr);
  EXPECT_EQ(result.component, nullptr);
  EXPECT_EQ(result.exit_code, 0);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text,
            "Sorry, I'm unable to access OLEAUT32.dll\r\n"
            "Please check that OLEAUT32.dll is installed\r\n"
            "and that it provides LoadTypeLibEx.");
  EXPECT_EQ(desktop_.messages[0].owner, nullptr);
  EXPECT_EQ(desktop_.messages[0].style, UINT{MB_SETFOREGROUND});
  // No window is built, no scan runs, and no window functions are bound.
  EXPECT_EQ(services_.scans, 0);
  EXPECT_EQ(binder_.looked_up.back(), "LoadTypeLibEx");
}

TEST_F(StartUpTest, CompleteStartUpScansAndResolvesTheArgument) {
  services_.libraries = SampleLibraries();
  StartupResult result = Start("velbrook.exe c:\\libs\\d.tlb noinvoke");
  ASSERT_NE(result.app, nullptr);
  App& app = *result.app;
  EXPECT_EQ(services_.scans, 1);
  EXPECT_EQ(lv::RowCount(app.main_window().library_list()), 4);
  EXPECT_EQ(app.current_row(), 3);
  EXPECT_TRUE(app.command_line_flag());
  EXPECT_FALSE(IsChecked(app.contents_window().use_invoke_option()));
  EXPECT_FALSE(IsWindowVisible(app.main_window().hwnd()));
  EXPECT_FALSE(IsWindowVisible(app.contents_window().hwnd()));
  // The start-up scan enabled Abort before the window is ever shown.
  EXPECT_TRUE(IsWindowEnabled(app.main_window().abort_button()));
}

}  // namespace
}  // namespace velbrook::app::testing
