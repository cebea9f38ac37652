// The real message box as the user sees it: caption "Velbrook", one OK
// button, no icon, owned by the given window. Another thread reads it and
// presses OK, since MessageBoxA runs its own modal loop.
#include "app/win/desktop.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace velbrook::app {
namespace {

struct SeenBox {
  std::string caption;
  std::string text;
  std::string buttons;  // captions of its buttons, "|"-separated
  int icons = 0;
  HWND owner = nullptr;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM context) {
  auto* seen = reinterpret_cast<SeenBox*>(context);
  char class_name[32] = {};
  char text[512] = {};
  GetClassNameA(child, class_name, sizeof(class_name));
  GetWindowTextA(child, text, sizeof(text));
  const std::string name = class_name;
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (name == "Button" && (style & WS_VISIBLE)) {
    seen->buttons += (seen->buttons.empty() ? "" : "|") + std::string(text);
  } else if (name == "Static") {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      if (SendMessageA(child, STM_GETICON, 0, 0) != 0 && (style & WS_VISIBLE)) {
        ++seen->icons;
      }
    } else if (text[0] != '\0') {
      seen->text = text;
    }
  }
  return TRUE;
}

struct Search {
  DWORD thread;
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof(class_name));
  if (GetWindowThreadProcessId(window, nullptr) != search->thread ||
      std::string(class_name) != "#32770" || !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// Shows the message and returns what the box looked like.
SeenBox ShowAndRead(HWND owner, const std::string& text, UINT style) {
  SeenBox seen;
  std::atomic<bool> read{false};
  const DWORD thread = GetCurrentThreadId();
  std::thread reader([&] {
    for (int attempt = 0; attempt < 200 && !read; ++attempt) {
      Search search{thread};
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        char caption[128] = {};
        GetWindowTextA(search.found, caption, sizeof(caption));
        seen.caption = caption;
        seen.owner = GetWindow(search.found, GW_OWNER);
        EnumChildWindows(search.found, &ReadChild, reinterpret_cast<LPARAM>(&seen));
        read = true;
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  });
  Win32Desktop desktop;
  desktop.ShowMessage(owner, text, style);
  reader.join();
  EXPECT_TRUE(read) << "no message box came up";
  return seen;
}

TEST(MessageBoxTest, CaptionVelbrookOneOkButtonNoIconOwnedByTheWindow) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  SeenBox seen = ShowAndRead(owner, "I could not find x", MB_SETFOREGROUND);
  EXPECT_EQ(seen.caption, "Velbrook");
  EXPECT_EQ(seen.text, "I could not find x");
  EXPECT_EQ(seen.buttons, "OK");
  EXPECT_EQ(seen.icons, 0);
  EXPECT_EQ(seen.owner, owner);
  DestroyWindow(owner);
}

TEST(MessageBoxTest, WithoutOwnerAtStartUp) {
  SeenBox seen = ShowAndRead(nullptr, "Library not found  user32.dll", 0);
  EXPECT_EQ(seen.caption, "Velbrook");
  EXPECT_EQ(seen.buttons, "OK");
  EXPECT_EQ(seen.icons, 0);
  EXPECT_EQ(seen.owner, nullptr);
}

}  // namespace
}  // namespace velbrook::app
