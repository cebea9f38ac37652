// libFuzzer entry: opens the bytes as a library (a PE module or a bare MSFT
// file) and walks everything the component exposes, to a bounded depth.
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "typeinfo/msft/portable_opener.h"

namespace {

using namespace velbrook::typeinfo;

class Walker {
 public:
  void Descriptor(const TypeDescriptor* desc, int depth) {
    if (desc == nullptr) return;
    sink_ += uint32_t(desc->VarType() + desc->PointerLevel());
    for (const ArrayBound& b : desc->ArrayBounds()) sink_ += uint32_t(b.lower ^ b.upper);
    Visit(desc->ReferencedType(), depth + 1);
  }

  void Visit(const Type* type, int depth) {
    if (type == nullptr || depth > 6 || !seen_.insert(type).second) return;
    sink_ += uint32_t(type->Name().size() + type->GuidText().size() + type->TypeFlags() +
                      type->KindText().size() + type->HelpString().size());
    sink_ += uint32_t(type->TypeKind());
    Visit(type->VTableInterface(), depth + 1);
    Visit(type->DefaultInterface(), depth + 1);
    Visit(type->DefaultEventInterface(), depth + 1);
    const TypeList* bases = type->ImplementedInterfaces();
    for (uint32_t i = 1; i <= WalkCount(bases); ++i) Visit(bases->Item(i), depth + 1);
    if (const RawTypeInfo* raw = type->RawTypeInfo()) {
      int32_t count = 0;
      raw->GetTypeAttr(&count);
      for (int32_t j = 0; j < (count & 0xFFFF) && j < 64; ++j) {
        int32_t flags = 0;
        raw->GetImplTypeFlags(uint32_t(j), &flags);
        std::string name;
        if (const RawTypeInfo* ref = raw->GetRefTypeInfoOfImplType(uint32_t(j))) {
          ref->GetDocumentationName(&name);
        }
        sink_ += uint32_t(flags) + uint32_t(name.size());
      }
    }
    const MemberList* members = type->Members();
    for (uint32_t i = 1; i <= WalkCount(members); ++i) {
      const Member* m = members->Item(i);
      if (m == nullptr) continue;
      sink_ += uint32_t(m->Name().size() + m->HelpString().size());
      sink_ += uint32_t(m->MemberId() + m->VTableOffset() + m->InvokeKind());
      Variant v = m->ConstantValue();
      sink_ += v.vt + uint32_t(v.text.size());
      Descriptor(m->ValueType(), depth);
      const ParameterList* params = m->Parameters();
      for (uint32_t p = 1; p <= WalkCount(params); ++p) {
        const Parameter* param = params->Item(p);
        if (param == nullptr) continue;
        sink_ += uint32_t(param->Name().size() + param->ParamFlags());
        Descriptor(param->ParamType(), depth);
      }
    }
  }

  uint32_t sink_ = 0;

 private:
  std::unordered_set<const Type*> seen_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  msft::PortableOpener opener;
  // Imports resolve to the built-in stdole only: no file system look-ups.
  opener.SetSearchPaths({});
  auto library = opener.OpenLibraryBytes(std::vector<uint8_t>(data, data + size),
                                         "/nonexistent/fuzz-input.tlb");
  if (!library.ok()) return 0;
  Walker walker;
  for (const TypeList* list : {(*library)->ObjectClasses(), (*library)->Interfaces(),
                               (*library)->Enumerations(), (*library)->Records()}) {
    for (uint32_t i = 1; i <= WalkCount(list); ++i) walker.Visit(list->Item(i), 0);
  }
  return walker.sink_ == 0xFFFFFFFFu ? 1 : 0;
}
