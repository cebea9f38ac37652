// The progress line: carriage return, the text, blanks over what is left of
// the previous one.
#include "cli/terminal_progress.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velbrook::cli {

TerminalProgress::TerminalProgress(std::FILE* stream, bool enabled,
                                   std::chrono::milliseconds interval)
    : stream_(stream), enabled_(enabled && stream != nullptr), interval_(interval) {}

TerminalProgress TerminalProgress::ForStderr() {
#if defined(_WIN32)
  const bool terminal = _isatty(_fileno(stderr)) != 0;
#else
  const bool terminal = isatty(fileno(stderr)) != 0;
#endif
  return TerminalProgress(stderr, terminal);
}

void TerminalProgress::Show(const std::string& text) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_once_ && now - last_shown_ < interval_) return;
  shown_once_ = true;
  last_shown_ = now;
  std::string line = "\r" + text;
  if (text.size() < shown_width_) line.append(shown_width_ - text.size(), ' ');
  shown_width_ = text.size();
  std::fputs(line.c_str(), stream_);
  std::fflush(stream_);
}

void TerminalProgress::Clear() {
  if (!enabled_ || shown_width_ == 0) return;
  std::fputs(("\r" + std::string(shown_width_, ' ') + "\r").c_str(), stream_);
  std::fflush(stream_);
  shown_width_ = 0;
  shown_once_ = false;
}

std::string GenerationProgressText(const char* list, size_t done, size_t total) {
  return std::string("Writing ") + list + " " + std::to_string(done) + " / " +
         std::to_string(total);
}

}  // namespace velbrook::cli
