#include "typeinfo/library_contents.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/fake_component.h"

namespace velbrook::typeinfo {
namespace {

using fakes::FakeList;
using fakes::FakeType;

// Raw type information of a coclass: its implemented interfaces by name with
// their impl type flags.
class FakeRaw : public RawTypeInfo {
 public:
  struct Entry {
    std::string name;
    int32_t flags;
  };
  explicit FakeRaw(std::vector<Entry> entries, int32_t attr_result = kResultOk)
      : entries_(std::move(entries)), attr_result_(attr_result) {
    for (const Entry& e : entries_) refs_.push_back(std::make_unique<NamedRaw>(e.name));
  }
  int32_t GetTypeAttr(int32_t* count) const override {
    *count = attr_result_ == kResultOk ? static_cast<int32_t>(entries_.size()) : 0;
    return attr_result_;
  }
  int32_t GetImplTypeFlags(uint32_t index, int32_t* flags) const override {
    *flags = index < entries_.size() ? entries_[index].flags : 0;
    return index < entries_.size() ? kResultOk : kResultBadIndex;
  }
  const RawTypeInfo* GetRefTypeInfoOfImplType(uint32_t index) const override {
    return index < refs_.size() ? refs_[index].get() : nullptr;
  }
  int32_t GetDocumentationName(std::string* name) const override {
    name->clear();
    return kResultFail;
  }

 private:
  class NamedRaw : public RawTypeInfo {
   public:
    explicit NamedRaw(std::string name) : name_(std::move(name)) {}
    int32_t GetTypeAttr(int32_t* count) const override {
      *count = 0;
      return kResultOk;
    }
    int32_t GetImplTypeFlags(uint32_t, int32_t* flags) const override {
      *flags = 0;
      return kResultBadIndex;
    }
    const RawTypeInfo* GetRefTypeInfoOfImplType(uint32_t) const override { return nullptr; }
    int32_t GetDocumentationName(std::string* name) const override {
      *name = name_;
      return name_ == "<fails>" ? kResultFail : kResultOk;
    }

   private:
    std::string name_;
  };
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<NamedRaw>> refs_;
  int32_t attr_result_;
};

class FakeCoclass : public FakeType {
 public:
  FakeCoclass(std::string name, std::shared_ptr<const Type> default_interface,
              std::vector<FakeRaw::Entry> impls = {}, bool has_raw = true)
      : FakeType(std::move(name), kTypeKindCoclass), raw_(std::move(impls)), has_raw_(has_raw) {
    SetDefaultInterface(std::move(default_interface));
    SetGuidText("{guid-of-" + Name() + "}");
  }
  const class RawTypeInfo* RawTypeInfo() const override { return has_raw_ ? &raw_ : nullptr; }

 private:
  FakeRaw raw_;
  bool has_raw_;
};

class FakeLibrary : public Library {
 public:
  std::string Name() const override { return "Lib"; }
  std::string GuidText() const override { return "{lib}"; }
  uint16_t MajorVersion() const override { return 1; }
  uint16_t MinorVersion() const override { return 0; }
  std::string HelpString() const override { return ""; }
  int32_t SysKind() const override { return kSysKindWin32; }
  const TypeList* ObjectClasses() const override { return &classes; }
  const TypeList* Interfaces() const override { return &interfaces; }
  const TypeList* Enumerations() const override { return &enums; }
  const TypeList* Records() const override { return &records; }
  FakeList<Type> classes, interfaces, enums, records;
};

std::string NoProgId(const std::string&) { return ""; }

TEST(LibraryContents, WithoutCoclassesOnlyInterfaceRowsAndNoClassRowIndex) {
  FakeLibrary lib;
  lib.interfaces.Add(fakes::Interface("IOne")).Add(fakes::Interface("ITwo"));
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  ASSERT_EQ(c.class_rows.size(), 2u);
  EXPECT_EQ(c.class_rows[0].interface_name, "IOne");
  EXPECT_EQ(c.class_rows[1].interface_name, "ITwo");
  EXPECT_EQ(c.class_rows[1].hidden, 1);
  EXPECT_TRUE(c.class_row_index.empty());
  ASSERT_EQ(c.interface_row_index.size(), 2u);
  EXPECT_EQ(c.interface_row_index[0], std::optional<uint32_t>(1));
  EXPECT_EQ(c.interface_row_index[1], std::optional<uint32_t>(2));
}

TEST(LibraryContents, DefaultInterfaceIsShownOnceInItsCoclassRow) {
  FakeLibrary lib;
  auto ishape = fakes::Interface("IShape");
  auto shape = std::make_shared<FakeCoclass>("Shape", ishape);
  shape->SetTypeFlags(kTypeFlagCanCreate);
  lib.classes.Add(shape);
  lib.interfaces.Add(fakes::Interface("IOther")).Add(ishape);
  LibraryContents c = BuildLibraryContents(lib, [](const std::string& guid) {
    return guid == "{guid-of-Shape}" ? std::string("Lib.Shape") : std::string();
  });
  ASSERT_EQ(c.class_rows.size(), 2u);
  EXPECT_EQ(c.class_rows[0].interface_name, "IShape");
  EXPECT_EQ(c.class_rows[0].class_name, "Shape");
  EXPECT_EQ(c.class_rows[0].prog_id, "Lib.Shape");
  EXPECT_EQ(c.class_rows[1].interface_name, "IOther");
  EXPECT_EQ(c.class_rows[1].hidden, 1);
  EXPECT_EQ(c.class_row_index, std::vector<uint32_t>{1});
  ASSERT_EQ(c.interface_row_index.size(), 2u);
  EXPECT_FALSE(c.interface_row_index[0].has_value());
  EXPECT_EQ(c.interface_row_index[1], std::optional<uint32_t>(1));
}

TEST(LibraryContents, ControlsAreMarkedActiveXOnlyWithBothFlags) {
  FakeLibrary lib;
  auto control = std::make_shared<FakeCoclass>("Grid", fakes::Interface("IGrid"));
  control->SetTypeFlags(kTypeFlagCanCreate | kTypeFlagControl);
  auto not_creatable = std::make_shared<FakeCoclass>("Cell", fakes::Interface("ICell"));
  not_creatable->SetTypeFlags(kTypeFlagControl);
  lib.classes.Add(control).Add(not_creatable);
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  EXPECT_EQ(c.class_rows[0].class_name, "Grid (ActiveX)");
  EXPECT_EQ(c.class_rows[1].class_name, "Cell");
}

TEST(LibraryContents, SharedSourceInterfaceListsBothOwnersOnce) {
  FakeLibrary lib;
  lib.classes.Add(std::make_shared<FakeCoclass>(
      "First", fakes::Interface("IFirst"),
      std::vector<FakeRaw::Entry>{{"IFirst", kImplTypeFlagDefault},
                                  {"DEvents", kImplTypeFlagDefault | kImplTypeFlagSource}}));
  lib.classes.Add(
      std::make_shared<FakeCoclass>("Second", fakes::Interface("ISecond"),
                                    std::vector<FakeRaw::Entry>{{"DEvents", kImplTypeFlagSource}}));
  // A second interface of the same name (a hostile library) adds no row.
  lib.interfaces.Add(fakes::Interface("DEvents")).Add(fakes::Interface("DEvents"));
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  ASSERT_EQ(c.event_rows.size(), 1u);
  EXPECT_EQ(c.event_rows[0].interface_name, "DEvents");
  EXPECT_EQ(c.event_rows[0].owners, "First (default), Second");
  EXPECT_EQ(c.event_row_index, std::vector<uint32_t>{1});
  EXPECT_EQ(c.source_interface_names, std::vector<std::string>{"DEvents"});
  // The event interface is not also listed as a plain interface.
  EXPECT_EQ(c.class_rows.size(), 2u);
}

TEST(LibraryContents, UnusableSourceEntriesAreSkippedSilently) {
  FakeLibrary lib;
  lib.classes.Add(std::make_shared<FakeCoclass>(
      "NoRaw", nullptr, std::vector<FakeRaw::Entry>{{"DLost", kImplTypeFlagSource}}, false));
  lib.classes.Add(
      std::make_shared<FakeCoclass>("Nameless", nullptr,
                                    std::vector<FakeRaw::Entry>{{"", kImplTypeFlagSource},
                                                                {"<fails>", kImplTypeFlagSource},
                                                                {"DKept", kImplTypeFlagSource}}));
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  EXPECT_EQ(c.source_interface_names, std::vector<std::string>{"DKept"});
  EXPECT_EQ(c.source_interface_owners, std::vector<std::string>{"Nameless"});
  // A coclass without a default interface still has its row, cell empty.
  EXPECT_EQ(c.class_rows[0].interface_name, "");
}

TEST(LibraryContents, CharacterOneIsRemovedFromInterfaceRowNames) {
  FakeLibrary lib;
  lib.interfaces.Add(
      fakes::Interface(std::string("IOd\x01"
                                   "d")));
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  EXPECT_EQ(c.class_rows[0].interface_name, "IOdd");
}

TEST(LibraryContents, RecordsLoseLeadingUnderscoresEnumerationsKeepThem) {
  FakeLibrary lib;
  lib.records.Add(std::make_shared<FakeType>("__Point", kTypeKindRecord));
  lib.enums.Add(std::make_shared<FakeType>("_Colors", kTypeKindEnum));
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  EXPECT_EQ(c.type_rows, std::vector<std::string>{"Point"});
  EXPECT_EQ(c.enumeration_rows, std::vector<std::string>{"_Colors"});
}

TEST(LibraryContents, OnlyLowSixteenBitsOfCountsAreWalked) {
  FakeLibrary lib;
  lib.interfaces.Add(fakes::Interface("IOnly")).SetCount(0x10001);
  LibraryContents c = BuildLibraryContents(lib, NoProgId);
  EXPECT_EQ(c.class_rows.size(), 1u);
}

}  // namespace
}  // namespace velbrook::typeinfo
