// The search results' rows, cells and count.
#include "app/model/search_results.h"

namespace velbrook::app {

void SearchResultsModel::Clear() {
  results_.clear();
  library_count_ = 0;
}

void SearchResultsModel::Add(const LibraryEntry& library,
                             const std::vector<catalogue::SearchHit>& hits) {
  if (hits.empty()) return;
  ++library_count_;
  for (const catalogue::SearchHit& hit : hits) results_.push_back(SearchResult{library, hit});
}

std::string SearchResultsModel::CellText(size_t row, int column) const {
  if (row >= results_.size()) return std::string();
  const SearchResult& result = results_[row];
  switch (column) {
    case kFileColumn:
      return result.library.file;
    case kKindColumn:
      return catalogue::ItemKindWord(result.hit.kind);
    case kNameColumn:
      return result.hit.name;
    case kOwnerColumn:
      return result.hit.owner;
    case kDeclaredByColumn:
      return result.hit.declared_by;
    case kPathColumn:
      return result.library.path;
    default:
      return std::string();
  }
}

std::string SearchResultsModel::CountText() const {
  const size_t items = results_.size();
  return std::to_string(items) + (items == 1 ? " item" : " items") + " found in " +
         std::to_string(library_count_) + (library_count_ == 1 ? " library" : " libraries");
}

}  // namespace velbrook::app
