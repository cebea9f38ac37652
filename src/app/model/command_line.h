// The command line of velbrook.exe: the first argument and the " noinvoke"
// switch, and the library row that the argument names.
#pragma once

#include <string>
#include <vector>

namespace velbrook::app {

// The first argument after the program's own name, without its quotes;
// empty when there is none.
std::string FirstCommandLineArgument(const std::string& command_line);

// True when the whole command line ends in exactly " noinvoke".
bool EndsWithNoInvoke(const std::string& command_line);

// Letters A to Z lowered; every other byte is kept.
std::string LowerAscii(std::string text);
// Letters a to z raised; every other byte is kept.
std::string UpperAscii(std::string text);

// Index of the first path that equals the argument ignoring ASCII case, or -1.
int FindRowByPath(const std::vector<std::string>& paths, const std::string& argument);

}  // namespace velbrook::app
