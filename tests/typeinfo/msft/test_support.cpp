// Fixture paths and the bounded walk used by the reader's tests.
#include "test_support.h"

#include <fstream>
#include <iterator>
#include <unordered_set>

namespace velbrook::typeinfo::msft::testing {

std::string FixturePath(const std::string& name) { return std::string(MSFT_FIXTURES) + "/" + name; }
std::string WinePath(const std::string& name) { return std::string(MSFT_WINE_DIR) + "/" + name; }

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

const Type* FindType(const Library& library, const std::string& name) {
  for (const TypeList* list :
       {library.ObjectClasses(), library.Interfaces(), library.Enumerations(), library.Records()}) {
    for (uint32_t i = 1; i <= WalkCount(list); ++i) {
      if (list->Item(i) != nullptr && list->Item(i)->Name() == name) return list->Item(i);
    }
  }
  return nullptr;
}

const Member* FindMember(const Type& type, const std::string& name, int32_t invoke_kind) {
  const MemberList* members = type.Members();
  for (uint32_t i = 1; i <= WalkCount(members); ++i) {
    const Member* m = members->Item(i);
    if (m != nullptr && m->Name() == name && m->InvokeKind() == invoke_kind) return m;
  }
  return nullptr;
}

namespace {

class Walker {
 public:
  explicit Walker(int max_depth) : max_depth_(max_depth) {}

  void Descriptor(const TypeDescriptor* desc, int depth) {
    if (desc == nullptr) return;
    desc->VarType();
    desc->PointerLevel();
    desc->ArrayBounds();
    if (const Type* ref = desc->ReferencedType()) {
      ++totals.referenced;
      Visit(ref, depth + 1);
    }
  }

  void Visit(const Type* type, int depth) {
    if (type == nullptr || depth > max_depth_ || !seen_.insert(type).second) return;
    ++totals.types;
    type->Name();
    type->GuidText();
    type->TypeFlags();
    type->KindText();
    type->HelpString();
    Visit(type->VTableInterface(), depth + 1);
    Visit(type->DefaultInterface(), depth + 1);
    Visit(type->DefaultEventInterface(), depth + 1);
    const TypeList* bases = type->ImplementedInterfaces();
    for (uint32_t i = 1; i <= WalkCount(bases); ++i) Visit(bases->Item(i), depth + 1);
    if (const RawTypeInfo* raw = type->RawTypeInfo()) {
      int32_t count = 0;
      if (raw->GetTypeAttr(&count) == kResultOk) {
        for (int32_t j = 0; j < (count & 0xFFFF); ++j) {
          int32_t flags = 0;
          raw->GetImplTypeFlags(uint32_t(j), &flags);
          std::string name;
          if (const RawTypeInfo* ref = raw->GetRefTypeInfoOfImplType(uint32_t(j))) {
            ref->GetDocumentationName(&name);
          }
        }
      }
    }
    const MemberList* members = type->Members();
    for (uint32_t i = 1; i <= WalkCount(members); ++i) {
      const Member* m = members->Item(i);
      if (m == nullptr) continue;
      ++totals.members;
      m->Name();
      m->HelpString();
      m->ConstantValue();
      Descriptor(m->ValueType(), depth);
      const ParameterList* params = m->Parameters();
      for (uint32_t p = 1; p <= WalkCount(params); ++p) {
        const Parameter* param = params->Item(p);
        if (param == nullptr) continue;
        ++totals.parameters;
        param->Name();
        Descriptor(param->ParamType(), depth);
      }
    }
  }

  WalkTotals totals;

 private:
  int max_depth_;
  std::unordered_set<const Type*> seen_;
};

}  // namespace

WalkTotals WalkAll(const Library& library, int max_depth) {
  Walker walker(max_depth);
  library.Name();
  library.GuidText();
  library.HelpString();
  for (const TypeList* list :
       {library.ObjectClasses(), library.Interfaces(), library.Enumerations(), library.Records()}) {
    for (uint32_t i = 1; i <= WalkCount(list); ++i) walker.Visit(list->Item(i), 0);
  }
  return walker.totals;
}

}  // namespace velbrook::typeinfo::msft::testing
