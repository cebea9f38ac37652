// Small text operations the renderers share: ASCII case, blank trimming,
// replace-all and the first blank-separated word.
#pragma once

#include <string>
#include <string_view>

namespace velbrook::render {

// Only ASCII letters change; other bytes (code page text) stay as they are.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Removes blanks and tabs from both ends.
std::string TrimBlanks(std::string_view text);

// One left-to-right pass over non-overlapping occurrences, so "   " with
// ("  ", " ") gives "  ".
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Repeats the pair-of-blanks replacement until no pair is left.
std::string CollapseBlanks(std::string_view text);

// The text up to its first blank (the whole text when it has none).
std::string FirstWord(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
// Control characters (below 0x20, and 0x7F) shown as "?", so that a text
// from a library stays on one line of a comment or a warning.
std::string OneLineText(std::string_view text);
bool Contains(std::string_view text, std::string_view part);

}  // namespace velbrook::render
