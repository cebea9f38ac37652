// The in-memory registry of the real services' tests.
#include "memory_registry.h"

#include <optional>

#include "app/model/command_line.h"

namespace velbrook::app::testing {
namespace {

class MemoryKey : public catalogue::RegistryKey {
 public:
  MemoryKey(const MemoryRegistry& registry, std::string path,
            const std::vector<std::string>* subkeys,
            const std::vector<catalogue::RegistryValue>* values)
      : registry_(registry), path_(std::move(path)), subkeys_(subkeys), values_(values) {}
  std::optional<std::string> SubkeyName(uint32_t index) const override {
    if (index >= subkeys_->size()) return std::nullopt;
    return (*subkeys_)[index];
  }
  std::optional<catalogue::RegistryValue> Value(uint32_t index) const override {
    if (index >= values_->size()) return std::nullopt;
    return (*values_)[index];
  }
  std::unique_ptr<catalogue::RegistryKey> OpenSubkey(const std::string& path) const override {
    return registry_.OpenKey(path_.empty() ? path : path_ + "\\" + path);
  }

 private:
  const MemoryRegistry& registry_;
  std::string path_;
  const std::vector<std::string>* subkeys_;
  const std::vector<catalogue::RegistryValue>* values_;
};

}  // namespace

MemoryRegistry::Node& MemoryRegistry::MakeKey(const std::string& path) {
  const std::string lowered = LowerAscii(path);
  auto found = nodes_.find(lowered);
  if (found != nodes_.end()) return found->second;
  const size_t slash = path.rfind('\\');
  if (slash != std::string::npos) {
    MakeKey(path.substr(0, slash)).subkeys.push_back(path.substr(slash + 1));
  } else {
    nodes_[""].subkeys.push_back(path);
  }
  return nodes_[lowered];
}

void MemoryRegistry::SetValue(const std::string& path, const std::string& name,
                              const std::string& data) {
  // String data carries its terminating NUL, as the ANSI functions give it.
  MakeKey(path).values.push_back({name, catalogue::kRegSz, data + '\0'});
}

std::unique_ptr<catalogue::RegistryKey> MemoryRegistry::OpenKey(const std::string& path) const {
  auto found = nodes_.find(LowerAscii(path));
  if (found == nodes_.end()) return nullptr;
  return std::make_unique<MemoryKey>(*this, path, &found->second.subkeys, &found->second.values);
}

}  // namespace velbrook::app::testing
