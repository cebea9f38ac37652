// Registry reading functions: 260-character buffers, "Registry Error" as the
// end of every enumeration, failures as empty text.
#include "catalogue/registry_functions.h"

#include "catalogue/ascii_text.h"

namespace velbrook::catalogue {

std::unique_ptr<RegistryKey> OpenClassesKey(const ClassesRegistry& registry,
                                            const std::string& path) {
  return registry.OpenKey(path);
}

Status CheckClassesKey(const ClassesRegistry& registry, const std::string& path) {
  if (OpenClassesKey(registry, path)) return Status();
  return MakeError(ErrorKind::kRegistryUnreadable,
                   "the registry key HKEY_CLASSES_ROOT\\" + path + " cannot be opened");
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

std::unique_ptr<RegistryKey> OpenSubkey(const RegistryKey* key, const std::string& path) {
  if (key == nullptr) return nullptr;
  return key->OpenSubkey(path);
}

std::string ReadKeyValue(const ClassesRegistry& registry, const std::string& path) {
  std::unique_ptr<RegistryKey> key = OpenClassesKey(registry, path);
  return EnumValueText(key.get(), 0, false);
}

std::string ReadSubkeyValue(const RegistryKey* key, const std::string& path) {
  std::unique_ptr<RegistryKey> subkey = OpenSubkey(key, path);
  return EnumValueText(subkey.get(), 0, false);
}

std::string FindWin32File(const RegistryKey* version_key) {
  return FindPlatformFile(version_key, "win32");
}

std::string FindPlatformFile(const RegistryKey* version_key, const std::string& platform) {
  for (uint32_t index = 0;; ++index) {
    const std::string locale = EnumSubkeyName(version_key, index);
    if (locale == kRegistryError) return "";
    // Key names match in any case, so this opens a WIN32 subkey however it is
    // spelled; opening it straight from the version key spares opening and
    // enumerating the locale key on the way.
    std::unique_ptr<RegistryKey> file_key = OpenSubkey(version_key, locale + "\\" + platform);
    if (file_key) return EnumValueText(file_key.get(), 0, false);
  }
}

std::string ProgIdOfClass(const ClassesRegistry& registry, const typeinfo::Type& type) {
  return ReadKeyValue(registry, "CLSID\\" + type.GuidText() + "\\ProgID");
}

}  // namespace velbrook::catalogue
