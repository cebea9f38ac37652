// A line list with a hash index beside its ordered entries.
#include "render/line_list.h"

namespace velbrook::render {

LineList::LineList(std::initializer_list<std::string_view> lines) {
  for (std::string_view line : lines) Append(line);
}

void LineList::Clear() {
  lines_.clear();
  index_.clear();
}

void LineList::Append(std::string_view line) {
  lines_.emplace_back(line);
  index_.emplace(line);
}

bool LineList::Contains(std::string_view line) const {
  return index_.find(std::string(line)) != index_.end();
}

std::string LineList::Line(size_t number) const {
  if (number < 1 || number > lines_.size()) return std::string();
  return lines_[number - 1];
}

std::string LineList::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace velbrook::render
