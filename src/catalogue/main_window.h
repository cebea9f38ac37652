// The parts of the main window the scan and the search talk to besides the
// library list: message pump, abort request, status texts, caption, messages.
#pragma once

#include <string>

namespace velbrook::catalogue {

// The main window's caption, which the search puts back when it ends.
inline constexpr char kMainCaption[] = "Velbrook";

class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // Processes pending window messages; the Abort button acts in here.
  virtual void PumpMessages() = 0;
  // Clears the abort request and enables the Abort button.
  virtual void StartAbortable() = 0;
  virtual bool AbortRequested() const = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetCountText(const std::string& text) = 0;
  virtual void SetCountSuffixText(const std::string& text) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  // A message box owned by the main window, caption "Velbrook", OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace velbrook::catalogue
