// An Opener that maps the Windows paths of library rows to Unix paths of a
// Wine prefix before handing them to the real reader.
#pragma once

#include <memory>
#include <string>

#include "catalogue/wine_paths.h"
#include "typeinfo/component.h"

namespace velbrook::catalogue {

// The Unix path of a registered Windows path in the prefix; a trailing "\N"
// resource number is kept after the mapped file path. The path itself when
// it cannot be mapped.
std::string MapRegisteredPath(const WinePathMapper& paths, const std::string& path);

class MappedOpener : public typeinfo::Opener {
 public:
  MappedOpener(const typeinfo::Opener& opener, const WinePathMapper& paths)
      : opener_(opener), paths_(paths) {}
  Result<std::unique_ptr<typeinfo::Library>> OpenLibraryFile(
      const std::string& path) const override;
  Result<std::vector<uint16_t>> TypeLibResourceNumbers(const std::string& path) const override;
  std::string MapPath(const std::string& path) const { return MapRegisteredPath(paths_, path); }

 private:
  const typeinfo::Opener& opener_;
  const WinePathMapper& paths_;
};

}  // namespace velbrook::catalogue
