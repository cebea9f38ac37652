// The File column of the library list as a scan fills it: a copy kept beside
// the list view so that each new row's sorted place is found without reading
// every cell back out of the window (a message per row for every row made
// filling the list quadratic in the number of registered libraries).
#pragma once

#include <string>
#include <vector>

namespace velbrook::app {

class SortedFiles {
 public:
  // Where a row with this File goes: as SortedInsertPosition, found by a
  // binary search while the copy is in order (it stays in order as long as
  // rows are only added at the places this gives).
  int PositionFor(const std::string& file) const;
  void Insert(int position, const std::string& file);
  // Starts again from the list's cells, for when the list changed under the
  // copy (a sort by another column, say).
  void Reset(std::vector<std::string> files);

  size_t size() const { return files_.size(); }
  const std::string& at(size_t row) const { return files_[row]; }

 private:
  std::vector<std::string> files_;
  bool in_order_ = true;
};

}  // namespace velbrook::app
