#include "app/model/sorted_files.h"

#include <algorithm>

#include "app/model/list_rules.h"

namespace velbrook::app {
namespace {

bool Less(const std::string& a, const std::string& b) { return CompareSortKeys(a, b) < 0; }

}  // namespace

int SortedFiles::PositionFor(const std::string& file) const {
  if (!in_order_) return SortedInsertPosition(files_, file);
  return static_cast<int>(std::upper_bound(files_.begin(), files_.end(), file, Less) -
                          files_.begin());
}

void SortedFiles::Insert(int position, const std::string& file) {
  const size_t at = std::min(static_cast<size_t>(std::max(position, 0)), files_.size());
  files_.insert(files_.begin() + static_cast<std::ptrdiff_t>(at), file);
  if (in_order_) {
    const bool after_previous = at == 0 || !Less(file, files_[at - 1]);
    const bool before_next = at + 1 == files_.size() || !Less(files_[at + 1], file);
    in_order_ = after_previous && before_next;
  }
}

void SortedFiles::Reset(std::vector<std::string> files) {
  files_ = std::move(files);
  in_order_ = std::is_sorted(files_.begin(), files_.end(), Less);
}

}  // namespace velbrook::app
