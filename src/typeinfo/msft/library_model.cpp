// How oleaut32 presents an MSFT library through ITypeLib/ITypeInfo, restated
// over the decoded file so that both readers give the same answers.
#include "typeinfo/msft/library_model.h"

#include <algorithm>
#include <unordered_set>

#include "typeinfo/msft/session.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr int32_t kFuncDispatch = 4;
constexpr uint16_t kVtHresult = 25;
constexpr uint16_t kVtVoid = 24;
constexpr uint32_t kTypeFlagOleAutomation = 0x100;
constexpr uint32_t kHrefSelfOtherFace = 0xFFFFFFFEu;  // -2: GetRefTypeOfImplType(-1)
constexpr int kMaxChain = 256;  // base chains longer than this count as broken

bool IsDualCapable(const PortableType& type, uint32_t flags) {
  return (flags & kTypeFlagDual) != 0 &&
         (type.TypeKind() == kTypeKindInterface || type.TypeKind() == kTypeKindDispatch);
}

}  // namespace

LibraryModel::LibraryModel(MsftFile file, std::string path, Session* session)
    : file_(std::move(file)), path_(std::move(path)), session_(session) {
  func_by_id_.resize(file_.types.size());
  var_by_id_.resize(file_.types.size());
  ids_indexed_.resize(file_.types.size(), false);
}

const PortableType* LibraryModel::View(size_t index, int32_t kind) {
  auto& slot = views_[{index, kind}];
  if (!slot) slot = std::make_unique<PortableType>(this, index, kind);
  return slot.get();
}

const PortableType* LibraryModel::StoredView(size_t index) {
  if (index >= file_.types.size()) return nullptr;
  return View(index, file_.types[index].type_kind);
}

const PortableType* LibraryModel::AlternateView(const PortableType& type) {
  if (!IsDualCapable(type, Record(type.index()).type_flags)) return nullptr;
  return View(type.index(),
              type.TypeKind() == kTypeKindInterface ? kTypeKindDispatch : kTypeKindInterface);
}

const PortableType* LibraryModel::FindByGuid(const Guid& guid) {
  for (size_t i = 0; i < file_.types.size(); ++i) {
    const TypeInfoRecord& t = file_.types[i];
    Guid own = t.has_guid ? t.guid : Guid{};
    if (own == guid) return StoredView(i);
  }
  return nullptr;
}

uint32_t LibraryModel::FuncCount(const PortableType& type) const {
  const TypeInfoRecord& t = Record(type.index());
  if (type.TypeKind() == kTypeKindDispatch) {
    // A dispinterface counts every function of its vtable, inherited ones too.
    return uint32_t(t.vtable_size) / uint32_t(file_.pointer_size);
  }
  return t.func_count;
}

uint32_t LibraryModel::TypeFlags(const PortableType& type) const {
  uint32_t flags = Record(type.index()).type_flags;
  if (type.TypeKind() == kTypeKindDispatch) flags &= ~kTypeFlagOleAutomation;
  return flags;
}

bool LibraryModel::RefTypeOfImplType(const PortableType& type, int64_t index,
                                     uint32_t* href) const {
  const TypeInfoRecord& t = Record(type.index());
  if (index == -1) {
    if ((t.type_flags & kTypeFlagDual) == 0) return false;
    *href = kHrefSelfOtherFace;
    return true;
  }
  if (index == 0 && type.TypeKind() == kTypeKindDispatch) {
    // Every dispinterface is shown as deriving from IDispatch.
    *href = file_.dispatch_href;
    return true;
  }
  if (index < 0 || index >= t.impl_type_count || size_t(index) >= t.impls.size()) return false;
  *href = t.impls[size_t(index)].href;
  if (type.TypeKind() == kTypeKindInterface) *href |= 0x2;  // ask for the vtable face
  return true;
}

bool LibraryModel::ImplTypeFlags(const PortableType& type, uint32_t index, int32_t* flags) const {
  const TypeInfoRecord& t = Record(type.index());
  if (type.TypeKind() == kTypeKindDispatch && index == 0) {
    *flags = 0;
    return true;
  }
  if (index >= t.impl_type_count || index >= t.impls.size()) return false;
  *flags = t.impls[index].flags;
  return true;
}

const PortableType* LibraryModel::Resolve(const PortableType& context, uint32_t href) {
  if (int32_t(href) < 0) {
    return AlternateView(context);
  }
  const PortableType* found = nullptr;
  uint32_t key = href & ~uint32_t(3);
  if ((href & 1) == 0) {
    auto local = file_.type_by_hreftype.find(key);
    if (local != file_.type_by_hreftype.end()) found = StoredView(local->second);
  }
  if (found == nullptr) {
    auto ref = file_.import_refs.find(key);
    if (ref == file_.import_refs.end() || !ref->second.valid) return nullptr;
    LibraryModel* imported = session_->Import(this, ref->second.file_index);
    if (imported == nullptr) return nullptr;
    if (ref->second.by_guid) {
      found = imported->FindByGuid(ref->second.has_guid ? ref->second.guid : Guid{});
    } else if (ref->second.index >= 0) {
      found = imported->StoredView(size_t(ref->second.index));
    }
    if (found == nullptr) return nullptr;
  }
  if ((href & 2) != 0) {
    const PortableType* other = found->model()->AlternateView(*found);
    if (other != nullptr) return other;
  }
  return found;
}

std::unique_ptr<TypeDescNode> LibraryModel::NodeOf(DataType type, int depth) const {
  auto node = std::make_unique<TypeDescNode>();
  if (type < 0) {
    node->vt = uint16_t(type) & 0x0FFF;
    return node;
  }
  const TypeDescEntry& e = file_.type_descs[size_t(type) / 8];
  node->vt = e.vt;
  if (depth > 64) return node;  // the same bound the oleaut32 reader applies
  if (e.has_inner) {
    node->inner = NodeOf(e.inner, depth + 1);
    node->bounds = e.bounds;
  } else if (e.vt == kVtUserDefined) {
    node->href = e.href;
  }
  return node;
}

const FuncRecord* LibraryModel::FirstFunc(size_t index, int32_t member_id) {
  if (!ids_indexed_[index]) {
    const TypeInfoRecord& t = file_.types[index];
    for (size_t i = 0; i < t.funcs.size(); ++i) func_by_id_[index].emplace(t.funcs[i].member_id, i);
    for (size_t i = 0; i < t.vars.size(); ++i) var_by_id_[index].emplace(t.vars[i].member_id, i);
    ids_indexed_[index] = true;
  }
  auto found = func_by_id_[index].find(member_id);
  return found == func_by_id_[index].end() ? nullptr : &file_.types[index].funcs[found->second];
}

const VarRecord* LibraryModel::FirstVar(size_t index, int32_t member_id) {
  FirstFunc(index, member_id);  // builds both indexes
  auto found = var_by_id_[index].find(member_id);
  return found == var_by_id_[index].end() ? nullptr : &file_.types[index].vars[found->second];
}

std::vector<std::string> LibraryModel::Names(const PortableType& type, int32_t member_id,
                                             size_t max_names, bool dispinterface, int depth) {
  std::vector<std::string> names;
  if (const FuncRecord* f = FirstFunc(type.index(), member_id)) {
    if (max_names == 0 || !f->name.present) return names;
    names.push_back(f->name.text);
    size_t params = f->params.size();
    if (dispinterface && f->func_kind != kFuncDispatch) {
      // The [retval] and [lcid] arguments are hidden from a dispinterface.
      if (params > 0 && (f->params[params - 1].flags & kParamFlagRetval)) --params;
      if (params > 0 && (f->params[params - 1].flags & kParamFlagLcid)) --params;
    }
    for (size_t i = 0; i < params; ++i) {
      if (names.size() >= max_names || !f->params[i].name.present) break;
      names.push_back(f->params[i].name.text);
    }
    return names;
  }
  if (const VarRecord* v = FirstVar(type.index(), member_id)) {
    names.push_back(v->name.text);
    return names;
  }
  const TypeInfoRecord& t = Record(type.index());
  if (t.has_impls && !t.impls.empty() && depth < kMaxChain &&
      (type.TypeKind() == kTypeKindInterface || type.TypeKind() == kTypeKindDispatch)) {
    const PortableType* parent = Resolve(type, t.impls[0].href);
    if (parent != nullptr) {
      return parent->model()->Names(*parent, member_id, max_names, dispinterface, depth + 1);
    }
  }
  return names;
}

std::optional<TableText> LibraryModel::Help(const PortableType& type, int32_t member_id,
                                            int depth) {
  if (const FuncRecord* f = FirstFunc(type.index(), member_id)) return f->help;
  if (const VarRecord* v = FirstVar(type.index(), member_id)) return v->help;
  const TypeInfoRecord& t = Record(type.index());
  if (t.has_impls && !t.impls.empty() && depth < kMaxChain &&
      (type.TypeKind() == kTypeKindInterface || type.TypeKind() == kTypeKindDispatch)) {
    const PortableType* parent = Resolve(type, t.impls[0].href);
    if (parent != nullptr) return parent->model()->Help(*parent, member_id, depth + 1);
  }
  return std::nullopt;
}

std::vector<const PortableType*> LibraryModel::BaseChain(const PortableType& type) {
  std::vector<const PortableType*> chain{&type};
  std::unordered_set<const PortableType*> seen{&type};
  for (const PortableType* at = &type;;) {
    const TypeInfoRecord& t = at->model()->Record(at->index());
    if (!t.has_impls || t.impls.empty()) break;
    const PortableType* base = at->model()->Resolve(*at, t.impls[0].href);
    // A broken reference, a loop or a chain longer than any real one.
    if (base == nullptr || !seen.insert(base).second || chain.size() > kMaxChain) return {};
    chain.push_back(base);
    at = base;
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

void LibraryModel::BuildMembers(const PortableType& type, VectorList<Member>* out) {
  const TypeInfoRecord& t = Record(type.index());
  if (type.TypeKind() == kTypeKindDispatch) {
    // The first FuncCount functions of the chain, most basic first.
    const uint32_t count = FuncCount(type);
    uint32_t added = 0;
    for (const PortableType* owner : BaseChain(type)) {
      const size_t funcs = owner->model()->Record(owner->index()).funcs.size();
      for (size_t i = 0; i < funcs && added < count; ++i, ++added) {
        AddFunction(type, {owner, i}, out);
      }
    }
  } else {
    for (size_t i = 0; i < t.funcs.size(); ++i) AddFunction(type, {&type, i}, out);
  }
  for (size_t i = 0; i < t.vars.size(); ++i) AddVariable(type, i, out);
}

void LibraryModel::AddFunction(const PortableType& top, const FuncRef& ref,
                               VectorList<Member>* out) {
  LibraryModel* owner_model = ref.owner->model();
  const FuncRecord& f = owner_model->Record(ref.owner->index()).funcs[ref.func];
  const bool dispinterface = top.TypeKind() == kTypeKindDispatch;
  std::unique_ptr<TypeDescNode> value = owner_model->NodeOf(f.return_type);
  size_t params = f.params.size();
  if (dispinterface && f.func_kind != kFuncDispatch) {
    // A vtable function seen through IDispatch: its [retval] becomes the
    // result, an HRESULT result disappears, an [lcid] argument is supplied.
    if (params > 0 && (f.params[params - 1].flags & kParamFlagRetval)) {
      std::unique_ptr<TypeDescNode> last = owner_model->NodeOf(f.params[params - 1].type);
      if (last->vt != kVtPtr || !last->inner) return;  // oleaut32 refuses this one
      value = std::move(last->inner);
      --params;
    } else if (value->vt == kVtHresult) {
      value = std::make_unique<TypeDescNode>();
      value->vt = kVtVoid;
    }
    if (params > 0 && (f.params[params - 1].flags & kParamFlagLcid)) --params;
  }
  MemberFacts facts;
  facts.member_id = f.member_id;
  facts.invoke_kind = f.invoke_kind;
  if (f.func_kind != kFuncDispatch) {
    // Offsets as the 32-bit program sees them, whatever the library's
    // pointer size.
    uint32_t offset =
        uint32_t(uint16_t(f.vtable_offset & ~1)) * 4 / uint32_t(owner_model->file().pointer_size);
    facts.vtable_offset = int32_t(offset & 0xFFFC);
  }
  facts.value_type = owner_model->MakeDescriptor(ref.owner, *value);
  std::vector<std::string> names = Names(top, f.member_id, params + 1, dispinterface, 0);
  if (!names.empty()) facts.name = names[0];
  if (params > 0) {
    VectorList<Parameter>* list = MakeParameterList();
    for (size_t p = 0; p < params; ++p) {
      const ParamRecord& param = f.params[p];
      std::string name = p + 1 < names.size() ? names[p + 1] : std::string();
      const TypeDescriptor* type =
          owner_model->MakeDescriptor(ref.owner, *owner_model->NodeOf(param.type));
      list->Add(MakeParameter(std::move(name), type, param.flags));
    }
    facts.parameters = list;
  }
  std::optional<TableText> help = Help(top, f.member_id, 0);
  if (help) facts.help = help->text;
  out->Add(MakeMember(std::move(facts)));
}

void LibraryModel::AddVariable(const PortableType& top, size_t var, VectorList<Member>* out) {
  const VarRecord& v = Record(top.index()).vars[var];
  MemberFacts facts;
  facts.member_id = v.member_id;
  facts.invoke_kind = kInvokeData;
  facts.value_type = MakeDescriptor(&top, *NodeOf(v.type));
  if (v.var_kind == 2) facts.constant = v.value;  // VAR_CONST
  // Name and help come from GetDocumentation, which searches by member id.
  if (const FuncRecord* f = FirstFunc(top.index(), v.member_id)) {
    facts.name = f->name.text;
    facts.help = f->help.text;
  } else if (const VarRecord* first = FirstVar(top.index(), v.member_id)) {
    facts.name = first->name.text;
    facts.help = first->help.text;
  }
  out->Add(MakeMember(std::move(facts)));
}

const TypeDescriptor* LibraryModel::AliasedType(const PortableType& type) {
  const TypeInfoRecord& record = Record(type.index());
  if (type.TypeKind() != kTypeKindAlias || !record.has_aliased) return nullptr;
  return MakeDescriptor(&type, *NodeOf(record.aliased));
}

const TypeDescriptor* LibraryModel::MakeDescriptor(const PortableType* context,
                                                   const TypeDescNode& node) {
  descriptors_.emplace_back(context, node);
  return &descriptors_.back();
}

const Parameter* LibraryModel::MakeParameter(std::string name, const TypeDescriptor* type,
                                             int32_t flags) {
  parameters_.emplace_back(std::move(name), type, flags);
  return &parameters_.back();
}

VectorList<Parameter>* LibraryModel::MakeParameterList() {
  parameter_lists_.emplace_back();
  return &parameter_lists_.back();
}

const Member* LibraryModel::MakeMember(MemberFacts facts) {
  members_.emplace_back(std::move(facts));
  return &members_.back();
}

}  // namespace velbrook::typeinfo::msft
