// Asking for the include file's name: the standard save-file dialog, behind
// a seam so that tests choose the file without a modal dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace velbrook::app {

class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  // The chosen path, or none when the dialog was cancelled or failed.
  virtual std::optional<std::string> AskIncludePath(HWND owner,
                                                    const std::string& default_name) = 0;
};

// GetSaveFileNameA with the include filter, extension "inc" and a
// 260-character name buffer holding the default name.
class Win32SaveDialog : public SaveDialog {
 public:
  std::optional<std::string> AskIncludePath(HWND owner, const std::string& default_name) override;
};

}  // namespace velbrook::app
