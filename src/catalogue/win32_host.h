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

// The files as a 64-bit program reaches them. A 32-bit build on 64-bit
// Windows sees SysWOW64 in place of system32, so it reaches the 64-bit
// system32 through the "Sysnative" alias; elsewhere paths are unchanged.
class Win64FileSystem : public FileSystem {
 public:
  Win64FileSystem();
  bool ExistsAsNonDirectory(const std::string& path) const override;
  std::optional<std::string> ReadHead(const std::string& path, size_t count) const override;
  // The path with the 64-bit system32 reachable from this process.
  std::string NativePath(const std::string& path) const;

 private:
  Win32FileSystem files_;
  std::string system32_upper_;  // "C:\WINDOWS\SYSTEM32" when redirected, else empty
  std::string sysnative_;       // "C:\Windows\Sysnative"
};

class Win32Environment : public Environment {
 public:
  std::string Variable(const std::string& name) const override;
};

}  // namespace velbrook::catalogue
