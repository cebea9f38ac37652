// The items a search by member, GUID, ProgID or any kind found, one row per
// item in the order the search met them, each with the library that holds
// it; the results window shows them and opens the library at an item.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/model/library_list_model.h"
#include "catalogue/search_query.h"

namespace velbrook::app {

struct SearchResult {
  // Kept by value: the library list may be re-sorted or re-scanned while
  // the results are shown.
  LibraryEntry library;
  catalogue::SearchHit hit;
};

class SearchResultsModel {
 public:
  enum Column : int {
    kFileColumn = 0,
    kKindColumn,
    kNameColumn,
    kOwnerColumn,
    kDeclaredByColumn,
    kPathColumn,
  };
  static constexpr int kColumnCount = 6;

  void Clear();
  // The items found in one library.
  void Add(const LibraryEntry& library, const std::vector<catalogue::SearchHit>& hits);

  size_t size() const { return results_.size(); }
  const SearchResult& Result(size_t row) const { return results_.at(row); }
  // File, the item's kind word, its name, a member's owner, the base
  // interface that declares an inherited member, Path; empty text for a row
  // or column out of range.
  std::string CellText(size_t row, int column) const;
  // "3 items found in 2 libraries".
  std::string CountText() const;

 private:
  std::vector<SearchResult> results_;
  size_t library_count_ = 0;
};

}  // namespace velbrook::app
