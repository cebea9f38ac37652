// Small in-memory implementations of the type-information contract, built
// member by member in tests. Objects are shared so one type can be the base
// or referenced type of several others.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "typeinfo/component.h"

namespace velbrook::fakes {

template <typename T>
class FakeList : public typeinfo::List<T> {
 public:
  // A null item stands for an entry the component could not deliver.
  FakeList& Add(std::shared_ptr<const T> item) {
    items_.push_back(std::move(item));
    return *this;
  }
  // Reports count instead of the number of entries (upper-half tests).
  FakeList& SetCount(uint32_t count) {
    count_ = count;
    return *this;
  }
  uint32_t Count() const override {
    return count_ ? *count_ : static_cast<uint32_t>(items_.size());
  }
  const T* Item(uint32_t index) const override {
    if (index < 1 || index > items_.size()) return nullptr;
    return items_[index - 1].get();
  }

 private:
  std::vector<std::shared_ptr<const T>> items_;
  std::optional<uint32_t> count_;
};

class FakeTypeDescriptor : public typeinfo::TypeDescriptor {
 public:
  explicit FakeTypeDescriptor(int32_t vt, int32_t pointer_level = 0)
      : vt_(vt), pointer_level_(pointer_level) {}
  FakeTypeDescriptor& SetReferencedType(std::shared_ptr<const typeinfo::Type> type) {
    referenced_ = std::move(type);
    return *this;
  }
  FakeTypeDescriptor& SetBounds(std::vector<typeinfo::ArrayBound> bounds) {
    bounds_ = std::move(bounds);
    return *this;
  }
  FakeTypeDescriptor& SetMissing(typeinfo::MissingType missing) {
    missing_ = std::move(missing);
    return *this;
  }
  const typeinfo::Type* ReferencedType() const override { return referenced_.get(); }
  std::optional<typeinfo::MissingType> MissingReference() const override { return missing_; }
  int32_t PointerLevel() const override { return pointer_level_; }
  int32_t VarType() const override { return vt_; }
  std::vector<typeinfo::ArrayBound> ArrayBounds() const override { return bounds_; }

 private:
  int32_t vt_;
  int32_t pointer_level_;
  std::shared_ptr<const typeinfo::Type> referenced_;
  std::vector<typeinfo::ArrayBound> bounds_;
  std::optional<typeinfo::MissingType> missing_;
};

class FakeParameter : public typeinfo::Parameter {
 public:
  FakeParameter(std::string name, int32_t flags,
                std::shared_ptr<const typeinfo::TypeDescriptor> type)
      : name_(std::move(name)), flags_(flags), type_(std::move(type)) {}
  std::string_view NameView() const override { return name_; }
  const typeinfo::TypeDescriptor* ParamType() const override { return type_.get(); }
  int32_t ParamFlags() const override { return flags_; }

 private:
  std::string name_;
  int32_t flags_;
  std::shared_ptr<const typeinfo::TypeDescriptor> type_;
};

// A parameter of a plain VT code.
std::shared_ptr<FakeParameter> Param(std::string name, int32_t flags, int32_t vt,
                                     int32_t pointer_level = 0);
// A parameter of a user-defined type (VT code 0).
std::shared_ptr<FakeParameter> UdtParam(std::string name, int32_t flags,
                                        std::shared_ptr<const typeinfo::Type> type);

class FakeMember : public typeinfo::Member {
 public:
  explicit FakeMember(std::string name) : name_(std::move(name)) {}

  FakeMember& SetInvokeKind(int32_t kind) {
    invoke_kind_ = kind;
    return *this;
  }
  FakeMember& SetMemberId(int32_t id) {
    member_id_ = id;
    return *this;
  }
  FakeMember& SetVTableOffset(int32_t offset) {
    vtable_offset_ = offset;
    return *this;
  }
  FakeMember& SetInstanceOffset(int64_t offset) {
    instance_offset_ = offset;
    return *this;
  }
  FakeMember& SetHelpString(std::string help) {
    help_ = std::move(help);
    return *this;
  }
  FakeMember& SetConstantValue(typeinfo::Variant value) {
    value_ = std::move(value);
    return *this;
  }
  FakeMember& SetValueType(std::shared_ptr<const typeinfo::TypeDescriptor> type) {
    value_type_ = std::move(type);
    return *this;
  }
  // The first call creates the parameter list; without one Parameters() is
  // null, as the component reports a member without parameters.
  FakeMember& AddParameter(std::shared_ptr<const typeinfo::Parameter> parameter);
  FakeList<typeinfo::Parameter>& ParameterList();

  std::string_view NameView() const override { return name_; }
  const typeinfo::ParameterList* Parameters() const override { return parameters_.get(); }
  const typeinfo::TypeDescriptor* ValueType() const override { return value_type_.get(); }
  typeinfo::Variant ConstantValue() const override { return value_; }
  int32_t MemberId() const override { return member_id_; }
  int32_t VTableOffset() const override { return vtable_offset_; }
  int32_t InvokeKind() const override { return invoke_kind_; }
  int64_t InstanceOffset() const override { return instance_offset_; }
  std::string_view HelpStringView() const override { return help_; }

 private:
  std::string name_;
  int32_t invoke_kind_ = typeinfo::kInvokeFunc;
  int32_t member_id_ = 0;
  int32_t vtable_offset_ = 0;
  int64_t instance_offset_ = -1;
  std::string help_;
  typeinfo::Variant value_;
  std::shared_ptr<const typeinfo::TypeDescriptor> value_type_;
  std::shared_ptr<FakeList<typeinfo::Parameter>> parameters_;
};

class FakeType : public typeinfo::Type {
 public:
  explicit FakeType(std::string name, int32_t type_kind = typeinfo::kTypeKindInterface)
      : name_(std::move(name)), type_kind_(type_kind) {}

  FakeType& SetGuidText(std::string guid) {
    guid_ = std::move(guid);
    return *this;
  }
  FakeType& SetTypeFlags(uint32_t flags) {
    flags_ = flags;
    return *this;
  }
  FakeType& SetKindText(std::string text) {
    kind_text_ = std::move(text);
    return *this;
  }
  FakeType& SetHelpString(std::string help) {
    help_ = std::move(help);
    return *this;
  }
  FakeType& SetVTableInterface(std::shared_ptr<const typeinfo::Type> type) {
    vtable_interface_ = std::move(type);
    return *this;
  }
  FakeType& SetDefaultInterface(std::shared_ptr<const typeinfo::Type> type) {
    default_interface_ = std::move(type);
    return *this;
  }
  FakeType& SetDefaultEventInterface(std::shared_ptr<const typeinfo::Type> type) {
    default_event_interface_ = std::move(type);
    return *this;
  }
  FakeType& SetLayout(uint32_t size, uint32_t alignment) {
    instance_size_ = size;
    alignment_ = alignment;
    return *this;
  }
  FakeType& SetAliasedType(std::shared_ptr<const typeinfo::TypeDescriptor> type) {
    aliased_ = std::move(type);
    return *this;
  }
  // The first call creates the list; without one the list is null.
  FakeType& AddMember(std::shared_ptr<const typeinfo::Member> member);
  FakeType& AddBase(std::shared_ptr<const typeinfo::Type> base);
  FakeList<typeinfo::Member>& MemberList();
  FakeList<typeinfo::Type>& BaseList();

  std::string_view NameView() const override { return name_; }
  std::string_view GuidTextView() const override { return guid_; }
  uint32_t TypeFlags() const override { return flags_; }
  std::string_view KindTextView() const override;
  const typeinfo::Type* VTableInterface() const override { return vtable_interface_.get(); }
  const typeinfo::MemberList* Members() const override { return members_.get(); }
  const typeinfo::TypeList* ImplementedInterfaces() const override { return bases_.get(); }
  const typeinfo::Type* DefaultInterface() const override { return default_interface_.get(); }
  const typeinfo::Type* DefaultEventInterface() const override {
    return default_event_interface_.get();
  }
  int32_t TypeKind() const override { return type_kind_; }
  std::string_view HelpStringView() const override { return help_; }
  const typeinfo::RawTypeInfo* RawTypeInfo() const override { return nullptr; }
  uint32_t InstanceSize() const override { return instance_size_; }
  uint32_t Alignment() const override { return alignment_; }
  const typeinfo::TypeDescriptor* AliasedType() const override { return aliased_.get(); }

 private:
  std::string name_;
  int32_t type_kind_;
  uint32_t instance_size_ = 0;
  uint32_t alignment_ = 0;
  std::shared_ptr<const typeinfo::TypeDescriptor> aliased_;
  std::string guid_;
  uint32_t flags_ = 0;
  std::optional<std::string> kind_text_;
  std::string help_;
  std::shared_ptr<const typeinfo::Type> vtable_interface_;
  std::shared_ptr<const typeinfo::Type> default_interface_;
  std::shared_ptr<const typeinfo::Type> default_event_interface_;
  std::shared_ptr<FakeList<typeinfo::Member>> members_;
  std::shared_ptr<FakeList<typeinfo::Type>> bases_;
};

// An interface with the given name and direct bases.
std::shared_ptr<FakeType> Interface(std::string name,
                                    std::vector<std::shared_ptr<const typeinfo::Type>> bases = {});

}  // namespace velbrook::fakes
