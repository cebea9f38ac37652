// One loaded MSFT library and the rules by which oleaut32 presents it: type
// views (a dual interface has two), reference resolution, the function list
// of a dispinterface, and the member-id lookups behind names and help. Member
// blocks are decoded when a type's members are first asked for.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/portable_objects.h"
#include "typeinfo/msft/stable_store.h"

namespace velbrook::typeinfo::msft {

class Session;

// What an HREFTYPE of `file` names in an imported library; nothing for a
// reference to one of its own types, or one that names no import.
std::optional<MissingType> ImportedTypeOf(const MsftFile& file, uint32_t href);

class LibraryModel {
 public:
  LibraryModel(MsftFile file, std::string path, Session* session);
  LibraryModel(const LibraryModel&) = delete;
  LibraryModel& operator=(const LibraryModel&) = delete;

  const MsftFile& file() const { return file_; }
  const std::string& path() const { return path_; }
  // A type info's record; its funcs and vars only after Decoded(index).
  const TypeInfoRecord& Record(size_t index) const { return file_.types[index]; }
  // The record with its member block decoded (none when it is corrupt).
  const TypeInfoRecord& Decoded(size_t index);

  // The type info as the library lists it (its stored kind).
  const PortableType* StoredView(size_t index);
  // The other face of a dual interface; null for any other type.
  const PortableType* AlternateView(const PortableType& type);
  // The first type info with this GUID (GetTypeInfoOfGuid), or null.
  const PortableType* FindByGuid(const Guid& guid);

  // TYPEATTR.cFuncs and wTypeFlags of a view.
  uint32_t FuncCount(const PortableType& type) const;
  uint32_t TypeFlags(const PortableType& type) const;
  // GetRefTypeOfImplType and GetImplTypeFlags; false where they fail.
  bool RefTypeOfImplType(const PortableType& type, int64_t index, uint32_t* href) const;
  bool ImplTypeFlags(const PortableType& type, uint32_t index, int32_t* flags) const;
  // GetRefTypeInfo: the type an HREFTYPE of `context` names, or null.
  const PortableType* Resolve(const PortableType& context, uint32_t href);

  // Functions (GetFuncDesc order) then variables of a view.
  void BuildMembers(const PortableType& type, VectorList<Member>* out);
  // TYPEATTR tdescAlias of an alias; null for other kinds.
  const TypeDescriptor* AliasedType(const PortableType& type);

  // The TYPEDESC chain of a data type, mapped by MapTypeChain; `depth` is
  // the level the chain starts at (the walk stops below 64 levels, as the
  // oleaut32 reader's does).
  MappedType MapDataType(DataType type, int depth) const;

 private:
  struct FuncRef {
    const PortableType* owner;
    size_t func;
  };
  // A type info's member ids in order, each with its position: funcs first
  // (position i), then vars (position kVarBase + i), for the first-match
  // look-ups of names and help; and per member (funcs, then vars) the
  // position of the first member with its id, which a member's own name and
  // help come from.
  struct IdIndex {
    bool built = false;
    std::vector<std::pair<int32_t, uint32_t>> ids;
    std::vector<uint32_t> first_with_id;
  };
  static constexpr uint32_t kVarBase = 0x80000000u;

  // GetFuncDesc on a dispinterface walks the first base chain and lists the
  // inherited functions first; all of them fail when the chain breaks or
  // loops. The chain, most basic interface first; empty when it fails.
  std::vector<const PortableType*> BaseChain(const PortableType& type);
  void AddFunction(const PortableType& top, const FuncRef& ref, VectorList<Member>* out);
  void AddVariable(const PortableType& top, size_t var, VectorList<Member>* out);
  // What GetNames and GetDocumentation of a member id find, searching the
  // type and then its first base chain: the first function with the id, else
  // the first variable; neither when none has it.
  struct Documented {
    const FuncRecord* func = nullptr;
    const VarRecord* var = nullptr;
  };
  Documented FindDocumented(const PortableType& type, int32_t member_id, int depth);
  // GetNames of a function found for a member id.
  static void NamesOf(const FuncRecord& f, size_t max_names, bool dispinterface,
                      std::vector<std::string_view>* names);
  IdIndex& IdsOf(size_t index);
  const FuncRecord* FirstFunc(size_t index, int32_t member_id);
  const VarRecord* FirstVar(size_t index, int32_t member_id);
  // The first position with this id among funcs (vars false) or vars.
  std::optional<uint32_t> FirstPosition(size_t index, int32_t member_id, bool vars);

  const PortableType* View(size_t index, int32_t kind, bool alternate);
  const TypeDescriptor* MakeDescriptor(const PortableType* context, DataType type, int depth);
  const Member* MakeMember(const MemberFacts& facts);

  MsftFile file_;
  std::string path_;
  Session* session_;
  // The views of each type info: as stored, and a dual interface's other face.
  std::deque<PortableType> views_;
  std::vector<PortableType*> stored_views_;
  std::vector<PortableType*> alternate_views_;
  struct GuidHash {
    size_t operator()(const Guid& guid) const;
  };
  // Built on the first look-up by GUID.
  std::optional<std::unordered_map<Guid, size_t, GuidHash>> by_guid_;
  std::vector<IdIndex> id_index_;
  std::vector<std::string_view> names_scratch_;
  StableStore<PortableTypeDescriptor> descriptors_;
  StableStore<PortableParameter> parameters_;
  StableStore<PortableMember> members_;
};

}  // namespace velbrook::typeinfo::msft
