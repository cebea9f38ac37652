// One loaded MSFT library and the rules by which oleaut32 presents it: type
// views (a dual interface has two), reference resolution, the function list
// of a dispinterface, and the member-id lookups behind names and help.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "typeinfo/msft/msft_file.h"
#include "typeinfo/msft/portable_objects.h"

namespace velbrook::typeinfo::msft {

class Session;

class LibraryModel {
 public:
  LibraryModel(MsftFile file, std::string path, Session* session);
  LibraryModel(const LibraryModel&) = delete;
  LibraryModel& operator=(const LibraryModel&) = delete;

  const MsftFile& file() const { return file_; }
  const std::string& path() const { return path_; }
  const TypeInfoRecord& Record(size_t index) const { return file_.types[index]; }

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
  // TYPEATTR.tdescAlias of an alias; null for every other kind.
  const TypeDescriptor* AliasedType(const PortableType& type);

  // The TYPEDESC chain of a data type, as TypeDescNode.
  std::unique_ptr<TypeDescNode> NodeOf(DataType type, int depth = 0) const;

 private:
  struct FuncRef {
    const PortableType* owner;
    size_t func;
  };
  // GetFuncDesc on a dispinterface walks the first base chain and lists the
  // inherited functions first; all of them fail when the chain breaks or
  // loops. The chain, most basic interface first; empty when it fails.
  std::vector<const PortableType*> BaseChain(const PortableType& type);
  void AddFunction(const PortableType& top, const FuncRef& ref, VectorList<Member>* out);
  void AddVariable(const PortableType& top, size_t var, VectorList<Member>* out);
  // GetNames and GetDocumentation of a member id, searching the bases.
  std::vector<std::string> Names(const PortableType& type, int32_t member_id, size_t max_names,
                                 bool dispinterface, int depth);
  std::optional<TableText> Help(const PortableType& type, int32_t member_id, int depth);
  const FuncRecord* FirstFunc(size_t index, int32_t member_id);
  const VarRecord* FirstVar(size_t index, int32_t member_id);

  const PortableType* View(size_t index, int32_t kind);
  const TypeDescriptor* MakeDescriptor(const PortableType* context, const TypeDescNode& node);
  const Parameter* MakeParameter(std::string name, const TypeDescriptor* type, int32_t flags);
  VectorList<Parameter>* MakeParameterList();
  const Member* MakeMember(MemberFacts facts);

  MsftFile file_;
  std::string path_;
  Session* session_;
  std::map<std::pair<size_t, int32_t>, std::unique_ptr<PortableType>> views_;
  std::vector<std::unordered_map<int32_t, size_t>> func_by_id_;
  std::vector<std::unordered_map<int32_t, size_t>> var_by_id_;
  std::vector<bool> ids_indexed_;
  std::deque<PortableTypeDescriptor> descriptors_;
  std::deque<PortableParameter> parameters_;
  std::deque<VectorList<Parameter>> parameter_lists_;
  std::deque<PortableMember> members_;
};

}  // namespace velbrook::typeinfo::msft
