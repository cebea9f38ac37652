// Message processing shared by the long operations and the modal waits.
#include "app/win/message_pump.h"

namespace velbrook::app {

bool PumpPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

void WaitWhileVisible(HWND window) {
  while (IsWindowVisible(window)) {
    if (!PumpPendingMessages()) return;
    if (!IsWindowVisible(window)) return;
    SleepEx(60, FALSE);
  }
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace velbrook::app
