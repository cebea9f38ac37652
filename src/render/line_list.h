// A line list: ordered entries looked up by whole-line, case-sensitive
// equality. A hash set beside the lines keeps look-ups constant-time, so a
// wrapper with thousands of members renders in linear time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace velbrook::render {

class LineList {
 public:
  LineList() = default;
  LineList(std::initializer_list<std::string_view> lines);

  void Clear();
  // Appends one entry. Entries hold no CR LF (names never do); the text form
  // would otherwise read such an entry as several lines.
  void Append(std::string_view line);
  // True when some entry equals line exactly.
  bool Contains(std::string_view line) const;
  size_t Count() const { return lines_.size(); }
  // Entry by 1-based line number; empty text outside 1..Count().
  std::string Line(size_t number) const;
  // The list as text: every entry followed by CR LF.
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
  std::unordered_set<std::string> index_;
};

}  // namespace velbrook::render
