// Warnings on stderr as a command-line user reads them: one line each, and a
// closing count when there were many.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace velbrook::cli {

// A message box text on one line: its line breaks (CR LF, CR or LF) and the
// blank lines between paragraphs become single spaces, ends trimmed.
std::string OneLineText(const std::string& text);

class WarningPrinter {
 public:
  explicit WarningPrinter(std::FILE* stream) : stream_(stream) {}
  // "velbrook: warning: TEXT" on one line.
  void Print(const std::string& text);
  // "velbrook: N warnings" when more than kCountAfter were printed, so the
  // number is not lost among them.
  void Finish();
  size_t count() const { return count_; }

  static constexpr size_t kCountAfter = 10;

 private:
  std::FILE* stream_;
  size_t count_ = 0;
};

}  // namespace velbrook::cli
