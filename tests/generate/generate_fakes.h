// Test doubles for generation: an in-memory library and the contents an
// opening would build for it (the shared fakes carry no raw type info, so
// source interfaces are named by the test).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_component.h"
#include "generate/contents_list.h"
#include "generate/generation_context.h"
#include "generate/row_maps.h"

namespace velbrook::generate::testing {

using fakes::FakeList;
using fakes::FakeMember;
using fakes::FakeType;
using fakes::FakeTypeDescriptor;

class FakeLibrary : public typeinfo::Library {
 public:
  FakeLibrary& AddClass(std::shared_ptr<const typeinfo::Type> type) {
    classes_.Add(std::move(type));
    return *this;
  }
  FakeLibrary& AddInterface(std::shared_ptr<const typeinfo::Type> type) {
    interfaces_.Add(std::move(type));
    return *this;
  }
  FakeLibrary& AddEnumeration(std::shared_ptr<const typeinfo::Type> type) {
    enumerations_.Add(std::move(type));
    return *this;
  }
  FakeLibrary& AddRecord(std::shared_ptr<const typeinfo::Type> type) {
    records_.Add(std::move(type));
    return *this;
  }
  std::string Name() const override { return "FakeLib"; }
  std::string GuidText() const override { return "{00000000-0000-0000-0000-00000000000F}"; }
  uint16_t MajorVersion() const override { return 1; }
  uint16_t MinorVersion() const override { return 0; }
  std::string HelpString() const override { return std::string(); }
  int32_t SysKind() const override { return typeinfo::kSysKindWin32; }
  const typeinfo::TypeList* ObjectClasses() const override { return &classes_; }
  const typeinfo::TypeList* Interfaces() const override { return &interfaces_; }
  const typeinfo::TypeList* Enumerations() const override { return &enumerations_; }
  const typeinfo::TypeList* Records() const override { return &records_; }

 private:
  FakeList<typeinfo::Type> classes_, interfaces_, enumerations_, records_;
};

// Source interfaces in order of first appearance: name and owners text.
using SourceList = std::vector<std::pair<std::string, std::string>>;

// The four lists and the row maps, filled the way an opening fills them.
struct TestContents {
  VectorContentsLists lists;
  RowMaps maps;
};
TestContents BuildTestContents(const FakeLibrary& library, const SourceList& sources,
                               const typeinfo::ProgIdLookup& prog_id = {});

// A generation over library and contents, the date and paths fixed.
struct TestRun {
  TestRun(const FakeLibrary& library, TestContents* contents, bool use_invoke);
  std::string Generate() const;
  // Only the part after the header and table of contents.
  std::string Body() const;

  GenerationInputs inputs;
  std::vector<std::string> warnings;
  std::map<std::string, std::string> prog_ids;  // class GUID -> ProgID
};

// Shared building blocks.
std::shared_ptr<FakeType> Dispatch();
std::shared_ptr<FakeTypeDescriptor> Vt(int32_t vt);
std::shared_ptr<FakeMember> Field(const std::string& name, int32_t vt);
std::shared_ptr<FakeMember> RecordField(const std::string& name,
                                        std::shared_ptr<const typeinfo::Type> record);
std::shared_ptr<FakeType> Record(const std::string& name);
std::shared_ptr<FakeType> Coclass(const std::string& name, const std::string& guid,
                                  std::shared_ptr<const typeinfo::Type> default_interface);

}  // namespace velbrook::generate::testing
