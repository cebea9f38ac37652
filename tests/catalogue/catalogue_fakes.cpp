// The catalogue tests' in-memory registry and fake type libraries.
#include "catalogue_fakes.h"

#include "catalogue/ascii_text.h"

namespace velbrook::catalogue::testing {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Keys below an open key are opened by their whole path, so FailOpen and
// open_count see them as they see keys opened from the root.
class MemoryKey : public RegistryKey {
 public:
  MemoryKey(const MemoryRegistry& registry, std::string path, const MemoryRegistry::Node* node)
      : registry_(registry), path_(std::move(path)), node_(node) {}
  std::optional<std::string> SubkeyName(uint32_t index) const override {
    if (index >= node_->subkeys.size()) return std::nullopt;
    return node_->subkeys[index]->name;
  }
  std::optional<RegistryValue> Value(uint32_t index) const override {
    if (index >= node_->values.size()) return std::nullopt;
    return node_->values[index];
  }
  std::unique_ptr<RegistryKey> OpenSubkey(const std::string& path) const override {
    return registry_.OpenKey(path_.empty() ? path : path_ + "\\" + path);
  }

 private:
  const MemoryRegistry& registry_;
  std::string path_;
  const MemoryRegistry::Node* node_;
};

class FakeLibrary : public typeinfo::Library {
 public:
  explicit FakeLibrary(const FakeLibraryContents& contents) {
    for (const auto& item : contents.classes) {
      const FakeType* default_interface = nullptr;
      if (!item.default_interface.empty()) {
        owned_.push_back(std::make_shared<FakeType>(item.default_interface));
        default_interface = owned_.back().get();
      }
      classes_.items.push_back(std::make_shared<FakeType>(item.name, item.guid, default_interface));
    }
    for (const auto& name : contents.interfaces) {
      interfaces_.items.push_back(std::make_shared<FakeType>(name));
    }
  }
  std::string Name() const override { return ""; }
  std::string GuidText() const override { return ""; }
  uint16_t MajorVersion() const override { return 1; }
  uint16_t MinorVersion() const override { return 0; }
  std::string HelpString() const override { return ""; }
  int32_t SysKind() const override { return typeinfo::kSysKindWin32; }
  const typeinfo::TypeList* ObjectClasses() const override { return &classes_; }
  const typeinfo::TypeList* Interfaces() const override { return &interfaces_; }
  const typeinfo::TypeList* Enumerations() const override { return &empty_; }
  const typeinfo::TypeList* Records() const override { return &empty_; }

 private:
  std::vector<std::shared_ptr<FakeType>> owned_;
  FakeTypeList classes_;
  FakeTypeList interfaces_;
  FakeTypeList empty_;
};

}  // namespace

MemoryRegistry::Node* MemoryRegistry::Find(const std::string& path, bool create) {
  Node* node = &root_;
  for (const std::string& part : SplitPath(path)) {
    if (part.empty()) continue;
    Node* next = nullptr;
    for (auto& child : node->subkeys) {
      if (UpperAscii(child->name) == UpperAscii(part)) next = child.get();
    }
    if (next == nullptr) {
      if (!create) return nullptr;
      node->subkeys.push_back(std::make_unique<Node>());
      node->subkeys.back()->name = part;
      next = node->subkeys.back().get();
    }
    node = next;
  }
  return node;
}

MemoryRegistry& MemoryRegistry::AddKey(const std::string& path) {
  Find(path, true);
  return *this;
}

MemoryRegistry& MemoryRegistry::AddValue(const std::string& path, const std::string& name,
                                         const std::string& data) {
  Find(path, true)->values.push_back(RegistryValue{name, kRegSz, data + '\0'});
  return *this;
}

MemoryRegistry& MemoryRegistry::FailOpen(const std::string& path) {
  failing_.insert(UpperAscii(path));
  return *this;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(const std::string& path) const {
  ++open_count_;
  if (failing_.count(UpperAscii(path)) != 0) return nullptr;
  const Node* node = const_cast<MemoryRegistry*>(this)->Find(path, false);
  if (node == nullptr) return nullptr;
  return std::make_unique<MemoryKey>(*this, path, node);
}

Result<std::unique_ptr<typeinfo::Library>> FakeOpener::OpenLibraryFile(
    const std::string& path) const {
  opened_.push_back(path);
  auto it = libraries_.find(path);
  if (it == libraries_.end()) {
    return MakeError(ErrorKind::kNotFound, "no library " + path);
  }
  return std::unique_ptr<typeinfo::Library>(std::make_unique<FakeLibrary>(it->second));
}

}  // namespace velbrook::catalogue::testing
