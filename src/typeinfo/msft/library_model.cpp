// How oleaut32 presents an MSFT library through ITypeLib/ITypeInfo, restated
// over the decoded file so that both readers give the same answers.
#include "typeinfo/msft/library_model.h"

#include <algorithm>
#include <cstring>

#include "typeinfo/msft/session.h"

namespace velbrook::typeinfo::msft {

namespace {

constexpr int32_t kFuncDispatch = 4;
constexpr uint16_t kVtHresult = 25;
constexpr uint16_t kVtVoid = 24;
constexpr uint32_t kTypeFlagOleAutomation = 0x100;
constexpr uint32_t kHrefSelfOtherFace = 0xFFFFFFFEu;  // -2: GetRefTypeOfImplType(-1)
constexpr int kMaxChain = 256;     // base chains longer than this count as broken
constexpr int kMaxTypeDepth = 64;  // the same bound the oleaut32 reader applies

bool IsDualCapable(const PortableType& type, uint32_t flags) {
  return (flags & kTypeFlagDual) != 0 &&
         (type.TypeKind() == kTypeKindInterface || type.TypeKind() == kTypeKindDispatch);
}

// A data type of a base VT, as the file writes one.
DataType BaseDataType(uint16_t vt) { return DataType(0x80000000u | vt); }

// One level of a TYPEDESC chain of the file, for MapTypeChain: a base type
// (negative) or an entry of the TYPEDESC table, which the member decoder has
// checked (every entry a member names leads to a sound chain).
class DataTypeHandle {
 public:
  DataTypeHandle(const MsftFile* file, DataType type, int depth)
      : file_(file), type_(type), depth_(depth) {}
  uint16_t vt() const { return type_ < 0 ? uint16_t(type_) & 0x0FFF : Entry().vt; }
  bool has_inner() const { return type_ >= 0 && depth_ <= kMaxTypeDepth && Entry().has_inner; }
  DataTypeHandle inner() const { return DataTypeHandle(file_, Entry().inner, depth_ + 1); }
  const std::vector<ArrayBound>& bounds() const { return Entry().bounds; }
  uint32_t href() const {
    if (type_ < 0 || depth_ > kMaxTypeDepth) return 0;
    const TypeDescEntry& e = Entry();
    return !e.has_inner && e.vt == kVtUserDefined ? e.href : 0;
  }

 private:
  const TypeDescEntry& Entry() const { return file_->type_descs[size_t(type_) / 8]; }
  const MsftFile* file_;
  DataType type_;
  int depth_;
};

}  // namespace

size_t LibraryModel::GuidHash::operator()(const Guid& guid) const {
  uint64_t low = 0, high = 0;
  std::memcpy(&low, guid.data(), 8);
  std::memcpy(&high, guid.data() + 8, 8);
  return size_t(low ^ (high * 0x9E3779B97F4A7C15ull));
}

LibraryModel::LibraryModel(MsftFile file, std::string path, Session* session)
    : file_(std::move(file)), path_(std::move(path)), session_(session) {
  stored_views_.resize(file_.types.size(), nullptr);
  alternate_views_.resize(file_.types.size(), nullptr);
  id_index_.resize(file_.types.size());
}

const TypeInfoRecord& LibraryModel::Decoded(size_t index) {
  // A corrupt member block leaves the type without members: the component's
  // answer for a call that fails is an empty list.
  Status decoded = file_.DecodeMembers(index);
  (void)decoded;
  return file_.types[index];
}

const PortableType* LibraryModel::View(size_t index, int32_t kind, bool alternate) {
  PortableType*& slot = alternate ? alternate_views_[index] : stored_views_[index];
  if (slot == nullptr) slot = &views_.emplace_back(this, index, kind);
  return slot;
}

const PortableType* LibraryModel::StoredView(size_t index) {
  if (index >= file_.types.size()) return nullptr;
  return View(index, file_.types[index].type_kind, false);
}

const PortableType* LibraryModel::AlternateView(const PortableType& type) {
  if (!IsDualCapable(type, Record(type.index()).type_flags)) return nullptr;
  const bool stored = type.TypeKind() == Record(type.index()).type_kind;
  return View(type.index(),
              type.TypeKind() == kTypeKindInterface ? kTypeKindDispatch : kTypeKindInterface,
              stored);
}

const PortableType* LibraryModel::FindByGuid(const Guid& guid) {
  if (!by_guid_) {
    by_guid_.emplace();
    by_guid_->reserve(file_.types.size());
    for (size_t i = 0; i < file_.types.size(); ++i) {
      const TypeInfoRecord& t = file_.types[i];
      by_guid_->emplace(t.has_guid ? t.guid : Guid{}, i);  // the first one stays
    }
  }
  auto found = by_guid_->find(guid);
  return found == by_guid_->end() ? nullptr : StoredView(found->second);
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

std::optional<MissingType> ImportedTypeOf(const MsftFile& file, uint32_t href) {
  if (int32_t(href) < 0) return std::nullopt;
  const uint32_t key = href & ~uint32_t(3);
  if ((href & 1) == 0 && file.type_by_hreftype.count(key) != 0) return std::nullopt;
  auto ref = file.import_refs.find(key);
  if (ref == file.import_refs.end() || !ref->second.valid ||
      ref->second.file_index >= file.import_files.size()) {
    return std::nullopt;
  }
  const ImportRef& r = ref->second;
  MissingType missing;
  missing.import_file = file.import_files[r.file_index].name;
  missing.type =
      r.by_guid ? GuidToText(r.has_guid ? r.guid : Guid{}) : "type #" + std::to_string(r.index);
  return missing;
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

MappedType LibraryModel::MapDataType(DataType type, int depth) const {
  return MapTypeChain(DataTypeHandle(&file_, type, depth));
}

LibraryModel::IdIndex& LibraryModel::IdsOf(size_t index) {
  IdIndex& index_of = id_index_[index];
  if (index_of.built) return index_of;
  index_of.built = true;
  const TypeInfoRecord& t = Decoded(index);
  const size_t n_funcs = t.funcs.size(), n_all = n_funcs + t.vars.size();
  index_of.ids.reserve(n_all);
  for (size_t i = 0; i < n_funcs; ++i) index_of.ids.emplace_back(t.funcs[i].member_id, uint32_t(i));
  for (size_t i = 0; i < t.vars.size(); ++i) {
    index_of.ids.emplace_back(t.vars[i].member_id, kVarBase + uint32_t(i));
  }
  // By id, and within an id in member order: the first of each comes first.
  // Libraries mostly store their members in id order already.
  if (!std::is_sorted(index_of.ids.begin(), index_of.ids.end())) {
    std::sort(index_of.ids.begin(), index_of.ids.end());
  }
  index_of.first_with_id.resize(n_all);
  uint32_t leader = 0;
  for (size_t k = 0; k < index_of.ids.size(); ++k) {
    const auto& [id, position] = index_of.ids[k];
    if (k == 0 || index_of.ids[k - 1].first != id) leader = position;
    const size_t slot = position >= kVarBase ? n_funcs + (position - kVarBase) : position;
    index_of.first_with_id[slot] = leader;
  }
  return index_of;
}

std::optional<uint32_t> LibraryModel::FirstPosition(size_t index, int32_t member_id, bool vars) {
  const IdIndex& index_of = IdsOf(index);
  const uint32_t from = vars ? kVarBase : 0;
  auto found =
      std::lower_bound(index_of.ids.begin(), index_of.ids.end(), std::make_pair(member_id, from));
  if (found == index_of.ids.end() || found->first != member_id) return std::nullopt;
  if (vars != (found->second >= kVarBase)) return std::nullopt;
  return found->second - from;
}

const FuncRecord* LibraryModel::FirstFunc(size_t index, int32_t member_id) {
  std::optional<uint32_t> at = FirstPosition(index, member_id, false);
  return at ? &file_.types[index].funcs[*at] : nullptr;
}

const VarRecord* LibraryModel::FirstVar(size_t index, int32_t member_id) {
  std::optional<uint32_t> at = FirstPosition(index, member_id, true);
  return at ? &file_.types[index].vars[*at] : nullptr;
}

void LibraryModel::NamesOf(const FuncRecord& f, size_t max_names, bool dispinterface,
                           std::vector<std::string_view>* names) {
  if (max_names == 0 || !f.name.present) return;
  names->push_back(f.name.text);
  size_t params = f.params.size();
  if (dispinterface && f.func_kind != kFuncDispatch) {
    // The [retval] and [lcid] arguments are hidden from a dispinterface.
    if (params > 0 && (f.params[params - 1].flags & kParamFlagRetval)) --params;
    if (params > 0 && (f.params[params - 1].flags & kParamFlagLcid)) --params;
  }
  for (size_t i = 0; i < params; ++i) {
    if (names->size() >= max_names || !f.params[i].name.present) break;
    names->push_back(f.params[i].name.text);
  }
}

LibraryModel::Documented LibraryModel::FindDocumented(const PortableType& type, int32_t member_id,
                                                      int depth) {
  if (const FuncRecord* f = FirstFunc(type.index(), member_id)) return {f, nullptr};
  if (const VarRecord* v = FirstVar(type.index(), member_id)) return {nullptr, v};
  const TypeInfoRecord& t = Record(type.index());
  if (t.has_impls && !t.impls.empty() && depth < kMaxChain &&
      (type.TypeKind() == kTypeKindInterface || type.TypeKind() == kTypeKindDispatch)) {
    const PortableType* parent = Resolve(type, t.impls[0].href);
    if (parent != nullptr) return parent->model()->FindDocumented(*parent, member_id, depth + 1);
  }
  return {};
}

std::vector<const PortableType*> LibraryModel::BaseChain(const PortableType& type) {
  std::vector<const PortableType*> chain{&type};
  for (const PortableType* at = &type;;) {
    const TypeInfoRecord& t = at->model()->Record(at->index());
    if (!t.has_impls || t.impls.empty()) break;
    const PortableType* base = at->model()->Resolve(*at, t.impls[0].href);
    // A broken reference, a loop or a chain longer than any real one. The
    // chain is short (at most kMaxChain), so looking through it costs less
    // than a set would.
    if (base == nullptr || chain.size() > kMaxChain ||
        std::find(chain.begin(), chain.end(), base) != chain.end()) {
      return {};
    }
    chain.push_back(base);
    at = base;
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

void LibraryModel::BuildMembers(const PortableType& type, VectorList<Member>* out) {
  const TypeInfoRecord& t = Decoded(type.index());
  if (type.TypeKind() == kTypeKindDispatch) {
    // The first FuncCount functions of the chain, most basic first.
    const uint32_t count = FuncCount(type);
    out->Reserve(count + t.vars.size());
    uint32_t added = 0;
    for (const PortableType* owner : BaseChain(type)) {
      const size_t funcs = owner->model()->Decoded(owner->index()).funcs.size();
      for (size_t i = 0; i < funcs && added < count; ++i, ++added) {
        AddFunction(type, {owner, i}, out);
      }
    }
  } else {
    out->Reserve(t.funcs.size() + t.vars.size());
    for (size_t i = 0; i < t.funcs.size(); ++i) AddFunction(type, {&type, i}, out);
  }
  for (size_t i = 0; i < t.vars.size(); ++i) AddVariable(type, i, out);
}

const TypeDescriptor* LibraryModel::AliasedType(const PortableType& type) {
  const TypeInfoRecord& t = Record(type.index());
  if (type.TypeKind() != kTypeKindAlias || !t.has_alias) return nullptr;
  return MakeDescriptor(&type, t.alias_type, 0);
}

void LibraryModel::AddFunction(const PortableType& top, const FuncRef& ref,
                               VectorList<Member>* out) {
  LibraryModel* owner_model = ref.owner->model();
  const FuncRecord& f = owner_model->Record(ref.owner->index()).funcs[ref.func];
  const bool dispinterface = top.TypeKind() == kTypeKindDispatch;
  DataType value = f.return_type;
  int value_depth = 0;
  size_t params = f.params.size();
  if (dispinterface && f.func_kind != kFuncDispatch) {
    // A vtable function seen through IDispatch: its [retval] becomes the
    // result, an HRESULT result disappears, an [lcid] argument is supplied.
    if (params > 0 && (f.params[params - 1].flags & kParamFlagRetval)) {
      DataTypeHandle last(&owner_model->file(), f.params[params - 1].type, 0);
      if (last.vt() != kVtPtr || !last.has_inner()) return;  // oleaut32 refuses this one
      value = owner_model->file().type_descs[size_t(f.params[params - 1].type) / 8].inner;
      value_depth = 1;
      --params;
    } else if (DataTypeHandle(&owner_model->file(), value, 0).vt() == kVtHresult) {
      value = BaseDataType(kVtVoid);
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
  facts.value_type = owner_model->MakeDescriptor(ref.owner, value, value_depth);
  std::vector<std::string_view>& names = names_scratch_;
  names.clear();
  if (owner_model == this && ref.owner->index() == top.index()) {
    // A function of the type's own record: GetNames and GetDocumentation
    // find the first function with its id there, known without a search.
    const FuncRecord& first = Record(top.index()).funcs[IdsOf(top.index()).first_with_id[ref.func]];
    NamesOf(first, params + 1, dispinterface, &names);
    facts.help = first.help.text;
  } else {
    // GetNames and GetDocumentation search the same way: one search serves
    // both.
    Documented found = FindDocumented(top, f.member_id, 0);
    if (found.func != nullptr) {
      NamesOf(*found.func, params + 1, dispinterface, &names);
      facts.help = found.func->help.text;
    } else if (found.var != nullptr) {
      names.push_back(found.var->name.text);
      facts.help = found.var->help.text;
    }
  }
  if (!names.empty()) facts.name = names[0];
  if (params > 0) {
    parameters_.EnsureRoom(params);
    for (size_t p = 0; p < params; ++p) {
      const ParamRecord& param = f.params[p];
      std::string_view name = p + 1 < names.size() ? names[p + 1] : std::string_view();
      const TypeDescriptor* type = owner_model->MakeDescriptor(ref.owner, param.type, 0);
      const PortableParameter* made = parameters_.Emplace(name, type, int32_t(param.flags));
      if (p == 0) facts.first_parameter = made;
    }
    facts.parameter_count = uint32_t(params);
  }
  out->Add(MakeMember(facts));
}

void LibraryModel::AddVariable(const PortableType& top, size_t var, VectorList<Member>* out) {
  const VarRecord& v = Record(top.index()).vars[var];
  MemberFacts facts;
  facts.member_id = v.member_id;
  facts.invoke_kind = kInvokeData;
  facts.value_type = MakeDescriptor(&top, v.type, 0);
  if (v.var_kind == 2) facts.constant = v.value;  // VAR_CONST
  facts.instance_offset = v.instance_offset;
  // Name and help come from GetDocumentation, which searches by member id:
  // the first function with it, else the first variable.
  const TypeInfoRecord& t = Record(top.index());
  const uint32_t first = IdsOf(top.index()).first_with_id[t.funcs.size() + var];
  const TableText& name = first < kVarBase ? t.funcs[first].name : t.vars[first - kVarBase].name;
  const TableText& help = first < kVarBase ? t.funcs[first].help : t.vars[first - kVarBase].help;
  facts.name = name.text;
  facts.help = help.text;
  out->Add(MakeMember(facts));
}

const TypeDescriptor* LibraryModel::MakeDescriptor(const PortableType* context, DataType type,
                                                   int depth) {
  return descriptors_.Emplace(context, MapDataType(type, depth));
}

const Member* LibraryModel::MakeMember(const MemberFacts& facts) { return members_.Emplace(facts); }

}  // namespace velbrook::typeinfo::msft
