// One of a Wine prefix's registry files (system.reg, user.reg) as a key tree
// whose subkeys and values are kept in the order Wine enumerates them:
// sorted by upper-cased name, code unit by code unit, shorter prefix first.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "typeinfo/result.h"

namespace velbrook::catalogue {

struct WineValue {
  std::u16string name;
  uint32_t type = 0;
  // As stored: UTF-16LE for string types, with their NUL.
  std::string bytes;
};

struct WineKeyNode {
  std::u16string name;
  std::map<std::u16string, std::unique_ptr<WineKeyNode>> subkeys;  // by UpperCase
  std::map<std::u16string, WineValue> values;                      // by UpperCase
  // A "#link" key: its SymbolicLinkValue names the real key.
  bool is_link = false;

  const WineKeyNode* Subkey(std::u16string_view name) const;
  WineKeyNode* AddSubkey(std::u16string_view name);
  // The link target ("\Registry\Machine\..."), empty when this is no link.
  std::u16string LinkTarget() const;
};

struct WineRegistryFile {
  WineKeyNode root;
  // "win32", "win64" or empty, from the file's "#arch=" line.
  std::string arch;
};

// Parses the text Wine writes; malformed lines are skipped as Wine does.
Result<WineRegistryFile> ParseWineRegistryFile(std::string_view text);
Result<WineRegistryFile> LoadWineRegistryFile(const std::string& unix_path);

}  // namespace velbrook::catalogue
