// COM start and end for the real services' tests, kept out of their source
// because objbase.h's "interface" macro breaks the generator's headers.
#pragma once

namespace velbrook::app::testing {

void InitializeCom();
void UninitializeCom();

}  // namespace velbrook::app::testing
