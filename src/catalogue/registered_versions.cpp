// The versions of one registered library, read through open keys.
#include "catalogue/registered_versions.h"

#include <memory>

#include "catalogue/environment_text.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

std::string Expanded(std::string file, const Environment& environment) {
  if (file.find('%') == std::string::npos) return file;
  return ExpandEnvironmentText(file, environment);
}

}  // namespace

std::vector<RegisteredVersion> ReadRegisteredVersions(const RegistryKey& library_key,
                                                      const Environment& environment,
                                                      bool with_win64) {
  std::vector<RegisteredVersion> versions;
  for (uint32_t index = 0;; ++index) {
    std::string name = EnumSubkeyName(&library_key, index);
    if (name == kRegistryError) break;
    std::unique_ptr<RegistryKey> version_key = OpenSubkey(&library_key, name);
    RegisteredVersion version;
    version.description = EnumValueText(version_key.get(), 0, true);
    version.file = Expanded(FindWin32File(version_key.get()), environment);
    if (with_win64) {
      version.file_64 = Expanded(FindPlatformFile(version_key.get(), "win64"), environment);
    }
    version.version = std::move(name);
    versions.push_back(std::move(version));
  }
  return versions;
}

}  // namespace velbrook::catalogue
