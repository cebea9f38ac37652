// ExpandEnvironmentText with undefined references kept and a bound on
// expansions, since a variable may refer to itself.
#include "catalogue/environment_text.h"

#include "catalogue/ascii_text.h"

namespace velbrook::catalogue {

namespace {

// A value that names itself (A=x%A%) would grow the text without end.
constexpr int kMaxExpansions = 64;

}  // namespace

std::string ExpandEnvironmentText(const std::string& text, const Environment& environment) {
  std::string result = text;
  size_t search_from = 0;
  for (int expansions = 0; expansions < kMaxExpansions;) {
    size_t open = result.find('%', search_from);
    if (open == std::string::npos) break;
    size_t close = result.find('%', open + 1);
    if (close == std::string::npos) break;
    std::string name = result.substr(open + 1, close - open - 1);
    std::string value = environment.Variable(name);
    if (value.empty()) {
      // Left as written; its closing "%" may open the next reference, as in
      // "50% of %A%", the way ExpandEnvironmentStringsA reads it.
      search_from = close;
      continue;
    }
    result = ReplaceAll(result, "%" + name + "%", value);
    ++expansions;
    // Replaced values may hold references of their own: start over, as the
    // loop does when every reference is defined.
    search_from = 0;
  }
  return result;
}

}  // namespace velbrook::catalogue
