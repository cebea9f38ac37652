// Parser of Wine's registry files: "[key\\path]" sections, "@=" and
// "\"name\"=" values in the forms "...", str(N):"...", dword: and hex(N):,
// with Wine's string escapes (\\ \" \n \xNNNN \ooo ...).
#include "catalogue/wine_registry_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "catalogue/code_page.h"

namespace velbrook::catalogue {

namespace {

constexpr std::u16string_view kHeader = u"WINE REGISTRY Version 2";

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads an escaped string up to the unescaped terminator; pos ends after it.
bool ParseEscaped(std::u16string_view line, size_t* pos, char16_t terminator, std::u16string* out) {
  size_t i = *pos;
  while (i < line.size()) {
    char16_t c = line[i++];
    if (c == terminator) {
      *pos = i;
      return true;
    }
    if (c != u'\\' || i >= line.size()) {
      out->push_back(c);
      continue;
    }
    c = line[i++];
    switch (c) {
      case u'a':
        out->push_back(7);
        break;
      case u'b':
        out->push_back(8);
        break;
      case u'e':
        out->push_back(0x1B);
        break;
      case u'f':
        out->push_back(12);
        break;
      case u'n':
        out->push_back(10);
        break;
      case u'r':
        out->push_back(13);
        break;
      case u't':
        out->push_back(9);
        break;
      case u'v':
        out->push_back(11);
        break;
      case u'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && i < line.size() && HexDigit(line[i]) >= 0) {
          value = value * 16 + HexDigit(line[i++]);
          ++digits;
        }
        // "\x" without digits stands for the letter itself.
        out->push_back(digits == 0 ? u'x' : static_cast<char16_t>(value));
        break;
      }
      default:
        if (c >= u'0' && c <= u'7') {
          unsigned value = c - u'0';
          for (int digits = 1; digits < 3 && i < line.size() && line[i] >= u'0' && line[i] <= u'7';
               ++digits) {
            value = value * 8 + (line[i++] - u'0');
          }
          out->push_back(static_cast<char16_t>(value));
        } else {
          out->push_back(c);
        }
    }
  }
  return false;
}

std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2 + 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

bool StartsWith(std::u16string_view text, size_t pos, std::u16string_view prefix) {
  return text.substr(pos, prefix.size()) == prefix;
}

// "hex:" or "hex(N):" data: comma-separated byte pairs.
bool ParseHexBytes(std::u16string_view data, std::string* bytes) {
  int high = -1;
  for (char16_t c : data) {
    if (c == u',' || c == u' ' || c == u'\t') {
      if (high >= 0) return false;
      continue;
    }
    int digit = HexDigit(c);
    if (digit < 0) return false;
    if (high < 0) {
      high = digit;
    } else {
      bytes->push_back(static_cast<char>(high * 16 + digit));
      high = -1;
    }
  }
  return high < 0;
}

// Parses "=" data of a value line starting at pos.
bool ParseData(std::u16string_view line, size_t pos, WineValue* value) {
  if (pos < line.size() && line[pos] == u'"') {
    std::u16string text;
    ++pos;
    if (!ParseEscaped(line, &pos, u'"', &text)) return false;
    value->type = 1;
    value->bytes = Utf16Bytes(text) + std::string(2, '\0');
    return true;
  }
  if (StartsWith(line, pos, u"str(")) {
    size_t close = line.find(u"):\"", pos);
    if (close == std::u16string_view::npos) return false;
    unsigned type = 0;
    for (size_t i = pos + 4; i < close; ++i) {
      int digit = HexDigit(line[i]);
      if (digit < 0) return false;
      type = type * 16 + digit;
    }
    size_t at = close + 3;
    std::u16string text;
    if (!ParseEscaped(line, &at, u'"', &text)) return false;
    value->type = type;
    value->bytes = Utf16Bytes(text) + std::string(2, '\0');
    return true;
  }
  if (StartsWith(line, pos, u"dword:")) {
    unsigned long number = 0;
    size_t i = pos + 6;
    int digits = 0;
    for (; i < line.size() && HexDigit(line[i]) >= 0 && digits < 8; ++i, ++digits) {
      number = number * 16 + HexDigit(line[i]);
    }
    if (digits == 0) return false;
    value->type = 4;
    value->bytes.clear();
    for (int b = 0; b < 4; ++b)
      value->bytes.push_back(static_cast<char>((number >> (8 * b)) & 0xFF));
    return true;
  }
  if (StartsWith(line, pos, u"hex")) {
    size_t colon = line.find(u':', pos);
    if (colon == std::u16string_view::npos) return false;
    unsigned type = 3;
    if (StartsWith(line, pos, u"hex(")) {
      type = 0;
      for (size_t i = pos + 4; i < colon && line[i] != u')'; ++i) {
        int digit = HexDigit(line[i]);
        if (digit < 0) return false;
        type = type * 16 + digit;
      }
    } else if (colon != pos + 3) {
      return false;
    }
    value->type = type;
    value->bytes.clear();
    return ParseHexBytes(line.substr(colon + 1), &value->bytes);
  }
  return false;
}

// Splits the file into lines, joining hex continuations ending in "\".
std::vector<std::u16string> LogicalLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string current;
  bool continuing = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    if (continuing) {
      size_t first = line.find_first_not_of(u" \t");
      line = first == std::u16string_view::npos ? std::u16string_view() : line.substr(first);
    }
    current.append(line);
    // Only hex data continues; a string ends with its closing quote.
    continuing = !current.empty() && current.back() == u'\\' &&
                 current.find(u"=hex") != std::u16string::npos;
    if (continuing) {
      current.pop_back();
    } else {
      lines.push_back(std::move(current));
      current.clear();
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

WineKeyNode* AddKeyPath(WineKeyNode* root, std::u16string_view path) {
  WineKeyNode* node = root;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) node = node->AddSubkey(path.substr(start, end - start));
    start = end + 1;
  }
  return node;
}

}  // namespace

const WineKeyNode* WineKeyNode::Subkey(std::u16string_view name) const {
  auto it = subkeys.find(UpperCase(name));
  return it == subkeys.end() ? nullptr : it->second.get();
}

WineKeyNode* WineKeyNode::AddSubkey(std::u16string_view name) {
  std::unique_ptr<WineKeyNode>& slot = subkeys[UpperCase(name)];
  if (!slot) {
    slot = std::make_unique<WineKeyNode>();
    slot->name = std::u16string(name);
  }
  return slot.get();
}

std::u16string WineKeyNode::LinkTarget() const {
  if (!is_link) return u"";
  auto it = values.find(UpperCase(u"SymbolicLinkValue"));
  if (it == values.end()) return u"";
  std::u16string target;
  const std::string& bytes = it->second.bytes;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit =
        static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    target.push_back(unit);
  }
  return target;
}

Result<WineRegistryFile> ParseWineRegistryFile(std::string_view text) {
  std::u16string wide = Utf8ToUtf16(text);
  std::vector<std::u16string> lines = LogicalLines(wide);
  if (lines.empty() || lines[0].substr(0, kHeader.size()) != kHeader) {
    return MakeError(ErrorKind::kMalformedFile,
                     "not a Wine registry file (no \"WINE REGISTRY Version 2\")");
  }
  WineRegistryFile file;
  WineKeyNode* current = nullptr;
  for (size_t n = 1; n < lines.size(); ++n) {
    std::u16string_view line = lines[n];
    if (line.empty() || line[0] == u';') continue;
    if (line[0] == u'#') {
      if (line == u"#link" && current != nullptr) current->is_link = true;
      if (current == nullptr && StartsWith(line, 0, u"#arch=")) {
        file.arch = Utf16ToUtf8(line.substr(6));
      }
      continue;
    }
    if (line[0] == u'[') {
      size_t pos = 1;
      std::u16string path;
      current = ParseEscaped(line, &pos, u']', &path) ? AddKeyPath(&file.root, path) : nullptr;
      continue;
    }
    if (current == nullptr) continue;
    WineValue value;
    size_t pos = 0;
    if (line[0] == u'@') {
      pos = 1;
    } else if (line[0] == u'"') {
      pos = 1;
      if (!ParseEscaped(line, &pos, u'"', &value.name)) continue;
    } else {
      continue;
    }
    if (pos >= line.size() || line[pos] != u'=') continue;
    if (!ParseData(line, pos + 1, &value)) continue;
    std::u16string key = UpperCase(value.name);
    current->values[key] = std::move(value);
  }
  return file;
}

Result<WineRegistryFile> LoadWineRegistryFile(const std::string& unix_path) {
  std::ifstream in(unix_path, std::ios::binary);
  if (!in) return MakeError(ErrorKind::kNotFound, "cannot open " + unix_path);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return MakeError(ErrorKind::kIo, "cannot read " + unix_path);
  auto file = ParseWineRegistryFile(buffer.str());
  if (!file.ok()) return MakeError(file.error().kind, unix_path + ": " + file.error().message);
  return file;
}

}  // namespace velbrook::catalogue
