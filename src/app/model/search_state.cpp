// The search's progress, found rows and end.
#include "app/model/search_state.h"

#include <utility>

#include "catalogue/library_search.h"

namespace velbrook::app {

void SearchState::Start(std::string text) {
  text_ = std::move(text);
  progress_text_.clear();
  found_rows_.clear();
  running_ = true;
  aborted_ = false;
}

void SearchState::Finish(bool aborted) {
  running_ = false;
  aborted_ = aborted;
}

std::string SearchState::EndMessage() const {
  if (running_ || aborted_) return std::string();
  return catalogue::SearchEndMessage(text_, found_count());
}

}  // namespace velbrook::app
