// Opening a library file with LoadTypeLibEx, without registering it.
#include "typeinfo/oleaut/oleaut_opener.h"

#include <cstdio>

#include "typeinfo/msft/pe_resource.h"
#include "typeinfo/oleaut/com_text.h"
#include "typeinfo/oleaut/fault_guard.h"
#include "typeinfo/oleaut/oleaut_objects.h"

namespace velbrook::typeinfo::oleaut {

Result<std::unique_ptr<Library>> OleautOpener::OpenLibraryFile(const std::string& path) const {
  std::wstring wide = TextToWide(path);
  ITypeLib* lib = nullptr;
  HRESULT hr = E_FAIL;
  if (!Guarded([&] { hr = LoadTypeLibEx(wide.c_str(), REGKIND_NONE, &lib); })) {
    return MakeError(ErrorKind::kCorrupt, path + ": oleaut32 faulted while reading it");
  }
  if (FAILED(hr) || lib == nullptr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    DWORD attributes = GetFileAttributesA(path.c_str());
    ErrorKind kind =
        attributes == INVALID_FILE_ATTRIBUTES ? ErrorKind::kNotFound : ErrorKind::kNotTypeLibrary;
    return MakeError(kind, path + ": LoadTypeLibEx failed with " + code);
  }
  return std::unique_ptr<Library>(std::make_unique<OleautLibrary>(lib, path));
}

Result<std::vector<uint16_t>> OleautOpener::TypeLibResourceNumbers(const std::string& path) const {
  return msft::TypeLibResourceNumbersOfFile(path);
}

}  // namespace velbrook::typeinfo::oleaut
