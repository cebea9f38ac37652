// The generic COM support block that may head a generated include file, and
// its writer.
#pragma once

#include <cstddef>
#include <string>

namespace velbrook::generic_block {

inline constexpr size_t kGenericBlockLineCount = 787;

// The block's lines without their line ends.
extern const char* const kGenericBlockLines[kGenericBlockLineCount];

// Appends the whole block to out, every line ended by CR LF. The block guards
// itself, so writing it twice into one file compiles once.
void WriteGenericBlock(std::string* out);

// The block as one text, as WriteGenericBlock appends it.
std::string GenericBlockText();

}  // namespace velbrook::generic_block
