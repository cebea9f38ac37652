// Binds the generic block library to the driver's writer hook.
#include "generate/generic_block_hook.h"

#if defined(VELBROOK_HAVE_GENERIC_BLOCK)
#include "generic_block/generic_block.h"
#endif

namespace velbrook::generate {

GenericBlockWriter LinkedGenericBlock() {
#if defined(VELBROOK_HAVE_GENERIC_BLOCK)
  return [](IncludeWriter* writer) {
    std::string text;
    generic_block::WriteGenericBlock(&text);
    // Its lines end with CR LF already; written as they are.
    writer->WriteRaw(text);
  };
#else
  return {};
#endif
}

}  // namespace velbrook::generate
