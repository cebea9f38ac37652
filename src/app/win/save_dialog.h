// Asking for file names: the standard save-file dialog for the include file
// and a selection file, the open-file dialog for a selection file to load,
// behind a seam so that tests choose the files without a modal dialog; and
// the open-file dialog for a library file to open.
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
  // A selection file to write (save) or to read (not save), or none.
  virtual std::optional<std::string> AskSelectionPath(HWND owner, const std::string& default_name,
                                                      bool save) = 0;
};

// GetSaveFileNameA with the include filter, extension "inc" and a
// 260-character name buffer holding the default name.
class Win32SaveDialog : public SaveDialog {
 public:
  std::optional<std::string> AskIncludePath(HWND owner, const std::string& default_name) override;
  // GetSaveFileNameA or GetOpenFileNameA with the selection filter and
  // extension "sel".
  std::optional<std::string> AskSelectionPath(HWND owner, const std::string& default_name,
                                              bool save) override;
};

// GetOpenFileNameA for an existing type library file (.tlb, .olb, .dll,
// .ocx, .exe, or any file); none when cancelled or failed.
std::optional<std::string> AskLibraryFilePath(HWND owner);

}  // namespace velbrook::app
