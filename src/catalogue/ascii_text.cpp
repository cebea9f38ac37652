// ASCII case changes, replace-all and trimming as the conventions define them.
#include "catalogue/ascii_text.h"

namespace velbrook::catalogue {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string result;
  size_t start = 0;
  for (size_t at; (at = text.find(from, start)) != std::string::npos;) {
    result.append(text, start, at - start).append(to);
    start = at + from.size();
  }
  return result.append(text, start, std::string::npos);
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace velbrook::catalogue
