// First-difference reports for byte-exact text comparisons.
#include "fakes/text_compare.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velbrook::fakes {
namespace {

// The line that holds byte offset, its LF included.
std::string LineAround(const std::string& text, size_t offset) {
  size_t start = 0;
  if (offset > 0) {
    size_t newline = text.rfind('\n', offset - 1);
    if (newline != std::string::npos) start = newline + 1;
  }
  if (start > text.size()) return std::string();
  size_t end = text.find('\n', start);
  end = end == std::string::npos ? text.size() : end + 1;
  return text.substr(start, end - start);
}

void WriteActual(const std::string& name, const std::string& actual) {
#ifdef VELBROOK_BINARY_DIR
  const std::filesystem::path dir = std::filesystem::path(VELBROOK_BINARY_DIR) / "test_output";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return;
  std::ofstream out(dir / name, std::ios::binary);
  out.write(actual.data(), static_cast<std::streamsize>(actual.size()));
#else
  (void)name;
  (void)actual;
#endif
}

}  // namespace

std::string VisibleLine(const std::string& line) {
  size_t content_end = line.size();
  while (content_end > 0 && (line[content_end - 1] == '\r' || line[content_end - 1] == '\n')) {
    --content_end;
  }
  size_t trailing = content_end;
  while (trailing > 0 && line[trailing - 1] == ' ') --trailing;
  std::string out = "\"";
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else if (c == ' ' && i >= trailing && i < content_end)
      out += "~";
    else if (static_cast<unsigned char>(c) < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual,
                                     const std::string& output_name) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const size_t limit = std::min(expected.size(), actual.size());
  size_t offset = 0;
  while (offset < limit && expected[offset] == actual[offset]) ++offset;
  size_t line = 1, column = 1;
  for (size_t i = 0; i < offset; ++i) {
    if (expected[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  if (!output_name.empty()) WriteActual(output_name, actual);
  std::ostringstream report;
  report << "texts differ at byte " << offset << " (line " << line << ", column " << column
         << "); expected " << expected.size() << " bytes, got " << actual.size()
         << " bytes (\"~\" marks a trailing blank)\n"
         << "  expected line: " << VisibleLine(LineAround(expected, offset)) << "\n"
         << "  actual line:   " << VisibleLine(LineAround(actual, offset));
  if (!output_name.empty()) {
    report << "\n  actual text written to test_output/" << output_name;
  }
  return ::testing::AssertionFailure() << report.str();
}

}  // namespace velbrook::fakes
