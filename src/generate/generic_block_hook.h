// The generic COM support block as generation writes it, when linked in.
#pragma once

#include "generate/generation_context.h"

namespace velbrook::generate {

// Writes the generic COM support block through the include writer; an
// empty writer when this build has no generic block library.
GenericBlockWriter LinkedGenericBlock();

}  // namespace velbrook::generate
