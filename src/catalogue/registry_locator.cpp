// LoadRegTypeLib's choice of version, locale and platform key.
#include "catalogue/registry_locator.h"

#include <cstdio>
#include <vector>

#include "catalogue/environment_text.h"
#include "catalogue/registered_library.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

// The version key to use: the exact one, else the same major's greatest
// minor above the requested one; empty when none.
std::string ChooseVersion(const RegistryKey* library, uint16_t major, uint16_t minor) {
  std::string best;
  int32_t best_minor = -1;
  for (uint32_t index = 0;; ++index) {
    const std::string version = EnumSubkeyName(library, index);
    if (version == kRegistryError) break;
    uint16_t v_major = 0;
    uint16_t v_minor = 0;
    if (!ParseVersionKey(version, &v_major, &v_minor) || v_major != major || v_minor < minor) {
      continue;
    }
    if (v_minor == minor) return version;
    if (v_minor > best_minor) {
      best = version;
      best_minor = v_minor;
    }
  }
  return best;
}

std::string HexText(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::string FindRegisteredTypeLib(const ClassesRegistry& registry, const Environment& environment,
                                  const std::string& guid_text, uint16_t major, uint16_t minor,
                                  uint32_t lcid, bool win64) {
  std::unique_ptr<RegistryKey> library = OpenClassesKey(registry, "TypeLib\\" + guid_text);
  const std::string version = ChooseVersion(library.get(), major, minor);
  if (version.empty()) return "";
  std::unique_ptr<RegistryKey> version_key = OpenSubkey(library.get(), version);
  // The locale, its primary language (sublanguage neutral), then neutral.
  std::vector<uint32_t> locales{lcid};
  if ((lcid & 0x3FF) != lcid) locales.push_back(lcid & 0x3FF);
  if (lcid != 0) locales.push_back(0);
  // The program's own platform first, then the other, each over every locale.
  const char* platforms[] = {win64 ? "win64" : "win32", win64 ? "win32" : "win64"};
  for (const char* platform : platforms) {
    for (uint32_t locale : locales) {
      std::string file = ReadSubkeyValue(version_key.get(), HexText(locale) + "\\" + platform);
      if (file.find('%') != std::string::npos) file = ExpandEnvironmentText(file, environment);
      if (!file.empty()) return file;
    }
  }
  return "";
}

std::optional<std::string> RegistryLocator::Locate(const std::string& guid_text, uint16_t major,
                                                   uint16_t minor, uint32_t lcid) const {
  const std::string file = FindRegisteredTypeLib(host_->registry(), host_->environment(), guid_text,
                                                 major, minor, lcid, host_->Is64BitView());
  if (file.empty()) return std::nullopt;
  return host_->LocalPath(file);
}

}  // namespace velbrook::catalogue
