// What "Check what these need" found, kept for the contents window to show:
// a note per row it checked (the row's tool tip) and one status line.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "app/model/app_services.h"

namespace velbrook::app {

class RowNotes {
 public:
  // Forgets every note: the lists were filled again.
  void Clear();
  void Set(const NeededRows& found);
  // "needed by Rect.topLeft" for a row the check added; empty otherwise.
  std::string NoteOf(ContentsList list, size_t hidden) const;
  // "Checked 3 more rows; point at one to see what needs it." and the
  // first type needed from another library.
  const std::string& StatusText() const { return status_; }

 private:
  std::map<std::pair<ContentsList, size_t>, std::string> notes_;
  std::string status_;
};

}  // namespace velbrook::app
