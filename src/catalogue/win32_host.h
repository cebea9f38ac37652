// The Windows build's host: HKEY_CLASSES_ROOT through the ANSI registry
// functions (read-only, KEY_READ), FindFirstFileA and GetEnvironmentVariableA.
#pragma once

#include "catalogue/host.h"
#include "catalogue/registry.h"

namespace velbrook::catalogue {

class Win32ClassesRegistry : public ClassesRegistry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path) const override;
};

class Win32FileSystem : public FileSystem {
 public:
  bool ExistsAsNonDirectory(const std::string& path) const override;
  std::optional<std::string> ReadHead(const std::string& path, size_t count) const override;
};

class Win32Environment : public Environment {
 public:
  std::string Variable(const std::string& name) const override;
};

}  // namespace velbrook::catalogue
