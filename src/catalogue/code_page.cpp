// UTF-8, UTF-16 and code page 1252 conversions and registry case folding.
#include "catalogue/code_page.h"

#include <cstdint>

namespace velbrook::catalogue {

namespace {

// Code page 1252 bytes 0x80 to 0x9F; the rest equal their Latin-1 code.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf16(uint32_t code, std::u16string* out) {
  if (code >= 0x10000) {
    code -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  } else {
    out->push_back(static_cast<char16_t>(code));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    uint32_t code = extra == 3   ? byte & 0x07
                    : extra == 2 ? byte & 0x0F
                    : extra == 1 ? byte & 0x1F
                                 : byte;
    bool valid = byte < 0x80 || extra > 0;
    size_t j = i + 1;
    for (int k = 0; k < extra && valid; ++k, ++j) {
      if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
    }
    if (!valid) {
      // A stray byte is taken as Latin-1 rather than dropped.
      out.push_back(byte);
      ++i;
      continue;
    }
    AppendUtf16(code, &out);
    i = j;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
      out.push_back(static_cast<char>(unit));
      continue;
    }
    char byte = '?';
    for (int i = 0; i < 32; ++i) {
      if (kHighControls[i] == unit) byte = static_cast<char>(0x80 + i);
    }
    out.push_back(byte);
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    out.push_back(byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
  }
  return out;
}

char16_t UpperCaseUnit(char16_t unit) {
  if (unit >= u'a' && unit <= u'z') return unit - 0x20;
  if (unit < 0xB5) return unit;
  if (unit == 0xB5) return 0x39C;
  if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) return unit - 0x20;
  if (unit == 0xFF) return 0x178;
  if (unit >= 0x100 && unit <= 0x17F && unit != 0x131 && unit != 0x138 && unit != 0x149 &&
      unit != 0x17F) {
    // Latin Extended-A pairs capital/small; the parity flips in 0x139-0x148
    // and 0x179-0x17E.
    bool odd_small = (unit >= 0x139 && unit <= 0x148) || (unit >= 0x179 && unit <= 0x17E);
    bool is_small = odd_small ? (unit % 2 == 0) : (unit % 2 == 1);
    return is_small ? unit - 1 : unit;
  }
  if (unit >= 0x3B1 && unit <= 0x3CB && unit != 0x3C2) return unit - 0x20;
  if (unit >= 0x430 && unit <= 0x44F) return unit - 0x20;
  if (unit >= 0x450 && unit <= 0x45F) return unit - 0x50;
  return unit;
}

std::u16string UpperCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& unit : out) unit = UpperCaseUnit(unit);
  return out;
}

}  // namespace velbrook::catalogue
