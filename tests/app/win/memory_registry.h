// A registry held in memory for the real services' tests: keys created by
// the values written below them, enumerated in the order they were made.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/registry.h"

namespace velbrook::app::testing {

class MemoryRegistry : public catalogue::ClassesRegistry {
 public:
  // Sets a string value (empty name: the default value), creating the key
  // and every key above it.
  void SetValue(const std::string& path, const std::string& name, const std::string& data);
  std::unique_ptr<catalogue::RegistryKey> OpenKey(const std::string& path) const override;

 private:
  struct Node {
    std::vector<std::string> subkeys;
    std::vector<catalogue::RegistryValue> values;
  };
  Node& MakeKey(const std::string& path);

  std::map<std::string, Node> nodes_;  // by lower-cased path
};

}  // namespace velbrook::app::testing
