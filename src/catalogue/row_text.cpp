// LibraryRowLine: the four visible columns of a row, tab-separated.
#include "catalogue/row_text.h"

namespace velbrook::catalogue {

std::string LibraryRowLine(const LibraryEntry& entry) {
  return entry.file + "\t" + entry.description + "\t" + entry.path + "\t" + entry.clsid + "\n";
}

}  // namespace velbrook::catalogue
