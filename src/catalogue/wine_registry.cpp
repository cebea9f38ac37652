// Opening HKEY_CLASSES_ROOT paths in a Wine prefix's registry. For a 32-bit
// program in a 64-bit prefix Wine redirects every step below a key that has
// a Wow6432Node subkey into that subkey; below Software\Classes, whose
// Wow6432Node is shared, a name missing there is taken from the 64-bit key.
// Shared keys such as TypeLib are links from Wow6432Node back to the 64-bit
// key, so both views see the same TypeLib while CLSID differs.
#include "catalogue/wine_registry.h"

#include <map>

#include "catalogue/code_page.h"

namespace velbrook::catalogue {

namespace {

constexpr std::u16string_view kWow6432Node = u"WOW6432NODE";
constexpr int kMaxLinkDepth = 8;

std::vector<std::u16string> SplitPath(std::u16string_view path) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

const WineKeyNode* FindPath(const WineKeyNode* root, const std::string& ansi_path) {
  const WineKeyNode* node = root;
  for (const auto& part : SplitPath(AnsiToUtf16(ansi_path))) {
    if (node == nullptr) return nullptr;
    node = node->Subkey(part);
  }
  return node;
}

std::string AnsiData(const WineValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz) {
    return value.bytes;
  }
  std::u16string units;
  for (size_t i = 0; i + 1 < value.bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.bytes[i]) |
                                          (static_cast<unsigned char>(value.bytes[i + 1]) << 8)));
  }
  std::string text = Utf16ToAnsi(units);
  // The ANSI functions always terminate string data.
  if (text.empty() || text.back() != '\0') text.push_back('\0');
  return text;
}

// A snapshot of the merged key taken when it is opened; it keeps its layers
// so keys below it are opened from here rather than from the root.
class WineKey : public RegistryKey {
 public:
  WineKey(const WineRegistry& registry, std::vector<WineRegistry::KeyLayer> layers)
      : registry_(registry), layers_(std::move(layers)) {
    std::map<std::u16string, std::u16string> names;
    std::map<std::u16string, const WineValue*> values;
    // Layers come user first; the first spelling and value of a name win.
    for (const WineRegistry::KeyLayer& layer : layers_) {
      const WineKeyNode* node = layer.node;
      for (const auto& [folded, child] : node->subkeys) names.emplace(folded, child->name);
      for (const auto& [folded, value] : node->values) {
        // The link target is Wine's bookkeeping, not a value programs see.
        if (node->is_link && folded == UpperCase(u"SymbolicLinkValue")) continue;
        values.emplace(folded, &value);
      }
    }
    subkeys_.reserve(names.size());
    for (const auto& [folded, name] : names) subkeys_.push_back(Utf16ToAnsi(name));
    for (const auto& [folded, value] : values) {
      values_.push_back(RegistryValue{Utf16ToAnsi(value->name), value->type, AnsiData(*value)});
    }
  }
  std::optional<std::string> SubkeyName(uint32_t index) const override {
    if (index >= subkeys_.size()) return std::nullopt;
    return subkeys_[index];
  }
  std::optional<RegistryValue> Value(uint32_t index) const override {
    if (index >= values_.size()) return std::nullopt;
    return values_[index];
  }
  std::unique_ptr<RegistryKey> OpenSubkey(const std::string& path) const override {
    return registry_.OpenBelow(layers_, path);
  }

 private:
  const WineRegistry& registry_;
  std::vector<WineRegistry::KeyLayer> layers_;
  std::vector<std::string> subkeys_;
  std::vector<RegistryValue> values_;
};

}  // namespace

WineRegistry::WineRegistry(std::shared_ptr<const WineRegistryFile> machine,
                           std::shared_ptr<const WineRegistryFile> user, bool prefix_is_64bit,
                           ProgramBitness bitness)
    : machine_(std::move(machine)),
      user_(std::move(user)),
      redirect_(prefix_is_64bit && bitness == ProgramBitness::k32Bit) {
  if (machine_) machine_classes_ = FollowLink(FindPath(&machine_->root, "Software\\Classes"), 0);
  if (user_) user_classes_ = FollowLink(FindPath(&user_->root, "Software\\Classes"), 0);
}

const WineKeyNode* WineRegistry::FollowLink(const WineKeyNode* node, int depth) const {
  if (node == nullptr || !node->is_link) return node;
  if (depth >= kMaxLinkDepth) return nullptr;
  std::u16string target = UpperCase(node->LinkTarget());
  constexpr std::u16string_view kMachine = u"\\REGISTRY\\MACHINE";
  constexpr std::u16string_view kUser = u"\\REGISTRY\\USER\\";
  const WineKeyNode* root = nullptr;
  std::u16string rest;
  if (target.compare(0, kMachine.size(), kMachine) == 0 && machine_) {
    root = &machine_->root;
    rest = target.substr(kMachine.size());
  } else if (target.compare(0, kUser.size(), kUser) == 0 && user_) {
    // Skip the user's SID: user.reg holds that user's keys only.
    size_t sid_end = target.find(u'\\', kUser.size());
    root = &user_->root;
    rest = sid_end == std::u16string::npos ? u"" : target.substr(sid_end);
  } else {
    return nullptr;
  }
  // A link target is an explicit path, so no redirection applies to it.
  return Resolve(root, nullptr, SplitPath(rest), false, depth + 1);
}

const WineKeyNode* WineRegistry::Resolve(const WineKeyNode* start, const WineKeyNode* shared_root,
                                         const std::vector<std::u16string>& parts, bool redirect,
                                         int depth) const {
  const WineKeyNode* node = start;
  for (const std::u16string& part : parts) {
    if (node == nullptr) return nullptr;
    const WineKeyNode* next = nullptr;
    const WineKeyNode* wow = redirect && UpperCase(part) != kWow6432Node
                                 ? FollowLink(node->Subkey(kWow6432Node), depth)
                                 : nullptr;
    if (wow != nullptr) {
      next = wow->Subkey(part);
      if (next == nullptr && node == shared_root) next = node->Subkey(part);
    } else {
      next = node->Subkey(part);
    }
    node = FollowLink(next, depth);
  }
  return node;
}

std::unique_ptr<RegistryKey> WineRegistry::OpenKey(const std::string& path) const {
  std::vector<KeyLayer> roots;
  for (const WineKeyNode* classes : {user_classes_, machine_classes_}) {
    if (classes != nullptr) roots.push_back(KeyLayer{classes, classes});
  }
  return OpenBelow(roots, path);
}

std::unique_ptr<RegistryKey> WineRegistry::OpenBelow(const std::vector<KeyLayer>& start,
                                                     const std::string& path) const {
  const std::vector<std::u16string> parts = SplitPath(AnsiToUtf16(path));
  std::vector<KeyLayer> layers;
  for (const KeyLayer& layer : start) {
    const WineKeyNode* node = Resolve(layer.node, layer.classes_root, parts, redirect_, 0);
    if (node != nullptr) layers.push_back(KeyLayer{node, layer.classes_root});
  }
  if (layers.empty()) return nullptr;
  return std::make_unique<WineKey>(*this, std::move(layers));
}

const WineKeyNode* WineRegistry::MachineKey(const std::string& path) const {
  return machine_ ? FollowLink(FindPath(&machine_->root, path), 0) : nullptr;
}

const WineKeyNode* WineRegistry::UserKey(const std::string& path) const {
  return user_ ? FollowLink(FindPath(&user_->root, path), 0) : nullptr;
}

std::string WineRegistry::StringValue(const WineKeyNode* key, const std::string& name) {
  if (key == nullptr) return "";
  auto it = key->values.find(UpperCase(AnsiToUtf16(name)));
  if (it == key->values.end()) return "";
  return ValueText(it->second);
}

std::string WineRegistry::ValueText(const WineValue& value) {
  std::string data = AnsiData(value);
  return data.substr(0, data.find('\0'));
}

}  // namespace velbrook::catalogue
