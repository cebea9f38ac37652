// Backend selection for the command line.
#include "cli/backends.h"

#if defined(_WIN32)
#include "typeinfo/oleaut/oleaut_opener.h"
#endif
#include "typeinfo/msft/portable_opener.h"

namespace velbrook::cli {

std::unique_ptr<typeinfo::Opener> MakeOpener(const std::string& backend) {
#if defined(_WIN32)
  if (backend == "oleaut") return std::make_unique<typeinfo::oleaut::OleautOpener>();
#endif
  if (backend == "portable") return std::make_unique<typeinfo::msft::PortableOpener>();
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
