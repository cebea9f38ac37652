// The read-only view of HKEY_CLASSES_ROOT that the catalogue walks; the
// Win32 registry, a Wine prefix's files and the tests' memory back it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velbrook::catalogue {

// Registry value types the readers distinguish.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// One value as the ANSI registry functions hand it over: name and data in
// the system code page, string data with its terminating NUL.
struct RegistryValue {
  std::string name;
  uint32_t type = kRegSz;
  std::string data;
};

// An open key. Backends impose no length limits of their own; the 260
// character buffers of the catalogue's functions are applied above them.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The index-th subkey name in the registry's enumeration order, or none
  // at the end of the list or on failure.
  virtual std::optional<std::string> SubkeyName(uint32_t index) const = 0;
  // The index-th value in enumeration order, or none.
  virtual std::optional<RegistryValue> Value(uint32_t index) const = 0;
  // Opens a key below this one by its relative path (backslashes,
  // case-insensitive), as RegOpenKeyEx does from an open handle: the walk
  // starts here instead of at HKEY_CLASSES_ROOT. Null when it cannot be
  // opened. The key may outlive this one, not the registry.
  virtual std::unique_ptr<RegistryKey> OpenSubkey(const std::string& path) const = 0;
};

class ClassesRegistry {
 public:
  virtual ~ClassesRegistry() = default;
  // Opens a key by its path relative to HKEY_CLASSES_ROOT (backslashes,
  // case-insensitive); null when it cannot be opened. Closing is dropping.
  virtual std::unique_ptr<RegistryKey> OpenKey(const std::string& path) const = 0;
};

}  // namespace velbrook::catalogue
