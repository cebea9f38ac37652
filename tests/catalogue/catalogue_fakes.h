// In-memory registry, file system, environment, main window and component
// objects for the catalogue tests; keys enumerate in insertion order so a
// test controls the order the scan sees.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalogue/host.h"
#include "catalogue/main_window.h"
#include "catalogue/registry.h"
#include "typeinfo/component.h"

namespace velbrook::catalogue::testing {

class MemoryRegistry : public ClassesRegistry {
 public:
  // Creates the key and its parents (case-insensitive).
  MemoryRegistry& AddKey(const std::string& path);
  // Adds a REG_SZ value (data stored with its NUL), creating the key.
  MemoryRegistry& AddValue(const std::string& path, const std::string& name,
                           const std::string& data);
  // Makes OpenKey fail for this path although the key exists.
  MemoryRegistry& FailOpen(const std::string& path);
  std::unique_ptr<RegistryKey> OpenKey(const std::string& path) const override;
  int open_count() const { return open_count_; }

  struct Node {
    std::string name;
    std::vector<std::unique_ptr<Node>> subkeys;
    std::vector<RegistryValue> values;
  };

 private:
  Node* Find(const std::string& path, bool create);
  Node root_;
  std::set<std::string> failing_;
  mutable int open_count_ = 0;
};

class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem& AddFile(const std::string& path) {
    files_.insert(path);
    return *this;
  }
  bool ExistsAsNonDirectory(const std::string& path) const override {
    ++test_counts_[path];
    return files_.count(path) != 0;
  }
  // How often ExistsAsNonDirectory was asked about path.
  int test_count(const std::string& path) const {
    auto it = test_counts_.find(path);
    return it == test_counts_.end() ? 0 : it->second;
  }

 private:
  std::set<std::string> files_;
  mutable std::map<std::string, int> test_counts_;
};

class MemoryEnvironment : public Environment {
 public:
  MemoryEnvironment& Set(const std::string& name, const std::string& value) {
    values_[name] = value;
    return *this;
  }
  std::string Variable(const std::string& name) const override {
    auto it = values_.find(name);
    return it == values_.end() ? "" : it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

// Records what the scan and search show; on_pump runs at each pump so a test
// can press Abort or start another run from "inside the message loop".
class RecordingWindow : public MainWindow {
 public:
  void PumpMessages() override {
    ++pumps;
    if (on_pump) on_pump(pumps);
  }
  void StartAbortable() override {
    abort_requested = false;
    abort_enabled = true;
  }
  bool AbortRequested() const override { return abort_requested; }
  void SetStatusText(const std::string& text) override {
    status_text = text;
    status_history.push_back(text);
  }
  void SetCountText(const std::string& text) override { count_text = text; }
  void SetCountSuffixText(const std::string& text) override { count_suffix = text; }
  void SetCaption(const std::string& text) override {
    caption = text;
    captions.push_back(text);
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  // The Abort button's action.
  void PressAbort() {
    abort_requested = true;
    status_text = "Aborted";
    abort_enabled = false;
  }

  int pumps = 0;
  std::function<void(int)> on_pump;
  bool abort_requested = false;
  bool abort_enabled = false;
  std::string status_text = "old status";
  std::vector<std::string> status_history;
  std::string count_text = "old count";
  std::string count_suffix = "old suffix";
  std::string caption = "Velbrook";
  std::vector<std::string> captions;
  std::vector<std::string> messages;
};

// A type with a name, a GUID and a default interface.
class FakeType : public typeinfo::Type {
 public:
  FakeType(std::string name, std::string guid = "", const FakeType* default_interface = nullptr)
      : name_(std::move(name)), guid_(std::move(guid)), default_(default_interface) {}
  std::string_view NameView() const override { return name_; }
  std::string_view GuidTextView() const override { return guid_; }
  uint32_t TypeFlags() const override { return 0; }
  std::string_view KindTextView() const override { return ""; }
  const typeinfo::Type* VTableInterface() const override { return nullptr; }
  const typeinfo::MemberList* Members() const override { return nullptr; }
  const typeinfo::TypeList* ImplementedInterfaces() const override { return nullptr; }
  const typeinfo::Type* DefaultInterface() const override { return default_; }
  const typeinfo::Type* DefaultEventInterface() const override { return nullptr; }
  int32_t TypeKind() const override { return 0; }
  std::string_view HelpStringView() const override { return ""; }
  const typeinfo::RawTypeInfo* RawTypeInfo() const override { return nullptr; }
  uint32_t InstanceSize() const override { return 0; }
  uint32_t Alignment() const override { return 0; }
  const typeinfo::TypeDescriptor* AliasedType() const override { return nullptr; }

 private:
  std::string name_;
  std::string guid_;
  const FakeType* default_;
};

class FakeTypeList : public typeinfo::TypeList {
 public:
  std::vector<std::shared_ptr<FakeType>> items;
  uint32_t Count() const override { return static_cast<uint32_t>(items.size()); }
  const typeinfo::Type* Item(uint32_t index) const override {
    if (index < 1 || index > items.size()) return nullptr;
    return items[index - 1].get();
  }
};

// What one library file defines.
struct FakeLibraryContents {
  // Coclass name, GUID and default interface name (empty for none).
  struct Class {
    std::string name;
    std::string guid;
    std::string default_interface;
  };
  std::vector<Class> classes;
  std::vector<std::string> interfaces;
};

class FakeOpener : public typeinfo::Opener {
 public:
  FakeOpener& Add(const std::string& path, FakeLibraryContents contents) {
    libraries_[path] = std::move(contents);
    return *this;
  }
  Result<std::unique_ptr<typeinfo::Library>> OpenLibraryFile(
      const std::string& path) const override;
  const std::vector<std::string>& opened() const { return opened_; }

 private:
  std::map<std::string, FakeLibraryContents> libraries_;
  mutable std::vector<std::string> opened_;
};

}  // namespace velbrook::catalogue::testing
