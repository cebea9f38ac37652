// The component's objects as the portable reader hands them out. They are
// owned by the LibraryModel they come from and live as long as it does; so do
// the texts they hand out, which are views into the library's bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typeinfo/component.h"
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo::msft {

class LibraryModel;
class PortableType;

template <typename T>
class VectorList : public List<T> {
 public:
  uint32_t Count() const override { return static_cast<uint32_t>(items_.size()); }
  const T* Item(uint32_t index) const override {
    return index >= 1 && index <= items_.size() ? items_[index - 1] : nullptr;
  }
  void Add(const T* item) { items_.push_back(item); }
  void Reserve(size_t count) { items_.reserve(count); }

 private:
  std::vector<const T*> items_;
};

class PortableTypeDescriptor : public TypeDescriptor {
 public:
  // `context` is the type whose references the descriptor's href names.
  PortableTypeDescriptor(const PortableType* context, MappedType mapped)
      : context_(context), mapped_(std::move(mapped)) {}
  const Type* ReferencedType() const override;
  std::optional<MissingType> MissingReference() const override;
  int32_t PointerLevel() const override { return mapped_.pointer_level; }
  int32_t VarType() const override { return mapped_.var_type; }
  std::vector<ArrayBound> ArrayBounds() const override { return mapped_.bounds; }

 private:
  const PortableType* context_;
  MappedType mapped_;
  mutable std::optional<const Type*> referenced_;
};

class PortableParameter : public Parameter {
 public:
  PortableParameter(std::string_view name, const TypeDescriptor* type, int32_t flags)
      : name_(name), type_(type), flags_(flags) {}
  std::string_view NameView() const override { return name_; }
  const TypeDescriptor* ParamType() const override { return type_; }
  int32_t ParamFlags() const override { return flags_; }

 private:
  std::string_view name_;
  const TypeDescriptor* type_;
  int32_t flags_;
};

// A member's parameters, stored side by side.
class ParameterRange : public List<Parameter> {
 public:
  ParameterRange(const PortableParameter* first, uint32_t count) : first_(first), count_(count) {}
  uint32_t Count() const override { return count_; }
  const Parameter* Item(uint32_t index) const override;

 private:
  const PortableParameter* first_;
  uint32_t count_;
};

struct MemberFacts {
  std::string_view name;
  std::string_view help;
  const PortableParameter* first_parameter = nullptr;
  uint32_t parameter_count = 0;
  const TypeDescriptor* value_type = nullptr;
  Variant constant;
  int32_t member_id = 0;
  int32_t vtable_offset = 0;
  int32_t invoke_kind = 0;
  int64_t instance_offset = -1;
};

class PortableMember : public Member {
 public:
  explicit PortableMember(const MemberFacts& facts)
      : facts_(facts), parameters_(facts.first_parameter, facts.parameter_count) {}
  std::string_view NameView() const override { return facts_.name; }
  // Null when the member has no parameters.
  const ParameterList* Parameters() const override {
    return facts_.parameter_count > 0 ? &parameters_ : nullptr;
  }
  const TypeDescriptor* ValueType() const override { return facts_.value_type; }
  Variant ConstantValue() const override { return facts_.constant; }
  int32_t MemberId() const override { return facts_.member_id; }
  int32_t VTableOffset() const override { return facts_.vtable_offset; }
  int32_t InvokeKind() const override { return facts_.invoke_kind; }
  int64_t InstanceOffset() const override { return facts_.instance_offset; }
  std::string_view HelpStringView() const override { return facts_.help; }

 private:
  MemberFacts facts_;
  ParameterRange parameters_;
};

class PortableRawTypeInfo : public RawTypeInfo {
 public:
  explicit PortableRawTypeInfo(const PortableType* type) : type_(type) {}
  int32_t GetTypeAttr(int32_t* impl_type_count) const override;
  int32_t GetImplTypeFlags(uint32_t index, int32_t* flags) const override;
  const RawTypeInfo* GetRefTypeInfoOfImplType(uint32_t index) const override;
  int32_t GetDocumentationName(std::string* name) const override;

 private:
  const PortableType* type_;
};

// One view of a type info record: the record as stored, or for a dual
// interface the other of its two faces (dispinterface or vtable interface).
class PortableType : public Type {
 public:
  PortableType(LibraryModel* model, size_t index, int32_t kind);
  std::string_view NameView() const override;
  std::string_view GuidTextView() const override;
  uint32_t TypeFlags() const override;
  std::string_view KindTextView() const override;
  const Type* VTableInterface() const override;
  const MemberList* Members() const override;
  const TypeList* ImplementedInterfaces() const override;
  const Type* DefaultInterface() const override;
  const Type* DefaultEventInterface() const override;
  int32_t TypeKind() const override { return kind_; }
  std::string_view HelpStringView() const override;
  const class RawTypeInfo* RawTypeInfo() const override { return &raw_; }
  uint32_t InstanceSize() const override;
  uint32_t Alignment() const override;
  const TypeDescriptor* AliasedType() const override;
  std::string_view LibraryNameView() const override;

  LibraryModel* model() const { return model_; }
  size_t index() const { return index_; }

  struct ImplEntry {
    const PortableType* type;
    int32_t flags;
  };
  const std::vector<ImplEntry>& Impls() const;

 private:
  LibraryModel* model_;
  size_t index_;
  int32_t kind_;
  PortableRawTypeInfo raw_;
  // "{...}" and a NUL once asked for; empty (a NUL first) before.
  mutable char guid_text_[39] = {};
  mutable std::optional<const Type*> vtable_interface_;
  mutable std::optional<std::vector<ImplEntry>> impls_;
  // The implemented interfaces as a list, read from Impls().
  class ImplList : public List<Type> {
   public:
    explicit ImplList(const std::vector<ImplEntry>* entries) : entries_(entries) {}
    uint32_t Count() const override { return static_cast<uint32_t>(entries_->size()); }
    const Type* Item(uint32_t index) const override {
      return index >= 1 && index <= entries_->size() ? (*entries_)[index - 1].type : nullptr;
    }

   private:
    const std::vector<ImplEntry>* entries_;
  };
  mutable std::optional<ImplList> impl_list_;
  mutable std::optional<VectorList<Member>> members_;
  mutable std::optional<const TypeDescriptor*> aliased_;
};

}  // namespace velbrook::typeinfo::msft
