// The readers the command line can open libraries with.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "typeinfo/component.h"
#include "typeinfo/library_locator.h"

namespace velbrook::cli {

// Where the portable reader looks for the libraries a library imports,
// besides the importing library's own folder and the built-in stdole2.
struct ImportSearch {
  // The registry, asked first; none: not asked.
  std::shared_ptr<const typeinfo::LibraryLocator> registry;
  // Folders searched after the importing library's own.
  std::vector<std::string> folders;
};

// "portable" (both builds) or "oleaut" (Windows only); null for any other.
// oleaut32 looks for imports itself and ignores `imports`.
std::unique_ptr<typeinfo::Opener> MakeOpener(const std::string& backend,
                                             const ImportSearch& imports = {});
const char* DefaultBackend();

}  // namespace velbrook::cli
