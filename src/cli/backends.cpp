// Backend selection for the command line.
#include "cli/backends.h"

#if defined(_WIN32)
#include "typeinfo/oleaut/oleaut_opener.h"
#endif
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::cli {

std::unique_ptr<typeinfo::Opener> MakeOpener(const std::string& backend,
                                             const ImportSearch& imports) {
#if defined(_WIN32)
  if (backend == "oleaut") return std::make_unique<typeinfo::oleaut::OleautOpener>();
#endif
  if (backend == "portable") {
    auto opener = std::make_unique<typeinfo::msft::PortableOpener>();
    opener->SetLocator(imports.registry);
    opener->SetSearchPaths(imports.folders);
    return opener;
  }
  return nullptr;
}

const char* DefaultBackend() {
#if defined(_WIN32)
  return "oleaut";
#else
  return "portable";
#endif
}

}  // namespace velbrook::cli
