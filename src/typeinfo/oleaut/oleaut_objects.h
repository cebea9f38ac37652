// Contract objects that wrap ITypeInfo and the descriptions it hands out.
// Every object belongs to one OleautLibrary, which keeps it alive.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "typeinfo/component.h"
#include "typeinfo/msft/msft_file.h"
#include "typeinfo/oleaut/ref_cache.h"

namespace velbrook::typeinfo::oleaut {

class OleautLibrary;

template <typename T>
class VectorList : public List<T> {
 public:
  uint32_t Count() const override { return static_cast<uint32_t>(items_.size()); }
  const T* Item(uint32_t index) const override {
    return index >= 1 && index <= items_.size() ? items_[index - 1] : nullptr;
  }
  void Add(const T* item) { items_.push_back(item); }

 private:
  std::vector<const T*> items_;
};

class OleautTypeDescriptor : public TypeDescriptor {
 public:
  OleautTypeDescriptor(OleautLibrary* owner, ITypeInfo* context, const TYPEDESC& desc);
  const Type* ReferencedType() const override;
  std::optional<MissingType> MissingReference() const override;
  int32_t PointerLevel() const override { return pointer_level_; }
  int32_t VarType() const override { return var_type_; }
  std::vector<ArrayBound> ArrayBounds() const override { return bounds_; }

 private:
  OleautLibrary* owner_;
  ITypeInfo* context_;
  int32_t var_type_;
  int32_t pointer_level_;
  std::vector<ArrayBound> bounds_;
  bool user_defined_;
  HREFTYPE href_;
};

class OleautParameter : public Parameter {
 public:
  OleautParameter(std::string name, const TypeDescriptor* type, int32_t flags)
      : name_(std::move(name)), type_(type), flags_(flags) {}
  std::string_view NameView() const override { return name_; }
  const TypeDescriptor* ParamType() const override { return type_; }
  int32_t ParamFlags() const override { return flags_; }

 private:
  std::string name_;
  const TypeDescriptor* type_;
  int32_t flags_;
};

struct MemberFacts {
  std::string name;
  std::string help;
  int32_t member_id = 0;
  int32_t vtable_offset = 0;
  int32_t invoke_kind = 0;
  int64_t instance_offset = -1;
  const TypeDescriptor* value_type = nullptr;
  const ParameterList* parameters = nullptr;
  Variant constant;
};

class OleautMember : public Member {
 public:
  explicit OleautMember(MemberFacts facts) : facts_(std::move(facts)) {}
  std::string_view NameView() const override { return facts_.name; }
  const ParameterList* Parameters() const override { return facts_.parameters; }
  const TypeDescriptor* ValueType() const override { return facts_.value_type; }
  Variant ConstantValue() const override { return facts_.constant; }
  int32_t MemberId() const override { return facts_.member_id; }
  int32_t VTableOffset() const override { return facts_.vtable_offset; }
  int32_t InvokeKind() const override { return facts_.invoke_kind; }
  int64_t InstanceOffset() const override { return facts_.instance_offset; }
  std::string_view HelpStringView() const override { return facts_.help; }

 private:
  MemberFacts facts_;
};

class OleautRawTypeInfo : public RawTypeInfo {
 public:
  OleautRawTypeInfo(OleautLibrary* owner, ITypeInfo* info) : owner_(owner), info_(info) {}
  int32_t GetTypeAttr(int32_t* impl_type_count) const override;
  int32_t GetImplTypeFlags(uint32_t index, int32_t* flags) const override;
  const RawTypeInfo* GetRefTypeInfoOfImplType(uint32_t index) const override;
  int32_t GetDocumentationName(std::string* name) const override;

 private:
  OleautLibrary* owner_;
  ITypeInfo* info_;
};

class OleautType : public Type {
 public:
  OleautType(OleautLibrary* owner, ITypeInfo* info);
  std::string_view NameView() const override { return name_; }
  std::string_view GuidTextView() const override { return guid_text_; }
  uint32_t TypeFlags() const override { return type_flags_; }
  std::string_view KindTextView() const override;
  const Type* VTableInterface() const override;
  const MemberList* Members() const override;
  const TypeList* ImplementedInterfaces() const override;
  const Type* DefaultInterface() const override;
  const Type* DefaultEventInterface() const override;
  int32_t TypeKind() const override { return type_kind_; }
  std::string_view HelpStringView() const override { return help_; }
  const class RawTypeInfo* RawTypeInfo() const override { return &raw_; }
  uint32_t InstanceSize() const override { return instance_size_; }
  uint32_t Alignment() const override { return alignment_; }
  const TypeDescriptor* AliasedType() const override { return aliased_; }
  std::string_view LibraryNameView() const override;

 private:
  struct ImplEntry {
    const Type* type;
    int32_t flags;
  };
  const std::vector<ImplEntry>& Impls() const;
  void LoadMembers() const;
  bool LoadFunction(UINT index, MemberFacts* out) const;

  OleautLibrary* owner_;
  ITypeInfo* info_;
  bool attr_ok_ = false;
  std::string name_;
  std::string guid_text_;
  std::string help_;
  int32_t type_kind_ = -1;
  uint32_t type_flags_ = 0;
  uint16_t func_count_ = 0;
  uint16_t var_count_ = 0;
  uint16_t impl_count_ = 0;
  uint32_t instance_size_ = 0;
  uint32_t alignment_ = 0;
  const TypeDescriptor* aliased_ = nullptr;
  OleautRawTypeInfo raw_;

  mutable std::optional<std::string> library_name_;
  mutable std::optional<const Type*> vtable_interface_;
  mutable std::optional<std::vector<ImplEntry>> impls_;
  mutable std::unique_ptr<VectorList<Type>> impl_list_;
  mutable std::unique_ptr<VectorList<Member>> members_;
};

class OleautLibrary : public Library {
 public:
  // `path` is the file the library was loaded from.
  OleautLibrary(ITypeLib* lib, std::string path);
  ~OleautLibrary() override;
  OleautLibrary(const OleautLibrary&) = delete;
  OleautLibrary& operator=(const OleautLibrary&) = delete;

  std::string Name() const override { return name_; }
  std::string GuidText() const override { return guid_text_; }
  uint16_t MajorVersion() const override { return major_; }
  uint16_t MinorVersion() const override { return minor_; }
  uint32_t Lcid() const override { return lcid_; }
  std::string HelpString() const override { return help_; }
  int32_t SysKind() const override { return sys_kind_; }
  const TypeList* ObjectClasses() const override { return &classes_; }
  const TypeList* Interfaces() const override { return &interfaces_; }
  const TypeList* Enumerations() const override { return &enums_; }
  const TypeList* Records() const override { return &records_; }
  const TypeList* Modules() const override { return &modules_; }

  // The wrapper of a type info, made once per ITypeInfo; takes over the
  // reference passed in. Null in, null out.
  const OleautType* Wrap(ITypeInfo* info);
  const OleautRawTypeInfo* WrapRaw(ITypeInfo* info);
  const TypeDescriptor* MakeTypeDescriptor(ITypeInfo* context, const TYPEDESC& desc);
  const Member* MakeMember(MemberFacts facts);
  const Parameter* MakeParameter(std::string name, const TypeDescriptor* type, int32_t flags);
  VectorList<Parameter>* MakeParameterList();
  // GetRefTypeInfo through the library's memory of failed references.
  ITypeInfo* ResolveRef(ITypeInfo* context, HREFTYPE href) { return refs_.Resolve(context, href); }
  // Calls made into GetRefTypeInfo for this library so far.
  size_t RefLookups() const { return refs_.lookups(); }
  // What a reference into an import that oleaut32 could not load names.
  // oleaut32 does not tell, so the file's own import table is read, once.
  std::optional<MissingType> MissingImport(HREFTYPE href);

 private:
  ITypeLib* lib_;
  std::string path_;
  std::optional<std::optional<msft::MsftFile>> file_;
  RefCache refs_;
  std::string name_, guid_text_, help_;
  uint16_t major_ = 0, minor_ = 0;
  int32_t sys_kind_ = 0;
  uint32_t lcid_ = 0;
  VectorList<Type> classes_, interfaces_, enums_, records_, modules_;
  std::unordered_map<ITypeInfo*, std::unique_ptr<OleautType>> types_;
  std::unordered_map<ITypeInfo*, std::unique_ptr<OleautRawTypeInfo>> raws_;
  std::vector<ITypeInfo*> held_;
  std::deque<OleautTypeDescriptor> descriptors_;
  std::deque<OleautMember> members_;
  std::deque<OleautParameter> parameters_;
  std::deque<VectorList<Parameter>> parameter_lists_;
};

}  // namespace velbrook::typeinfo::oleaut
