// Parsing of the command line by the quoting rules of the start-up sequence.
#include "app/model/command_line.h"

namespace velbrook::app {
namespace {

std::string TrimLeadingBlanks(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string FirstCommandLineArgument(const std::string& command_line) {
  std::string line = TrimLeadingBlanks(command_line);
  if (line.empty()) return std::string();
  // Skip the program's own name; only a blank ends an unquoted one.
  size_t name_end;
  if (line[0] == '"') {
    name_end = line.find('"', 1);
  } else {
    name_end = line.find(' ');
  }
  if (name_end == std::string::npos) return std::string();
  std::string rest = TrimLeadingBlanks(line.substr(name_end + 1));
  if (rest.empty()) return std::string();
  if (rest[0] == '"') {
    size_t close = rest.find('"', 1);
    return close == std::string::npos ? rest.substr(1) : rest.substr(1, close - 1);
  }
  return rest.substr(0, rest.find(' '));
}

bool EndsWithNoInvoke(const std::string& command_line) {
  static const std::string kSwitch = " noinvoke";
  return command_line.size() >= kSwitch.size() &&
         command_line.compare(command_line.size() - kSwitch.size(), kSwitch.size(), kSwitch) == 0;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

int FindRowByPath(const std::vector<std::string>& paths, const std::string& argument) {
  std::string wanted = LowerAscii(argument);
  for (size_t row = 0; row < paths.size(); ++row) {
    if (LowerAscii(paths[row]) == wanted) return static_cast<int>(row);
  }
  return -1;
}

}  // namespace velbrook::app
