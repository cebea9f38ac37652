// Writer of the generic COM support block.
#include "generic_block/generic_block.h"

namespace velbrook::generic_block {

void WriteGenericBlock(std::string* out) {
  for (const char* line : kGenericBlockLines) {
    out->append(line);
    out->append("\r\n");
  }
}

std::string GenericBlockText() {
  std::string text;
  WriteGenericBlock(&text);
  return text;
}

}  // namespace velbrook::generic_block
