// The readers the command line can open libraries with.
#pragma once

#include <memory>
#include <string>

#include "typeinfo/component.h"

namespace velbrook::cli {

// "portable" (both builds) or "oleaut" (Windows only); null for any other.
std::unique_ptr<typeinfo::Opener> MakeOpener(const std::string& backend);
const char* DefaultBackend();

}  // namespace velbrook::cli
