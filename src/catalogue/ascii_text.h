// ASCII-only case changes and small text helpers shared by the catalogue.
#pragma once

#include <string>

namespace velbrook::catalogue {

std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);
// Every occurrence of from replaced by to, left to right in one pass.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);
// Leading and trailing blanks and tabs removed.
std::string TrimBlanks(const std::string& text);

}  // namespace velbrook::catalogue
