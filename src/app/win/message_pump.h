// The pending-message pump, the modal waits built on it and the main loop.
#pragma once

#include <windows.h>

namespace velbrook::app {

// Translates and dispatches every queued message until the queue is empty.
// Handlers may run from inside it. Returns false when a quit message was
// met; it is posted again so that the main loop still ends.
bool PumpPendingMessages();

// While `window` is visible: pump pending messages, then sleep 60 ms. Polls
// with PeekMessage rather than blocking in GetMessage, so that input sent
// from outside still gets noticed.
void WaitWhileVisible(HWND window);

// GetMessageA / TranslateMessage / DispatchMessageA until WM_QUIT; returns
// the quit code.
int RunMessageLoop();

}  // namespace velbrook::app
