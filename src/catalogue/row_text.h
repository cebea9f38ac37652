// A library list row as one line of text for the command line.
#pragma once

#include <string>

#include "catalogue/library_rows.h"

namespace velbrook::catalogue {

// File, Description, Path and CLSID separated by tabs, ended by "\n".
std::string LibraryRowLine(const LibraryEntry& entry);

}  // namespace velbrook::catalogue
