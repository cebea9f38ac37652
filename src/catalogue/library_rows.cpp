// LibraryRows: the File order, the sorted place of an added row, reordering.
#include "catalogue/library_rows.h"

#include <algorithm>

namespace velbrook::catalogue {

const char* RowProblemText(RowProblem problem) {
  switch (problem) {
    case RowProblem::kNone:
      return "";
    case RowProblem::kFileNotFound:
      return "file not found";
    case RowProblem::kUnreadable:
      return "cannot be read";
    case RowProblem::kNotTypeLibrary:
      return "not a type library";
  }
  return "";
}

bool FileOrderLess(const std::string& a, const std::string& b) {
  // std::string compares through memcmp: unsigned bytes, a prefix first.
  return a.compare(b) < 0;
}

size_t LibraryRows::Add(LibraryEntry entry) {
  const auto hidden = static_cast<uint32_t>(entries_.size());
  auto sorts_after = [this, &entry](uint32_t row) {
    return FileOrderLess(entry.file, entries_[row].file);
  };
  std::vector<uint32_t>::iterator place;
  if (in_file_order_) {
    place = std::partition_point(order_.begin(), order_.end(),
                                 [&](uint32_t row) { return !sorts_after(row); });
  } else {
    place = std::find_if(order_.begin(), order_.end(), sorts_after);
  }
  entries_.push_back(std::move(entry));
  const auto inserted = order_.insert(place, hidden);
  return static_cast<size_t>(inserted - order_.begin());
}

void LibraryRows::Clear() {
  entries_.clear();
  order_.clear();
  in_file_order_ = true;
}

bool LibraryRows::Reorder(std::vector<uint32_t> order) {
  if (order.size() != entries_.size()) return false;
  std::vector<bool> seen(order.size(), false);
  for (uint32_t hidden : order) {
    if (hidden >= seen.size() || seen[hidden]) return false;
    seen[hidden] = true;
  }
  order_ = std::move(order);
  in_file_order_ = std::is_sorted(order_.begin(), order_.end(), [this](uint32_t a, uint32_t b) {
    return FileOrderLess(entries_[a].file, entries_[b].file);
  });
  return true;
}

}  // namespace velbrook::catalogue
