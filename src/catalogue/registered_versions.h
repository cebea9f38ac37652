// Reading the versions registered under one TypeLib GUID key: the
// description and Win32 file of each, every key opened once from the key
// above it.
#pragma once

#include <string>
#include <vector>

#include "catalogue/host.h"
#include "catalogue/registry.h"

namespace velbrook::catalogue {

struct RegisteredVersion {
  std::string version;      // the version key's name, "1.0"
  std::string description;  // the version key's first value (its name if it has one)
  std::string file;         // the Win32 file, %NAME% expanded; empty when none
  std::string file_64;      // the "win64" file the same way, when asked for
};

// The versions below the open key TypeLib\{guid}, in enumeration order, up to
// the first name the enumeration cannot give. The win64 files are read only
// with_win64: each costs key openings the 32-bit list does without.
std::vector<RegisteredVersion> ReadRegisteredVersions(const RegistryKey& library_key,
                                                      const Environment& environment,
                                                      bool with_win64 = false);

}  // namespace velbrook::catalogue
