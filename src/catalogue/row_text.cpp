// LibraryRowLine: the four visible columns of a row, tab-separated.
#include "catalogue/row_text.h"

namespace velbrook::catalogue {

std::string LibraryRowLine(const LibraryList& list, int row) {
  return list.CellText(row, kColumnFile) + "\t" + list.CellText(row, kColumnDescription) + "\t" +
         list.CellText(row, kColumnPath) + "\t" + list.CellText(row, kColumnClsid) + "\n";
}

}  // namespace velbrook::catalogue
