// The contract objects, answering from the library model.
#include "typeinfo/msft/portable_objects.h"

#include "typeinfo/kind_text.h"
#include "typeinfo/msft/library_model.h"

namespace velbrook::typeinfo::msft {

const Parameter* ParameterRange::Item(uint32_t index) const {
  return index >= 1 && index <= count_ ? first_ + (index - 1) : nullptr;
}

const Type* PortableTypeDescriptor::ReferencedType() const {
  if (!mapped_.user_defined) return nullptr;
  if (!referenced_) referenced_ = context_->model()->Resolve(*context_, mapped_.href);
  return *referenced_;
}

std::optional<MissingType> PortableTypeDescriptor::MissingReference() const {
  if (!mapped_.user_defined || ReferencedType() != nullptr) return std::nullopt;
  return ImportedTypeOf(context_->model()->file(), mapped_.href);
}

int32_t PortableRawTypeInfo::GetTypeAttr(int32_t* impl_type_count) const {
  *impl_type_count = type_->model()->Record(type_->index()).impl_type_count;
  return kResultOk;
}

int32_t PortableRawTypeInfo::GetImplTypeFlags(uint32_t index, int32_t* flags) const {
  *flags = 0;
  int32_t value = 0;
  if (!type_->model()->ImplTypeFlags(*type_, index, &value)) return kResultBadIndex;
  *flags = value;
  return kResultOk;
}

const RawTypeInfo* PortableRawTypeInfo::GetRefTypeInfoOfImplType(uint32_t index) const {
  uint32_t href = 0;
  if (!type_->model()->RefTypeOfImplType(*type_, index, &href)) return nullptr;
  const PortableType* target = type_->model()->Resolve(*type_, href);
  return target == nullptr ? nullptr : target->RawTypeInfo();
}

int32_t PortableRawTypeInfo::GetDocumentationName(std::string* name) const {
  *name = std::string(type_->NameView());
  return kResultOk;
}

PortableType::PortableType(LibraryModel* model, size_t index, int32_t kind)
    : model_(model), index_(index), kind_(kind), raw_(this) {}

std::string_view PortableType::NameView() const { return model_->Record(index_).name.text; }

std::string_view PortableType::GuidTextView() const {
  if (guid_text_[0] == '\0') {
    const TypeInfoRecord& t = model_->Record(index_);
    GuidToChars(t.has_guid ? t.guid : Guid{}, guid_text_);
  }
  return std::string_view(guid_text_, 38);
}

uint32_t PortableType::TypeFlags() const { return model_->TypeFlags(*this); }

std::string_view PortableType::KindTextView() const { return KindTextOf(kind_); }

std::string_view PortableType::HelpStringView() const { return model_->Record(index_).help.text; }

uint32_t PortableType::InstanceSize() const { return model_->Record(index_).instance_size; }

uint32_t PortableType::Alignment() const { return model_->Record(index_).alignment; }

const TypeDescriptor* PortableType::AliasedType() const {
  if (!aliased_) aliased_ = model_->AliasedType(*this);
  return *aliased_;
}

const Type* PortableType::VTableInterface() const {
  if (!vtable_interface_) {
    const Type* result = nullptr;
    if (kind_ == kTypeKindInterface) {
      result = this;
    } else if (kind_ == kTypeKindDispatch && (TypeFlags() & kTypeFlagDual)) {
      uint32_t href = 0;
      if (model_->RefTypeOfImplType(*this, -1, &href)) result = model_->Resolve(*this, href);
    }
    vtable_interface_ = result;
  }
  return *vtable_interface_;
}

const std::vector<PortableType::ImplEntry>& PortableType::Impls() const {
  if (!impls_) {
    std::vector<ImplEntry> entries;
    uint32_t count = model_->Record(index_).impl_type_count;
    for (uint32_t j = 0; j < count; ++j) {
      uint32_t href = 0;
      if (!model_->RefTypeOfImplType(*this, j, &href)) continue;
      const PortableType* type = model_->Resolve(*this, href);
      if (type == nullptr) continue;
      int32_t flags = 0;
      if (!model_->ImplTypeFlags(*this, j, &flags)) flags = 0;
      entries.push_back({type, flags});
    }
    impls_ = std::move(entries);
  }
  return *impls_;
}

const TypeList* PortableType::ImplementedInterfaces() const {
  if (!impl_list_) impl_list_.emplace(&Impls());
  return &*impl_list_;
}

const Type* PortableType::DefaultInterface() const {
  if (kind_ != kTypeKindCoclass) return nullptr;
  const Type* first = nullptr;
  for (const ImplEntry& entry : Impls()) {
    if (entry.flags & kImplTypeFlagSource) continue;
    if (entry.flags & kImplTypeFlagDefault) return entry.type;
    if (first == nullptr) first = entry.type;
  }
  return first;
}

const Type* PortableType::DefaultEventInterface() const {
  if (kind_ != kTypeKindCoclass) return nullptr;
  const int32_t both = kImplTypeFlagSource | kImplTypeFlagDefault;
  for (const ImplEntry& entry : Impls()) {
    if ((entry.flags & both) == both) return entry.type;
  }
  return nullptr;
}

std::string_view PortableType::LibraryNameView() const { return model_->file().name.text; }

const MemberList* PortableType::Members() const {
  if (!members_) model_->BuildMembers(*this, &members_.emplace());
  return &*members_;
}

}  // namespace velbrook::typeinfo::msft
