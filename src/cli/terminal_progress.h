// One line of progress on stderr, rewritten in place, for long command-line
// runs. Silent unless stderr is a terminal, so scripts and pipes see only
// results and messages.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace velbrook::cli {

class TerminalProgress {
 public:
  // Shows on stream when enabled; a new text replaces the line at most once
  // per interval (the final clear is never held back).
  TerminalProgress(std::FILE* stream, bool enabled,
                   std::chrono::milliseconds interval = std::chrono::milliseconds(100));
  // Enabled when stderr is a terminal.
  static TerminalProgress ForStderr();
  ~TerminalProgress() { Clear(); }
  TerminalProgress(TerminalProgress&&) = default;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void Show(const std::string& text);
  // Blanks the line so what follows starts on a clean one.
  void Clear();

 private:
  std::FILE* stream_;
  bool enabled_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_shown_{};
  bool shown_once_ = false;
  size_t shown_width_ = 0;
};

// "Writing Object classes 12 / 300", the generation's progress text.
std::string GenerationProgressText(const char* list, size_t done, size_t total);

}  // namespace velbrook::cli
