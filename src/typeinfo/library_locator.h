// Finding a registered type library by its identity, as LoadRegTypeLib does:
// the registry on Windows, a Wine prefix's registry elsewhere. The portable
// reader asks it first for every library another one imports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velbrook::typeinfo {

class LibraryLocator {
 public:
  virtual ~LibraryLocator() = default;
  // `guid_text` as "{XXXXXXXX-...}"; the path of the library file (with a
  // trailing "\N" for TYPELIB resource N) that this system can open, if any.
  virtual std::optional<std::string> Locate(const std::string& guid_text, uint16_t major,
                                            uint16_t minor, uint32_t lcid) const = 0;
};

}  // namespace velbrook::typeinfo
