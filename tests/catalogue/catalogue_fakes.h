// In-memory registry, file system, environment, scan and search sinks and
// component objects for the catalogue tests; keys enumerate in insertion
// order so a test controls the order the scan sees.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/host.h"
#include "catalogue/library_rows.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
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
  // A file beginning as a type library does unless told otherwise.
  MemoryFileSystem& AddFile(const std::string& path, const std::string& bytes = "MSFT") {
    files_[path] = bytes;
    return *this;
  }
  // A file that exists but cannot be read.
  MemoryFileSystem& AddUnreadableFile(const std::string& path) {
    files_[path] = std::nullopt;
    return *this;
  }
  bool ExistsAsNonDirectory(const std::string& path) const override {
    ++test_counts_[path];
    return files_.count(path) != 0;
  }
  std::optional<std::string> ReadHead(const std::string& path, size_t count) const override {
    ++head_counts_[path];
    auto it = files_.find(path);
    if (it == files_.end() || !it->second) return std::nullopt;
    return it->second->substr(0, count);
  }
  // How often ReadHead was asked about path.
  int head_count(const std::string& path) const {
    auto it = head_counts_.find(path);
    return it == head_counts_.end() ? 0 : it->second;
  }
  // How often ExistsAsNonDirectory was asked about path.
  int test_count(const std::string& path) const {
    auto it = test_counts_.find(path);
    return it == test_counts_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, std::optional<std::string>> files_;
  mutable std::map<std::string, int> test_counts_;
  mutable std::map<std::string, int> head_counts_;
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

// Records what a scan hands over: the entries in the list's order (through
// LibraryRows, as the command line and the program keep them) and the status
// texts. on_poll runs at each poll so a test can press Abort "inside the
// message loop".
class RecordingScanSink : public ScanSink {
 public:
  bool PollAbort() override {
    ++polls;
    if (on_poll) on_poll(polls);
    return abort_requested;
  }
  void AddLibrary(const LibraryEntry& entry) override { rows.Add(entry); }
  void LeftOut(const LibraryEntry& entry) override { left_out.push_back(entry); }
  void SetStatusText(const std::string& text) override { status_history.push_back(text); }

  int polls = 0;
  std::function<void(int)> on_poll;
  bool abort_requested = false;
  LibraryRows rows;
  std::vector<LibraryEntry> left_out;
  std::vector<std::string> status_history;
};

// Walks rows of paths; records what the search finds and shows.
class RecordingSearchSink : public SearchSink {
 public:
  bool PollAbort() override {
    ++polls;
    if (on_poll) on_poll(polls);
    return abort_requested;
  }
  size_t RowCount() const override { return paths.size(); }
  std::string PathOf(size_t row) const override { return paths.at(row); }
  void Found(size_t row, int found_count) override { found.push_back({row, found_count}); }
  void ShowProgress(const std::string& text) override { progress.push_back(text); }

  std::vector<std::string> paths;
  int polls = 0;
  std::function<void(int)> on_poll;
  bool abort_requested = false;
  std::vector<std::pair<size_t, int>> found;  // row, found count
  std::vector<std::string> progress;
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
