// Text conversions for the Wine reader: UTF-8 (registry files, Unix file
// names), UTF-16 (registry contents) and the ANSI code page, taken to be
// 1252 as in Wine's default English and Western European locales.
#pragma once

#include <string>
#include <string_view>

namespace velbrook::catalogue {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Characters without a code 1252 byte become "?", as WideCharToMultiByte does.
std::string Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);
// Upper case as the registry compares names: ASCII, Latin-1, Greek and
// Cyrillic letters; other characters unchanged.
char16_t UpperCaseUnit(char16_t unit);
std::u16string UpperCase(std::u16string_view text);

}  // namespace velbrook::catalogue
