// Registry reading functions: 260-character buffers, "Registry Error" as the
// end of every enumeration, failures as empty text.
#include "catalogue/registry_functions.h"

#include "catalogue/ascii_text.h"

namespace velbrook::catalogue {

std::unique_ptr<RegistryKey> OpenClassesKey(const ClassesRegistry& registry,
                                            const std::string& path) {
  return registry.OpenKey(path);
}

std::string EnumSubkeyName(const RegistryKey* key, uint32_t index) {
  if (key == nullptr) return kRegistryError;
  std::optional<std::string> name = key->SubkeyName(index);
  // The buffer holds 259 characters and the NUL.
  if (!name || name->size() >= kRegistryBufferSize) return kRegistryError;
  return *name;
}

std::string EnumValueText(const RegistryKey* key, uint32_t index, bool prefer_name) {
  if (key == nullptr) return "";
  std::optional<RegistryValue> value = key->Value(index);
  if (!value) return "";
  // RegEnumValueA fails as a whole when either buffer is too small.
  if (value->name.size() >= kRegistryBufferSize || value->data.size() > kRegistryBufferSize) {
    return "";
  }
  if (prefer_name && !value->name.empty()) return value->name;
  // The buffer is read as a C string.
  return value->data.substr(0, value->data.find('\0'));
}

std::string ReadKeyValue(const ClassesRegistry& registry, const std::string& path) {
  std::unique_ptr<RegistryKey> key = OpenClassesKey(registry, path);
  return EnumValueText(key.get(), 0, false);
}

std::string HasWin32Subkey(const ClassesRegistry& registry, const std::string& path) {
  std::unique_ptr<RegistryKey> key = OpenClassesKey(registry, path);
  for (uint32_t index = 0;; ++index) {
    std::string name = EnumSubkeyName(key.get(), index);
    if (name == kRegistryError) return "";
    if (UpperAscii(name) == "WIN32") return path;
  }
}

std::string FindWin32File(const ClassesRegistry& registry, const std::string& version_path) {
  std::string locale;
  bool found = false;
  {
    std::unique_ptr<RegistryKey> key = OpenClassesKey(registry, version_path);
    for (uint32_t index = 0;; ++index) {
      std::string name = EnumSubkeyName(key.get(), index);
      if (name == kRegistryError) break;
      if (!HasWin32Subkey(registry, version_path + "\\" + name).empty()) {
        locale = name;
        found = true;
        break;
      }
    }
  }
  if (!found) return "";
  return ReadKeyValue(registry, version_path + "\\" + locale + "\\win32");
}

std::string ProgIdOfClass(const ClassesRegistry& registry, const typeinfo::Type& type) {
  return ReadKeyValue(registry, "CLSID\\" + type.GuidText() + "\\ProgID");
}

}  // namespace velbrook::catalogue
