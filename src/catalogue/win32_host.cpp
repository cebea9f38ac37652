// Win32 registry, file and environment access for the catalogue. Names and
// data are read with buffers as large as they need; the catalogue's own
// 260-character limits are applied above, the same for every backend.
#include "catalogue/win32_host.h"

#include <windows.h>

#include <vector>

namespace velbrook::catalogue {

namespace {

// Longest key or value name the registry allows, plus the NUL.
constexpr DWORD kMaxNameSize = 16384;

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  std::optional<std::string> SubkeyName(uint32_t index) const override {
    std::vector<char> name(kMaxNameSize);
    DWORD size = kMaxNameSize;
    if (RegEnumKeyExA(key_, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(name.data(), size);
  }

  std::optional<RegistryValue> Value(uint32_t index) const override {
    std::vector<char> name(kMaxNameSize);
    std::vector<BYTE> data(1024);
    for (;;) {
      DWORD name_size = kMaxNameSize;
      DWORD data_size = static_cast<DWORD>(data.size());
      DWORD type = 0;
      LONG status = RegEnumValueA(key_, index, name.data(), &name_size, nullptr, &type, data.data(),
                                  &data_size);
      if (status == ERROR_MORE_DATA && data_size > data.size()) {
        data.resize(data_size);
        continue;
      }
      if (status != ERROR_SUCCESS) return std::nullopt;
      return RegistryValue{std::string(name.data(), name_size), type,
                           std::string(reinterpret_cast<const char*>(data.data()), data_size)};
    }
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32ClassesRegistry::OpenKey(const std::string& path) const {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32Key>(key);
}

bool Win32FileSystem::ExistsAsNonDirectory(const std::string& path) const {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return found.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY;
}

std::string Win32Environment::Variable(const std::string& name) const {
  char buffer[255] = {};
  DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof(buffer));
  // A value that does not fit leaves the buffer unfilled.
  if (length == 0 || length >= sizeof(buffer)) return "";
  return std::string(buffer, length);
}

}  // namespace velbrook::catalogue
