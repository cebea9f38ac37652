// The two small host services the scan needs besides the registry: file
// existence and environment variables, injected so the logic runs in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velbrook::catalogue {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when FindFirstFileA would find the name and its attributes are not
  // just FILE_ATTRIBUTE_DIRECTORY.
  virtual bool ExistsAsNonDirectory(const std::string& path) const = 0;
  // Up to `count` bytes from the start of the file, fewer when it is
  // shorter; none when it cannot be opened or read.
  virtual std::optional<std::string> ReadHead(const std::string& path, size_t count) const = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value as GetEnvironmentVariableA gives it into a
  // 255-byte buffer: empty text when undefined or when it does not fit.
  virtual std::string Variable(const std::string& name) const = 0;
};

}  // namespace velbrook::catalogue
