// A Wine prefix opened for the catalogue: its HKEY_CLASSES_ROOT, file
// existence and environment as a program of the chosen bitness sees them.
#pragma once

#include <memory>
#include <string>

#include "catalogue/wine_environment.h"
#include "catalogue/wine_paths.h"
#include "catalogue/wine_registry.h"
#include "typeinfo/result.h"

namespace velbrook::catalogue {

class WinePrefix {
 public:
  // Reads dir/system.reg (required) and dir/user.reg (optional).
  static Result<std::unique_ptr<WinePrefix>> Open(const std::string& dir, ProgramBitness bitness);

  const WineRegistry& registry() const { return *registry_; }
  const WineEnvironment& environment() const { return *environment_; }
  const WinePathMapper& paths() const { return *paths_; }
  const FileSystem& file_system() const { return *file_system_; }
  // The files as a 64-bit program of the prefix reaches them (system32 not
  // redirected), whatever the bitness the prefix was opened for.
  const FileSystem& file_system_64() const { return *file_system_64_; }
  bool is_64bit() const { return is_64bit_; }

 private:
  WinePrefix() = default;

  bool is_64bit_ = false;
  std::unique_ptr<WineRegistry> registry_;
  std::unique_ptr<WineEnvironment> environment_;
  std::unique_ptr<WinePathMapper> paths_;
  std::unique_ptr<WineFileSystem> file_system_;
  std::unique_ptr<WinePathMapper> paths_64_;
  std::unique_ptr<WineFileSystem> file_system_64_;
};

}  // namespace velbrook::catalogue
