// The library search as the program runs it: the kind of item asked for,
// the text, how far the walk has got (the caption's progress text), the rows
// found and whether Abort ended it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/search_query.h"

namespace velbrook::app {

// The kinds the search prompt offers, in the order it lists them: "Object
// class or interface" (the name search, the default), "Member", "GUID",
// "ProgID", "Any".
const std::vector<std::string>& SearchKindLabels();
// The kind of a position in that list; the name kind for any other number.
catalogue::SearchKind SearchKindOfChoice(int choice);

class SearchState {
 public:
  // The kind picked in the prompt, by its position in SearchKindLabels; a
  // number out of range picks the default. Kept from one search to the next.
  void ChooseKind(int choice);
  int kind_choice() const { return kind_choice_; }
  catalogue::SearchKind kind() const { return SearchKindOfChoice(kind_choice_); }

  // A new search for the text typed; forgets the last one.
  void Start(std::string text);
  void Found(size_t row) { found_rows_.push_back(row); }
  void Progress(std::string text) { progress_text_ = std::move(text); }
  // The walk ended, at the last row or at Abort.
  void Finish(bool aborted);

  bool running() const { return running_; }
  bool aborted() const { return aborted_; }
  const std::string& text() const { return text_; }
  const std::string& progress_text() const { return progress_text_; }
  // Rows found, top to bottom as the walk met them.
  const std::vector<size_t>& found_rows() const { return found_rows_; }
  int found_count() const { return static_cast<int>(found_rows_.size()); }
  // The message once a search has walked every row; none after Abort.
  std::string EndMessage() const;

 private:
  int kind_choice_ = 0;
  std::string text_;
  std::string progress_text_;
  std::vector<size_t> found_rows_;
  bool running_ = false;
  bool aborted_ = false;
};

}  // namespace velbrook::app
