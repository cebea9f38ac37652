// The four lists and row maps of an opened library. The source interfaces of
// the coclasses are found through the raw ITypeInfo walk, before the
// interfaces are sorted into event rows and plain rows.
#include "typeinfo/library_contents.h"

#include <unordered_set>

namespace velbrook::typeinfo {

std::optional<size_t> LibraryContents::FindSourceInterface(const std::string& name) const {
  auto found = source_index_.find(name);
  if (found == source_index_.end()) return std::nullopt;
  return found->second;
}

std::string RecordRowName(const std::string& name) {
  size_t first = name.find_first_not_of('_');
  return first == std::string::npos ? std::string() : name.substr(first);
}

bool IsConstantMember(const Member& member) { return member.ConstantValue().vt != 0; }

bool HasConstants(const Type& module) {
  const MemberList* members = module.Members();
  for (uint32_t i = 1; i <= WalkCount(members); ++i) {
    const Member* member = members->Item(i);
    if (member != nullptr && IsConstantMember(*member)) return true;
  }
  return false;
}

class ContentsBuilder {
 public:
  ContentsBuilder(const Library& library, const ProgIdLookup& prog_id)
      : library_(library), prog_id_(prog_id) {}

  LibraryContents Build() {
    AddObjectClasses();
    AddInterfaces();
    const TypeList* records = library_.Records();
    for (uint32_t i = 1; i <= WalkCount(records); ++i) {
      const Type* record = records->Item(i);
      contents_.type_rows.push_back(record ? RecordRowName(record->Name()) : "");
    }
    const TypeList* enums = library_.Enumerations();
    for (uint32_t i = 1; i <= WalkCount(enums); ++i) {
      const Type* enumeration = enums->Item(i);
      contents_.enumeration_rows.push_back(enumeration ? enumeration->Name() : "");
    }
    const TypeList* modules = library_.Modules();
    for (uint32_t i = 1; i <= WalkCount(modules); ++i) {
      const Type* module = modules->Item(i);
      if (module == nullptr || !HasConstants(*module)) continue;
      contents_.enumeration_rows.push_back(module->Name());
      contents_.module_row_index.push_back(i);
    }
    return std::move(contents_);
  }

 private:
  void AddObjectClasses() {
    const TypeList* classes = library_.ObjectClasses();
    for (uint32_t i = 1; i <= WalkCount(classes); ++i) {
      const Type* coclass = classes->Item(i);
      ClassRow row;
      row.hidden = static_cast<int>(contents_.class_rows.size());
      if (coclass != nullptr) {
        const Type* default_interface = coclass->DefaultInterface();
        row.interface_name = default_interface ? default_interface->Name() : "";
        row.class_name = coclass->Name();
        uint32_t flags = coclass->TypeFlags();
        if ((flags & kTypeFlagCanCreate) && (flags & kTypeFlagControl)) {
          row.class_name += " (ActiveX)";
        }
        if (prog_id_) row.prog_id = prog_id_(coclass->GuidText());
      }
      shown_interfaces_.insert(row.interface_name);
      contents_.class_rows.push_back(std::move(row));
      contents_.class_row_index.push_back(i);
      contents_.interface_row_index.push_back(std::nullopt);
      if (coclass != nullptr) AddSourceInterfaces(*coclass);
    }
  }

  void AddSourceInterfaces(const Type& coclass) {
    const RawTypeInfo* raw = coclass.RawTypeInfo();
    int32_t impl_count = 0;
    if (raw == nullptr || raw->GetTypeAttr(&impl_count) != kResultOk) return;
    for (uint32_t j = 0; j < (static_cast<uint32_t>(impl_count) & 0xFFFFu); ++j) {
      int32_t flags = 0;
      raw->GetImplTypeFlags(j, &flags);
      if ((flags & kImplTypeFlagSource) == 0) continue;
      const RawTypeInfo* source = raw->GetRefTypeInfoOfImplType(j);
      std::string name;
      if (source == nullptr || source->GetDocumentationName(&name) != kResultOk || name.empty()) {
        continue;
      }
      std::string owner = coclass.Name();
      if (flags & kImplTypeFlagDefault) owner += " (default)";
      auto found = contents_.source_index_.find(name);
      if (found == contents_.source_index_.end()) {
        contents_.source_index_.emplace(name, contents_.source_interface_names.size());
        contents_.source_interface_names.push_back(name);
        contents_.source_interface_owners.push_back(owner);
      } else {
        contents_.source_interface_owners[found->second] += ", " + owner;
      }
    }
  }

  void AddInterfaces() {
    const TypeList* interfaces = library_.Interfaces();
    for (uint32_t i = 1; i <= WalkCount(interfaces); ++i) {
      const Type* type = interfaces->Item(i);
      std::string returned = type ? type->Name() : "";
      std::string name;
      for (char c : returned) {
        if (c != '\x01') name += c;
      }
      if (auto source = contents_.FindSourceInterface(returned)) {
        // One event row per name: every interface of that name would repeat
        // the same owners text, which a hostile library can make long.
        if (!event_names_.insert(returned).second) continue;
        EventRow row{name, contents_.source_interface_owners[*source],
                     static_cast<int>(contents_.event_rows.size())};
        contents_.event_rows.push_back(std::move(row));
        contents_.event_row_index.push_back(i);
      } else if (shown_interfaces_.count(name) == 0) {
        ClassRow row;
        row.interface_name = name;
        row.hidden = static_cast<int>(contents_.class_rows.size());
        contents_.class_rows.push_back(std::move(row));
        contents_.interface_row_index.push_back(i);
        shown_interfaces_.insert(name);
      }
    }
  }

  const Library& library_;
  const ProgIdLookup& prog_id_;
  LibraryContents contents_;
  // "Interfaces" cells already in the object classes list.
  std::unordered_set<std::string> shown_interfaces_;
  // Source interface names already given an event row.
  std::unordered_set<std::string> event_names_;
};

LibraryContents BuildLibraryContents(const Library& library, const ProgIdLookup& prog_id) {
  return ContentsBuilder(library, prog_id).Build();
}

}  // namespace velbrook::typeinfo
