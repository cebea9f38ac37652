#include "cli/warning_printer.h"

namespace velbrook::cli {

std::string OneLineText(const std::string& text) {
  std::string out;
  bool pending_space = false;
  for (char c : text) {
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t') {
      pending_space = !out.empty();
      continue;
    }
    if (pending_space) out += ' ';
    pending_space = false;
    out += c;
  }
  return out;
}

void WarningPrinter::Print(const std::string& text) {
  ++count_;
  std::fprintf(stream_, "velbrook: warning: %s\n", OneLineText(text).c_str());
}

void WarningPrinter::Finish() {
  if (count_ > kCountAfter) std::fprintf(stream_, "velbrook: %zu warnings\n", count_);
}

}  // namespace velbrook::cli
