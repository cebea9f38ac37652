// The oleaut32 reader: the component's operations answered by Windows'
// ITypeLib / ITypeInfo.
#pragma once

#include "typeinfo/component.h"

namespace velbrook::typeinfo::oleaut {

class OleautOpener : public Opener {
 public:
  // COM must be initialised on the calling thread.
  Result<std::unique_ptr<Library>> OpenLibraryFile(const std::string& path) const override;
  // Read from the module's resource directory by the portable reader's
  // bounds-checked walk: the resource numbers LoadTypeLibEx takes as "\N".
  Result<std::vector<uint16_t>> TypeLibResourceNumbers(const std::string& path) const override;
};

}  // namespace velbrook::typeinfo::oleaut
