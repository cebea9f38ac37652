// A drop of files as the shell hands it to a window: the memory of a
// DROPFILES header and the paths, for sending WM_DROPFILES in tests.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

namespace velbrook::app::testing {

// The HDROP of the paths (ANSI); the window's DragFinish frees it.
HDROP MakeDrop(const std::vector<std::string>& paths);

}  // namespace velbrook::app::testing
