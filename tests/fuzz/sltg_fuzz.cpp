// libFuzzer entry for the SLTG decoder: the bytes opened as a library (an
// SLTG file, or a PE module carrying one) and walked as a generation would.
// Its seeds are the SLTG test libraries, so mutations stay near the format.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "typeinfo/msft/portable_opener.h"
#include "typeinfo/walk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velbrook::typeinfo::msft::PortableOpener opener;
  // Imports resolve to the built-in stdole only: no file system look-ups.
  opener.SetSearchPaths({});
  auto library = opener.OpenLibraryBytes(std::vector<uint8_t>(data, data + size),
                                         "/nonexistent/fuzz-input.tlb");
  if (library.ok()) velbrook::typeinfo::WalkLibrary(**library);
  return 0;
}
