// Every list, type, member, parameter and type descriptor of a library,
// visited once; the vtable view of a dual dispinterface as well.
#include "typeinfo/walk.h"

#include <unordered_set>

namespace velbrook::typeinfo {

namespace {

class Walker {
 public:
  uint64_t Run(const Library& library) {
    for (const TypeList* list : {library.ObjectClasses(), library.Interfaces(),
                                 library.Enumerations(), library.Records()}) {
      for (uint32_t i = 1; i <= WalkCount(list); ++i) Type(list->Item(i));
    }
    return sum_;
  }

 private:
  void Add(uint64_t value) { sum_ = sum_ * 31 + value; }

  void Descriptor(const TypeDescriptor* desc) {
    if (desc == nullptr) return;
    Add(static_cast<uint32_t>(desc->VarType()));
    Add(static_cast<uint32_t>(desc->PointerLevel()));
    Add(desc->ArrayBounds().size());
    if (const class Type* ref = desc->ReferencedType()) Add(ref->NameView().size());
  }

  void Type(const class Type* type) {
    if (type == nullptr || !seen_.insert(type).second) return;
    Add(type->NameView().size() + type->GuidTextView().size() + type->HelpStringView().size() +
        type->KindTextView().size());
    Add(type->TypeFlags() ^ static_cast<uint32_t>(type->TypeKind()));
    const TypeList* bases = type->ImplementedInterfaces();
    for (uint32_t i = 1; i <= WalkCount(bases); ++i) {
      if (const class Type* base = bases->Item(i)) Add(base->NameView().size());
    }
    if (const class Type* d = type->DefaultInterface()) Add(d->NameView().size());
    if (const class Type* e = type->DefaultEventInterface()) Add(e->NameView().size());
    const MemberList* members = type->Members();
    for (uint32_t i = 1; i <= WalkCount(members); ++i) {
      const Member* m = members->Item(i);
      if (m == nullptr) continue;
      Add(m->NameView().size() + m->HelpStringView().size());
      Add(static_cast<uint32_t>(m->MemberId() ^ m->VTableOffset() ^ m->InvokeKind()));
      Add(m->ConstantValue().vt);
      Descriptor(m->ValueType());
      const ParameterList* params = m->Parameters();
      for (uint32_t p = 1; p <= WalkCount(params); ++p) {
        const Parameter* param = params->Item(p);
        if (param == nullptr) continue;
        Add(param->NameView().size() + static_cast<uint32_t>(param->ParamFlags()));
        Descriptor(param->ParamType());
      }
    }
    Type(type->VTableInterface());
  }

  uint64_t sum_ = 0;
  std::unordered_set<const class Type*> seen_;
};

}  // namespace

uint64_t WalkLibrary(const Library& library) { return Walker().Run(library); }

}  // namespace velbrook::typeinfo
