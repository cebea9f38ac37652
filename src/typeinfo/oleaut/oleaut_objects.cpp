// ITypeInfo walked on demand; every answer is cached in the wrapper so that a
// walk of the whole library asks oleaut32 each question once.
#include "typeinfo/oleaut/oleaut_objects.h"

#include "typeinfo/kind_text.h"
#include "typeinfo/msft/library_model.h"
#include "typeinfo/msft/session.h"
#include "typeinfo/oleaut/com_text.h"
#include "typeinfo/oleaut/fault_guard.h"
#include "typeinfo/type_mapping.h"

namespace velbrook::typeinfo::oleaut {

namespace {

std::unique_ptr<TypeDescNode> ToNode(const TYPEDESC& desc, int depth) {
  auto node = std::make_unique<TypeDescNode>();
  node->vt = desc.vt;
  if (depth > 64) return node;  // a sane library never nests this deep
  if ((desc.vt == VT_PTR || desc.vt == VT_SAFEARRAY) && desc.lptdesc != nullptr) {
    node->inner = ToNode(*desc.lptdesc, depth + 1);
  } else if (desc.vt == VT_CARRAY && desc.lpadesc != nullptr) {
    const ARRAYDESC& array = *desc.lpadesc;
    node->inner = ToNode(array.tdescElem, depth + 1);
    for (USHORT d = 0; d < array.cDims; ++d) {
      const SAFEARRAYBOUND& bound = array.rgbounds[d];
      node->bounds.push_back(
          {bound.lLbound, static_cast<int32_t>(bound.lLbound + bound.cElements - 1)});
    }
  } else if (desc.vt == VT_USERDEFINED) {
    node->href = desc.hreftype;
  }
  return node;
}

// The meaningful bytes of a constant, so that both readers hand over the same
// Variant: unused bytes of the value field stay zero.
Variant ToVariant(const VARIANT& value) {
  Variant v;
  v.vt = V_VT(&value);
  switch (v.vt) {
    case VT_BSTR:
      v.has_text = V_BSTR(&value) != nullptr;
      v.text = BstrToText(V_BSTR(&value));
      break;
    case VT_I1:
    case VT_UI1:
      v.value[0] = V_UI1(&value);
      break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      v.SetInt64(V_UI2(&value));
      break;
    case VT_R4:
      v.SetFloat(V_R4(&value));
      break;
    case VT_R8:
    case VT_DATE:
      v.SetDouble(V_R8(&value));
      break;
    case VT_CY:
    case VT_I8:
    case VT_UI8:
      v.SetInt64(V_I8(&value));
      break;
    default:
      v.SetInt64(static_cast<uint32_t>(V_I4(&value)));
      break;
  }
  return v;
}

}  // namespace

OleautTypeDescriptor::OleautTypeDescriptor(OleautLibrary* owner, ITypeInfo* context,
                                           const TYPEDESC& desc)
    : owner_(owner), context_(context) {
  MappedType mapped = MapTypeDesc(*ToNode(desc, 0));
  var_type_ = mapped.var_type;
  pointer_level_ = mapped.pointer_level;
  bounds_ = std::move(mapped.bounds);
  user_defined_ = mapped.user_defined;
  href_ = mapped.href;
}

const Type* OleautTypeDescriptor::ReferencedType() const {
  if (!user_defined_) return nullptr;
  return owner_->Wrap(owner_->ResolveRef(context_, href_));
}

std::optional<MissingType> OleautTypeDescriptor::MissingReference() const {
  if (!user_defined_ || ReferencedType() != nullptr) return std::nullopt;
  return owner_->MissingImport(href_);
}

int32_t OleautRawTypeInfo::GetTypeAttr(int32_t* impl_type_count) const {
  *impl_type_count = 0;
  TYPEATTR* attr = nullptr;
  HRESULT hr = info_->GetTypeAttr(&attr);
  if (FAILED(hr) || attr == nullptr) return FAILED(hr) ? hr : kResultFail;
  *impl_type_count = attr->cImplTypes;
  info_->ReleaseTypeAttr(attr);
  return kResultOk;
}

int32_t OleautRawTypeInfo::GetImplTypeFlags(uint32_t index, int32_t* flags) const {
  *flags = 0;
  INT value = 0;
  HRESULT hr = info_->GetImplTypeFlags(index, &value);
  if (SUCCEEDED(hr)) *flags = value;
  return hr;
}

const RawTypeInfo* OleautRawTypeInfo::GetRefTypeInfoOfImplType(uint32_t index) const {
  HREFTYPE href = 0;
  if (FAILED(info_->GetRefTypeOfImplType(index, &href))) return nullptr;
  return owner_->WrapRaw(owner_->ResolveRef(info_, href));
}

int32_t OleautRawTypeInfo::GetDocumentationName(std::string* name) const {
  name->clear();
  ScopedBstr text;
  HRESULT hr = info_->GetDocumentation(MEMBERID_NIL, text.Receive(), nullptr, nullptr, nullptr);
  if (SUCCEEDED(hr)) *name = text.Text();
  return hr;
}

OleautType::OleautType(OleautLibrary* owner, ITypeInfo* info)
    : owner_(owner), info_(info), raw_(owner, info) {
  ScopedBstr name, help;
  if (SUCCEEDED(
          info->GetDocumentation(MEMBERID_NIL, name.Receive(), help.Receive(), nullptr, nullptr))) {
    name_ = name.Text();
    help_ = help.Text();
  }
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr != nullptr) {
    attr_ok_ = true;
    guid_text_ = GuidToText(attr->guid);
    type_kind_ = attr->typekind;
    type_flags_ = attr->wTypeFlags;
    func_count_ = attr->cFuncs;
    var_count_ = attr->cVars;
    impl_count_ = attr->cImplTypes;
    instance_size_ = attr->cbSizeInstance;
    alignment_ = attr->cbAlignment;
    if (attr->typekind == TKIND_ALIAS) {
      aliased_ = owner->MakeTypeDescriptor(info, attr->tdescAlias);
    }
    info->ReleaseTypeAttr(attr);
  }
}

std::string_view OleautType::KindTextView() const {
  return attr_ok_ ? KindTextOf(type_kind_) : std::string_view();
}

std::string_view OleautType::LibraryNameView() const {
  if (!library_name_) {
    library_name_.emplace();
    ITypeLib* library = nullptr;
    UINT index = 0;
    if (SUCCEEDED(info_->GetContainingTypeLib(&library, &index)) && library != nullptr) {
      ScopedBstr name;
      if (SUCCEEDED(library->GetDocumentation(-1, name.Receive(), nullptr, nullptr, nullptr))) {
        *library_name_ = name.Text();
      }
      library->Release();
    }
  }
  return *library_name_;
}

const Type* OleautType::VTableInterface() const {
  if (!vtable_interface_) {
    const Type* result = nullptr;
    if (type_kind_ == TKIND_INTERFACE) {
      result = this;
    } else if (type_kind_ == TKIND_DISPATCH && (type_flags_ & TYPEFLAG_FDUAL)) {
      HREFTYPE href = 0;
      if (SUCCEEDED(info_->GetRefTypeOfImplType(static_cast<UINT>(-1), &href))) {
        result = owner_->Wrap(owner_->ResolveRef(info_, href));
      }
    }
    vtable_interface_ = result;
  }
  return *vtable_interface_;
}

const std::vector<OleautType::ImplEntry>& OleautType::Impls() const {
  if (!impls_) {
    std::vector<ImplEntry> entries;
    for (UINT j = 0; j < impl_count_; ++j) {
      HREFTYPE href = 0;
      INT flags = 0;
      if (FAILED(info_->GetRefTypeOfImplType(j, &href))) continue;
      ITypeInfo* referenced = owner_->ResolveRef(info_, href);
      if (referenced == nullptr) continue;
      if (FAILED(info_->GetImplTypeFlags(j, &flags))) flags = 0;
      const Type* type = owner_->Wrap(referenced);
      if (type != nullptr) entries.push_back({type, flags});
    }
    impls_ = std::move(entries);
  }
  return *impls_;
}

const TypeList* OleautType::ImplementedInterfaces() const {
  if (!impl_list_) {
    impl_list_ = std::make_unique<VectorList<Type>>();
    for (const ImplEntry& entry : Impls()) impl_list_->Add(entry.type);
  }
  return impl_list_.get();
}

const Type* OleautType::DefaultInterface() const {
  if (type_kind_ != TKIND_COCLASS) return nullptr;
  const Type* first = nullptr;
  for (const ImplEntry& entry : Impls()) {
    if (entry.flags & IMPLTYPEFLAG_FSOURCE) continue;
    if (entry.flags & IMPLTYPEFLAG_FDEFAULT) return entry.type;
    if (first == nullptr) first = entry.type;
  }
  return first;
}

const Type* OleautType::DefaultEventInterface() const {
  if (type_kind_ != TKIND_COCLASS) return nullptr;
  for (const ImplEntry& entry : Impls()) {
    const int32_t both = IMPLTYPEFLAG_FSOURCE | IMPLTYPEFLAG_FDEFAULT;
    if ((entry.flags & both) == both) return entry.type;
  }
  return nullptr;
}

const MemberList* OleautType::Members() const {
  if (!attr_ok_) return nullptr;
  if (!members_) LoadMembers();
  return members_.get();
}

bool OleautType::LoadFunction(UINT index, MemberFacts* out) const {
  FUNCDESC* func = nullptr;
  if (FAILED(info_->GetFuncDesc(index, &func)) || func == nullptr) return false;
  MemberFacts& facts = *out;
  facts.member_id = func->memid;
  // Offsets are given for the 32-bit program we ship, whatever process this
  // reader runs in.
  facts.vtable_offset = static_cast<int32_t>(func->oVft / static_cast<SHORT>(sizeof(void*)) * 4);
  facts.invoke_kind = func->invkind;
  facts.value_type = owner_->MakeTypeDescriptor(info_, func->elemdescFunc.tdesc);
  std::vector<BSTR> names(static_cast<size_t>(func->cParams) + 1, nullptr);
  UINT got = 0;
  if (FAILED(info_->GetNames(func->memid, names.data(), static_cast<UINT>(names.size()), &got))) {
    got = 0;
  }
  facts.name = got > 0 ? BstrToText(names[0]) : std::string();
  if (func->cParams > 0) {
    VectorList<Parameter>* params = owner_->MakeParameterList();
    for (SHORT p = 0; p < func->cParams; ++p) {
      const ELEMDESC& elem = func->lprgelemdescParam[p];
      UINT slot = static_cast<UINT>(p) + 1;
      std::string param_name = slot < got ? BstrToText(names[slot]) : std::string();
      params->Add(owner_->MakeParameter(std::move(param_name),
                                        owner_->MakeTypeDescriptor(info_, elem.tdesc),
                                        elem.paramdesc.wParamFlags));
    }
    facts.parameters = params;
  }
  for (UINT n = 0; n < got; ++n) SysFreeString(names[n]);
  ScopedBstr help;
  if (SUCCEEDED(info_->GetDocumentation(func->memid, nullptr, help.Receive(), nullptr, nullptr))) {
    facts.help = help.Text();
  }
  info_->ReleaseFuncDesc(func);
  return true;
}

void OleautType::LoadMembers() const {
  members_ = std::make_unique<VectorList<Member>>();
  for (UINT i = 0; i < func_count_; ++i) {
    MemberFacts facts;
    bool found = false;
    // A function whose description oleaut32 cannot give (or crashes on) is
    // left out, as a failed call yields nothing.
    bool survived = Guarded([&] { found = LoadFunction(i, &facts); });
    if (survived && found) members_->Add(owner_->MakeMember(std::move(facts)));
  }
  for (UINT i = 0; i < var_count_; ++i) {
    VARDESC* var = nullptr;
    if (FAILED(info_->GetVarDesc(i, &var)) || var == nullptr) continue;
    MemberFacts facts;
    facts.member_id = var->memid;
    facts.invoke_kind = kInvokeData;
    facts.value_type = owner_->MakeTypeDescriptor(info_, var->elemdescVar.tdesc);
    if (var->varkind == VAR_CONST && var->lpvarValue != nullptr) {
      facts.constant = ToVariant(*var->lpvarValue);
    }
    if (var->varkind == VAR_PERINSTANCE) facts.instance_offset = var->oInst;
    ScopedBstr name, help;
    if (SUCCEEDED(info_->GetDocumentation(var->memid, name.Receive(), help.Receive(), nullptr,
                                          nullptr))) {
      facts.name = name.Text();
      facts.help = help.Text();
    }
    info_->ReleaseVarDesc(var);
    members_->Add(owner_->MakeMember(std::move(facts)));
  }
}

std::optional<MissingType> OleautLibrary::MissingImport(HREFTYPE href) {
  if (!file_) {
    Result<msft::MsftFile> parsed = msft::ParseLibraryPath(path_);
    file_.emplace();
    if (parsed) file_->emplace(std::move(parsed.value()));
  }
  if (!file_->has_value()) return std::nullopt;
  return msft::ImportedTypeOf(**file_, href);
}

OleautLibrary::OleautLibrary(ITypeLib* lib, std::string path) : lib_(lib), path_(std::move(path)) {
  ScopedBstr name, help;
  if (SUCCEEDED(lib->GetDocumentation(-1, name.Receive(), help.Receive(), nullptr, nullptr))) {
    name_ = name.Text();
    help_ = help.Text();
  }
  TLIBATTR* attr = nullptr;
  if (SUCCEEDED(lib->GetLibAttr(&attr)) && attr != nullptr) {
    guid_text_ = GuidToText(attr->guid);
    major_ = attr->wMajorVerNum;
    minor_ = attr->wMinorVerNum;
    sys_kind_ = attr->syskind;
    lcid_ = attr->lcid;
    lib->ReleaseTLibAttr(attr);
  }
  UINT count = lib->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    TYPEKIND kind;
    ITypeInfo* info = nullptr;
    if (FAILED(lib->GetTypeInfoType(i, &kind)) || FAILED(lib->GetTypeInfo(i, &info))) {
      continue;
    }
    const OleautType* type = Wrap(info);
    if (type == nullptr) continue;
    switch (kind) {
      case TKIND_COCLASS:
        classes_.Add(type);
        break;
      case TKIND_INTERFACE:
      case TKIND_DISPATCH:
        interfaces_.Add(type);
        break;
      case TKIND_ENUM:
        enums_.Add(type);
        break;
      case TKIND_RECORD:
        records_.Add(type);
        break;
      case TKIND_MODULE:
        modules_.Add(type);
        break;
      default:
        break;
    }
  }
}

OleautLibrary::~OleautLibrary() {
  types_.clear();
  raws_.clear();
  for (ITypeInfo* info : held_) info->Release();
  lib_->Release();
}

const OleautType* OleautLibrary::Wrap(ITypeInfo* info) {
  if (info == nullptr) return nullptr;
  auto found = types_.find(info);
  if (found != types_.end()) {
    info->Release();  // we already hold one reference
    return found->second.get();
  }
  held_.push_back(info);
  auto type = std::make_unique<OleautType>(this, info);
  const OleautType* result = type.get();
  types_.emplace(info, std::move(type));
  return result;
}

const OleautRawTypeInfo* OleautLibrary::WrapRaw(ITypeInfo* info) {
  if (info == nullptr) return nullptr;
  auto found = raws_.find(info);
  if (found != raws_.end()) {
    info->Release();
    return found->second.get();
  }
  held_.push_back(info);
  auto raw = std::make_unique<OleautRawTypeInfo>(this, info);
  const OleautRawTypeInfo* result = raw.get();
  raws_.emplace(info, std::move(raw));
  return result;
}

const TypeDescriptor* OleautLibrary::MakeTypeDescriptor(ITypeInfo* context, const TYPEDESC& desc) {
  descriptors_.emplace_back(this, context, desc);
  return &descriptors_.back();
}

const Member* OleautLibrary::MakeMember(MemberFacts facts) {
  members_.emplace_back(std::move(facts));
  return &members_.back();
}

const Parameter* OleautLibrary::MakeParameter(std::string name, const TypeDescriptor* type,
                                              int32_t flags) {
  parameters_.emplace_back(std::move(name), type, flags);
  return &parameters_.back();
}

VectorList<Parameter>* OleautLibrary::MakeParameterList() {
  parameter_lists_.emplace_back();
  return &parameter_lists_.back();
}

}  // namespace velbrook::typeinfo::oleaut
