// velbrook show LIBRARY [--backend portable|oleaut]
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "typeinfo/library_contents.h"

namespace velbrook::cli {

// The four lists of the contents window, tab-separated: a title line, the
// column captions, then one line per row (LF line ends).
std::string ShowText(const typeinfo::LibraryContents& contents);

void AddShowCommand(CLI::App& app, int* exit_code);

}  // namespace velbrook::cli
