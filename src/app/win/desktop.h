// What the program asks of the desktop beyond its own windows: message
// boxes, ending the process and opening a document with the shell. Tests
// replace it so that nothing blocks or ends the test process.
#pragma once

#include <windows.h>

#include <string>

namespace velbrook::app {

struct SystemFunctions;

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A message box with the caption "Velbrook"; `style` adds to MB_OK.
  virtual void ShowMessage(HWND owner, const std::string& text, UINT style) = 0;
  // Ends the process at once with the exit code.
  virtual void EndProcess(int exit_code) = 0;
  // ShellExecuteA(no owner, "open", path, "", "", SW_SHOW); result unused.
  virtual void OpenDocument(const std::string& path) = 0;
};

// The real desktop. Opening documents goes through the run-time bound
// ShellExecuteA once it is known.
class Win32Desktop : public Desktop {
 public:
  void set_functions(const SystemFunctions* functions) { functions_ = functions; }
  void ShowMessage(HWND owner, const std::string& text, UINT style) override;
  void EndProcess(int exit_code) override;
  void OpenDocument(const std::string& path) override;

 private:
  const SystemFunctions* functions_ = nullptr;
};

}  // namespace velbrook::app
