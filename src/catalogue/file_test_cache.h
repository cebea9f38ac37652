// A file system that tests each path once: many registrations name the same
// few files, and under Wine every test is a round of system calls.
#pragma once

#include <string>
#include <unordered_map>

#include "catalogue/host.h"

namespace velbrook::catalogue {

// Lives for one scan, so a file added or removed later is seen by the next.
class FileTestCache : public FileSystem {
 public:
  explicit FileTestCache(const FileSystem& files) : files_(files) {}
  bool ExistsAsNonDirectory(const std::string& path) const override {
    auto [entry, inserted] = results_.try_emplace(path, false);
    if (inserted) entry->second = files_.ExistsAsNonDirectory(path);
    return entry->second;
  }
  // Asked once per path; the scan asks for the same few bytes each time.
  std::optional<std::string> ReadHead(const std::string& path, size_t count) const override {
    auto [entry, inserted] = heads_.try_emplace(path);
    if (inserted) entry->second = files_.ReadHead(path, count);
    return entry->second;
  }

 private:
  const FileSystem& files_;
  mutable std::unordered_map<std::string, bool> results_;
  mutable std::unordered_map<std::string, std::optional<std::string>> heads_;
};

}  // namespace velbrook::catalogue
