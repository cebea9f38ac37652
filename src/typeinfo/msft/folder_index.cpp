// Case-insensitive file look-up with one directory scan per folder.
#include "typeinfo/msft/folder_index.h"

#include <filesystem>
#include <system_error>

#include "typeinfo/msft/byte_source.h"

namespace velbrook::typeinfo::msft {

#if !defined(_WIN32)
namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return text;
}

}  // namespace
#endif

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  const char last = dir.back();
  return (last == '/' || last == '\\') ? dir + name : dir + "/" + name;
}

std::optional<std::string> FolderIndex::Find(const std::string& dir, const std::string& name) {
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  const std::string exact = JoinPath(dir, name);
  if (IsRegularFile(exact)) return exact;
#if defined(_WIN32)
  return std::nullopt;  // the file system ignores case already
#else
  auto folder = folders_.find(dir);
  if (folder == folders_.end()) {
    std::unordered_map<std::string, std::string> entries;
    std::error_code error;
    const std::string listed = dir.empty() ? std::string(".") : dir;
    for (std::filesystem::directory_iterator it(listed, error), end; !error && it != end;
         it.increment(error)) {
      const std::string entry = it->path().filename().string();
      // Two names that differ only in case: the first in byte order, so the
      // choice does not depend on the order the folder lists them.
      auto [at, added] = entries.emplace(UpperAscii(entry), entry);
      if (!added && entry < at->second) at->second = entry;
    }
    folder = folders_.emplace(dir, std::move(entries)).first;
  }
  auto entry = folder->second.find(UpperAscii(name));
  if (entry == folder->second.end()) return std::nullopt;
  const std::string path = JoinPath(dir, entry->second);
  if (!IsRegularFile(path)) return std::nullopt;
  return path;
#endif
}

}  // namespace velbrook::typeinfo::msft
