// Hands each row the catalogue's scan completes to the program's scan sink.
#include "app/win/scan_adapter.h"

namespace velbrook::app {

void ScanSinkLibraryList::InsertRow(int index, const std::string& file) {
  shadow_.InsertRow(index, file);
}

void ScanSinkLibraryList::SetCellText(int row, int column, const std::string& text) {
  shadow_.SetCellText(row, column, text);
  // The scan writes the Hidden cell last; the row is then complete. The sink
  // computes the same sorted place and Hidden number from the window's list.
  if (column != catalogue::kColumnHidden) return;
  LibraryEntry entry;
  entry.file = shadow_.CellText(row, catalogue::kColumnFile);
  entry.description = shadow_.CellText(row, catalogue::kColumnDescription);
  entry.path = shadow_.CellText(row, catalogue::kColumnPath);
  entry.clsid = shadow_.CellText(row, catalogue::kColumnClsid);
  sink_->AddLibrary(entry);
}

}  // namespace velbrook::app
