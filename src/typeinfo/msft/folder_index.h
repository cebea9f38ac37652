// Files of a folder found by name ignoring ASCII case, as Windows finds them:
// an import recorded as "MSVBVM60.DLL" is the file msvbvm60.dll on Linux too.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>

namespace velbrook::typeinfo::msft {

class FolderIndex {
 public:
  // The path of the regular file called `name` in `dir` (empty: the current
  // folder), its case ignored; nothing when there is none. Each folder is
  // listed once, when a name is first not found as written.
  std::optional<std::string> Find(const std::string& dir, const std::string& name);

 private:
  // Upper-cased name to the entry's real name, per folder.
  std::map<std::string, std::unordered_map<std::string, std::string>> folders_;
};

// dir and name joined by "/" (nothing added after a trailing separator).
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace velbrook::typeinfo::msft
