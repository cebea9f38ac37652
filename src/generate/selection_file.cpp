// Writing and reading selection files. The reader is strict: a line it does
// not understand is an error naming the line, so a damaged file never
// generates something other than what was saved.
#include "generate/selection_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_map>

namespace velbrook::generate {
namespace {

// The longest line the reader takes: far longer than any type name or path.
constexpr size_t kMaxLineBytes = 32768;

// The lines that describe the library and the options, each required once.
const std::string kSettings[] = {"library", "version", "lcid", "path", "style", "generics"};

struct ListWord {
  ListKind list;
  const char* word;
};
// In the order the rows are written.
constexpr ListWord kListWords[] = {{ListKind::kTypes, "type"},
                                   {ListKind::kEnumerations, "enumeration"},
                                   {ListKind::kClasses, "class"},
                                   {ListKind::kEvents, "event"}};

const char* WordOf(ListKind list) {
  for (const ListWord& entry : kListWords) {
    if (entry.list == list) return entry.word;
  }
  return "";
}

// The name a row is saved and found by.
std::string RowName(ListKind list, const ContentsList& rows, size_t r) {
  return list == ListKind::kClasses ? ClassRowSelectName(rows, r) : rows.CellText(r, 0);
}

const ContentsList& ListFor(ListKind list, const ContentsList& classes, const ContentsList& events,
                            const ContentsList& types, const ContentsList& enumerations) {
  switch (list) {
    case ListKind::kClasses:
      return classes;
    case ListKind::kEvents:
      return events;
    case ListKind::kTypes:
      return types;
    case ListKind::kEnumerations:
      break;
  }
  return enumerations;
}

bool ParseNumber(const std::string& text, uint64_t max, uint64_t* value) {
  if (text.empty() || text.size() > 10 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *value = std::stoull(text);
  return *value <= max;
}

bool ParseVersion(const std::string& text, Selection* selection) {
  const size_t dot = text.find('.');
  uint64_t major = 0, minor = 0;
  if (dot == std::string::npos || !ParseNumber(text.substr(0, dot), 0xFFFF, &major) ||
      !ParseNumber(text.substr(dot + 1), 0xFFFF, &minor)) {
    return false;
  }
  selection->major = static_cast<uint16_t>(major);
  selection->minor = static_cast<uint16_t>(minor);
  return true;
}

bool LooksLikeBracedGuid(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const char c = text[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (dash ? c != '-' : !hex) return false;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(const std::string& source) : source_(source) {}

  Result<Selection> Parse(const std::string& text) {
    size_t at = 0;
    while (at < text.size()) {
      ++line_;
      size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(at, end - at);
      at = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > kMaxLineBytes) return Fail("the line is longer than any selection needs");
      for (unsigned char c : line) {
        if (c < 0x20 && c != '\t') return Fail("the line holds control characters: not a text");
      }
      Status read = Line(line);
      if (!read.ok()) return read.error();
    }
    if (line_ == 0) {
      ++line_;
      return Fail("the file is empty");
    }
    for (const std::string& key : kSettings) {
      if (seen_.count(key) == 0) return Fail("no \"" + key + "\" line");
    }
    return std::move(selection_);
  }

 private:
  Status Line(const std::string& line) {
    if (line_ == 1) {
      if (line == kSelectionMagic) return Status();
      if (line.rfind("velbrook selection ", 0) == 0) {
        return Fail("format \"" + line + "\" is not \"" + kSelectionMagic +
                    "\": written by another version of Velbrook");
      }
      return Fail(std::string("not a Velbrook selection file (it must start with \"") +
                  kSelectionMagic + "\")");
    }
    if (line.empty() || line[0] == '#') return Status();
    const size_t space = line.find(' ');
    const std::string key = line.substr(0, space);
    const std::string value = space == std::string::npos ? std::string() : line.substr(space + 1);
    for (const ListWord& entry : kListWords) {
      if (key != entry.word) continue;
      if (value.empty()) return Fail("\"" + key + "\" without a name");
      selection_.rows.push_back({entry.list, value});
      return Status();
    }
    if (std::find(std::begin(kSettings), std::end(kSettings), key) == std::end(kSettings)) {
      return Fail("unknown line \"" + key + "\"");
    }
    auto [first, added] = seen_.emplace(key, line_);
    if (!added) {
      return Fail("a second \"" + key + "\" line (the first is line " +
                  std::to_string(first->second) + ")");
    }
    return Setting(key, value);
  }

  Status Setting(const std::string& key, const std::string& value) {
    uint64_t number = 0;
    if (key == "library") {
      if (!LooksLikeBracedGuid(value)) return Fail("\"" + value + "\" is no library GUID");
      selection_.library_guid = value;
    } else if (key == "version") {
      if (!ParseVersion(value, &selection_))
        return Fail("\"" + value + "\" is no version MAJOR.MINOR");
    } else if (key == "lcid") {
      if (!ParseNumber(value, 0xFFFFFFFFu, &number)) return Fail("\"" + value + "\" is no LCID");
      selection_.lcid = static_cast<uint32_t>(number);
    } else if (key == "path") {
      if (value.empty()) return Fail("an empty path");
      selection_.path = value;
    } else if (key == "style") {
      if (value != "invoke" && value != "vtable") {
        return Fail("style \"" + value + "\" is neither invoke nor vtable");
      }
      selection_.use_invoke = value == "invoke";
    } else {  // generics
      if (value != "on" && value != "off") {
        return Fail("generics \"" + value + "\" is neither on nor off");
      }
      selection_.include_generics = value == "on";
    }
    return Status();
  }

  Error Fail(const std::string& message) const {
    return MakeError(ErrorKind::kMalformedFile,
                     source_ + ":" + std::to_string(line_) + ": " + message);
  }

  const std::string& source_;
  size_t line_ = 0;
  std::map<std::string, size_t> seen_;
  Selection selection_;
};

}  // namespace

Selection SelectionOf(const typeinfo::Library& library, const std::string& path,
                      const ContentsList& classes, const ContentsList& events,
                      const ContentsList& types, const ContentsList& enumerations) {
  Selection selection;
  selection.library_guid = library.GuidText();
  selection.major = library.MajorVersion();
  selection.minor = library.MinorVersion();
  selection.lcid = library.Lcid();
  selection.path = path;
  for (const ListWord& entry : kListWords) {
    const ContentsList& rows = ListFor(entry.list, classes, events, types, enumerations);
    // Library order, whatever order the user sorted the list into.
    std::vector<std::pair<size_t, std::string>> checked;
    for (size_t r = 0; r < rows.RowCount(); ++r) {
      if (rows.IsChecked(r))
        checked.emplace_back(rows.HiddenNumber(r), RowName(entry.list, rows, r));
    }
    std::sort(checked.begin(), checked.end());
    for (auto& row : checked) selection.rows.push_back({entry.list, std::move(row.second)});
  }
  return selection;
}

std::string SelectionText(const Selection& selection) {
  std::string text = std::string(kSelectionMagic) + "\n";
  text += "library " + selection.library_guid + "\n";
  text +=
      "version " + std::to_string(selection.major) + "." + std::to_string(selection.minor) + "\n";
  text += "lcid " + std::to_string(selection.lcid) + "\n";
  text += "path " + selection.path + "\n";
  text += std::string("style ") + (selection.use_invoke ? "invoke" : "vtable") + "\n";
  text += std::string("generics ") + (selection.include_generics ? "on" : "off") + "\n";
  for (const SelectionRow& row : selection.rows) {
    // A name that would break its line cannot be saved; it is left out.
    if (row.name.find_first_of("\r\n") != std::string::npos) continue;
    text += std::string(WordOf(row.list)) + " " + row.name + "\n";
  }
  return text;
}

std::string DefaultSelectionFileName(const std::string& file_text) {
  return file_text.substr(0, file_text.find('.')) + ".sel";
}

Result<Selection> ParseSelection(const std::string& text, const std::string& source) {
  return Parser(source).Parse(text);
}

Result<Selection> ReadSelectionFile(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return MakeError(ErrorKind::kIo, "cannot read " + path + ": " + error.message());
  if (size > kMaxSelectionBytes) {
    return MakeError(ErrorKind::kTooLarge, path + ": " + std::to_string(size) +
                                               " bytes is too large for a selection file");
  }
  std::ifstream in(path, std::ios::binary);
  std::string text(static_cast<size_t>(size), '\0');
  if (!in || !in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    return MakeError(ErrorKind::kIo, "cannot read " + path);
  }
  return ParseSelection(text, path);
}

std::vector<RowRef> RowsOfSelection(const Selection& selection, const ContentsList& classes,
                                    const ContentsList& events, const ContentsList& types,
                                    const ContentsList& enumerations,
                                    std::vector<std::string>* missing) {
  std::vector<RowRef> found;
  for (const ListWord& entry : kListWords) {
    const ContentsList& rows = ListFor(entry.list, classes, events, types, enumerations);
    std::unordered_multimap<std::string, size_t> hidden_of;
    for (size_t r = 0; r < rows.RowCount(); ++r) {
      hidden_of.emplace(RowName(entry.list, rows, r), rows.HiddenNumber(r));
    }
    for (const SelectionRow& row : selection.rows) {
      if (row.list != entry.list) continue;
      auto [first, last] = hidden_of.equal_range(row.name);
      if (first == last) missing->push_back(std::string(entry.word) + " " + row.name);
      for (auto it = first; it != last; ++it) found.push_back({entry.list, it->second});
    }
  }
  return found;
}

}  // namespace velbrook::generate
