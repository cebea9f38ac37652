// The search's kind choice, progress, found rows and end.
#include "app/model/search_state.h"

#include <utility>

#include "catalogue/library_search.h"

namespace velbrook::app {

namespace {

struct KindChoice {
  const char* label;
  catalogue::SearchKind kind;
};

constexpr KindChoice kKindChoices[] = {
    {"Object class or interface", catalogue::SearchKind::kName},
    {"Member", catalogue::SearchKind::kMember},
    {"GUID", catalogue::SearchKind::kGuid},
    {"ProgID", catalogue::SearchKind::kProgId},
    {"Any", catalogue::SearchKind::kAny},
};
constexpr int kKindChoiceCount = static_cast<int>(sizeof(kKindChoices) / sizeof(kKindChoices[0]));

}  // namespace

const std::vector<std::string>& SearchKindLabels() {
  static const std::vector<std::string> labels = [] {
    std::vector<std::string> texts;
    for (const KindChoice& choice : kKindChoices) texts.emplace_back(choice.label);
    return texts;
  }();
  return labels;
}

catalogue::SearchKind SearchKindOfChoice(int choice) {
  if (choice < 0 || choice >= kKindChoiceCount) return catalogue::SearchKind::kName;
  return kKindChoices[choice].kind;
}

void SearchState::ChooseKind(int choice) {
  kind_choice_ = choice >= 0 && choice < kKindChoiceCount ? choice : 0;
}

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
