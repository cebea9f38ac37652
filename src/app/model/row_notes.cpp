// Notes and the status line of the last "Check what these need".
#include "app/model/row_notes.h"

namespace velbrook::app {

void RowNotes::Clear() {
  notes_.clear();
  status_.clear();
}

void RowNotes::Set(const NeededRows& found) {
  Clear();
  for (const NeededRow& row : found.rows) {
    notes_[{row.list, row.hidden}] = "needed by " + row.used_by;
  }
  const size_t added = found.rows.size();
  if (added == 0) {
    status_ = "Nothing more is needed.";
  } else {
    status_ = "Checked " + std::to_string(added) + (added == 1 ? " more row" : " more rows") +
              "; point at one to see what needs it.";
  }
  if (!found.warnings.empty()) {
    const size_t others = found.warnings.size();
    status_ += " " + std::to_string(others) + (others == 1 ? " type is" : " types are") +
               " in other libraries, first: " + found.warnings.front();
  }
}

std::string RowNotes::NoteOf(ContentsList list, size_t hidden) const {
  auto found = notes_.find({list, hidden});
  return found == notes_.end() ? std::string() : found->second;
}

}  // namespace velbrook::app
