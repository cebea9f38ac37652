// Win32 registry, file and environment access for the catalogue. Names and
// data are read with buffers as large as they need; the catalogue's own
// 260-character limits are applied above, the same for every backend.
#include "catalogue/win32_host.h"

#include <windows.h>

#include <vector>

#include "catalogue/ascii_text.h"

namespace velbrook::catalogue {

namespace {

// Longest key or value name the registry allows, plus the NUL.
constexpr DWORD kMaxNameSize = 16384;
// Data read in the first call; longer data is read again into a buffer of
// the size the registry reports.
constexpr DWORD kFirstDataSize = 1024;

std::unique_ptr<RegistryKey> OpenWin32Key(HKEY parent, const std::string& path);

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  std::optional<std::string> SubkeyName(uint32_t index) const override {
    char name[kMaxNameSize];
    DWORD size = kMaxNameSize;
    if (RegEnumKeyExA(key_, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(name, size);
  }

  std::optional<RegistryValue> Value(uint32_t index) const override {
    char name[kMaxNameSize];
    BYTE first_data[kFirstDataSize];
    std::vector<BYTE> long_data;
    BYTE* data = first_data;
    DWORD capacity = kFirstDataSize;
    for (;;) {
      DWORD name_size = kMaxNameSize;
      DWORD data_size = capacity;
      DWORD type = 0;
      LONG status = RegEnumValueA(key_, index, name, &name_size, nullptr, &type, data, &data_size);
      if (status == ERROR_MORE_DATA && data_size > capacity) {
        long_data.resize(data_size);
        data = long_data.data();
        capacity = data_size;
        continue;
      }
      if (status != ERROR_SUCCESS) return std::nullopt;
      return RegistryValue{std::string(name, name_size), type,
                           std::string(reinterpret_cast<const char*>(data), data_size)};
    }
  }

  std::unique_ptr<RegistryKey> OpenSubkey(const std::string& path) const override {
    return OpenWin32Key(key_, path);
  }

 private:
  HKEY key_;
};

std::unique_ptr<RegistryKey> OpenWin32Key(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(key);
}

}  // namespace

std::unique_ptr<RegistryKey> Win32ClassesRegistry::OpenKey(const std::string& path) const {
  return OpenWin32Key(HKEY_CLASSES_ROOT, path);
}

bool Win32FileSystem::ExistsAsNonDirectory(const std::string& path) const {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return found.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY;
}

std::optional<std::string> Win32FileSystem::ReadHead(const std::string& path, size_t count) const {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(count, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(count), &read, nullptr);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

Win64FileSystem::Win64FileSystem() {
  BOOL wow64 = FALSE;
  if (sizeof(void*) != 4 || !IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return;
  char windows[MAX_PATH] = {};
  const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::string root(windows, length);
  if (!root.empty() && root.back() == '\\') root.pop_back();
  system32_upper_ = UpperAscii(root + "\\system32");
  sysnative_ = root + "\\Sysnative";
}

std::string Win64FileSystem::NativePath(const std::string& path) const {
  const size_t size = system32_upper_.size();
  if (size == 0 || path.size() < size) return path;
  if (path.size() > size && path[size] != '\\' && path[size] != '/') return path;
  if (UpperAscii(path.substr(0, size)) != system32_upper_) return path;
  return sysnative_ + path.substr(size);
}

bool Win64FileSystem::ExistsAsNonDirectory(const std::string& path) const {
  return files_.ExistsAsNonDirectory(NativePath(path));
}

std::optional<std::string> Win64FileSystem::ReadHead(const std::string& path, size_t count) const {
  return files_.ReadHead(NativePath(path), count);
}

std::string Win32Environment::Variable(const std::string& name) const {
  char buffer[255] = {};
  DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof(buffer));
  // A value that does not fit leaves the buffer unfilled.
  if (length == 0 || length >= sizeof(buffer)) return "";
  return std::string(buffer, length);
}

}  // namespace velbrook::catalogue
