// Imported libraries found through the registry as LoadRegTypeLib finds
// them, for the portable reader: by GUID, version and locale.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/host.h"
#include "catalogue/host_catalogue.h"
#include "catalogue/registry.h"
#include "typeinfo/library_locator.h"

namespace velbrook::catalogue {

// The file registered for TypeLib\{guid}: the version major.minor itself, or
// else the same major with the greatest minor above it; below that version
// the locale's key, else its primary language's, else the neutral "0", each
// under the program's platform key ("win64" when win64 is set, else
// "win32"), then all of them under the other one. %NAME% references are
// expanded. Empty text when no registered version qualifies.
std::string FindRegisteredTypeLib(const ClassesRegistry& registry, const Environment& environment,
                                  const std::string& guid_text, uint16_t major, uint16_t minor,
                                  uint32_t lcid, bool win64);

class RegistryLocator : public typeinfo::LibraryLocator {
 public:
  explicit RegistryLocator(std::shared_ptr<const HostCatalogue> host) : host_(std::move(host)) {}
  // The registered path as this program opens it.
  std::optional<std::string> Locate(const std::string& guid_text, uint16_t major, uint16_t minor,
                                    uint32_t lcid) const override;

 private:
  std::shared_ptr<const HostCatalogue> host_;
};

}  // namespace velbrook::catalogue
