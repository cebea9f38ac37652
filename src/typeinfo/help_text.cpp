// Cleaning of help strings before they are written into comments.
#include "typeinfo/help_text.h"

namespace velbrook::typeinfo {

std::string CleanHelpText(const std::string& text) {
  std::string cut = text.substr(0, text.find('\0'));
  std::string joined;
  joined.reserve(cut.size());
  for (char c : cut) {
    if (c != '\r' && c != '\n') joined += c;
  }
  size_t first = joined.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = joined.find_last_not_of(" \t");
  return joined.substr(first, last - first + 1);
}

}  // namespace velbrook::typeinfo
