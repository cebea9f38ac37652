// COM start and end for the real services' tests.
#include "com_scope.h"

#include <objbase.h>

namespace velbrook::app::testing {

void InitializeCom() { CoInitialize(nullptr); }
void UninitializeCom() { CoUninitialize(); }

}  // namespace velbrook::app::testing
