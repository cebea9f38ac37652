// The versions of one registered library, read through open keys.
#include "catalogue/registered_versions.h"

#include <memory>

#include "catalogue/environment_text.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

std::vector<RegisteredVersion> ReadRegisteredVersions(const RegistryKey& library_key,
                                                      const Environment& environment) {
  std::vector<RegisteredVersion> versions;
  for (uint32_t index = 0;; ++index) {
    std::string name = EnumSubkeyName(&library_key, index);
    if (name == kRegistryError) break;
    std::unique_ptr<RegistryKey> version_key = OpenSubkey(&library_key, name);
    RegisteredVersion version;
    version.description = EnumValueText(version_key.get(), 0, true);
    version.file = FindWin32File(version_key.get());
    if (version.file.find('%') != std::string::npos) {
      version.file = ExpandEnvironmentText(version.file, environment);
    }
    version.version = std::move(name);
    versions.push_back(std::move(version));
  }
  return versions;
}

}  // namespace velbrook::catalogue
