// Builders of the generation test doubles.
#include "generate_fakes.h"

#include <unordered_set>

#include "generate/generator.h"
#include "generate/header_section.h"
#include "generate/row_resolution.h"

namespace velbrook::generate::testing {

TestContents BuildTestContents(const FakeLibrary& library, const SourceList& sources,
                               const typeinfo::ProgIdLookup& prog_id) {
  typeinfo::LibraryContents contents;
  std::unordered_set<std::string> shown;
  const typeinfo::TypeList* classes = library.ObjectClasses();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(classes); ++i) {
    const typeinfo::Type* coclass = classes->Item(i);
    typeinfo::ClassRow row;
    row.interface_name = coclass->DefaultInterface() ? coclass->DefaultInterface()->Name() : "";
    row.class_name = coclass->Name();
    if ((coclass->TypeFlags() & 0x22) == 0x22) row.class_name += " (ActiveX)";
    row.prog_id = prog_id ? prog_id(coclass->GuidText()) : "";
    row.hidden = static_cast<int>(i - 1);
    shown.insert(row.interface_name);
    contents.class_rows.push_back(row);
    contents.class_row_index.push_back(i);
    contents.interface_row_index.push_back(std::nullopt);
  }
  std::map<std::string, std::string> owners(sources.begin(), sources.end());
  for (const auto& source : sources) {
    contents.source_interface_names.push_back(source.first);
    contents.source_interface_owners.push_back(source.second);
  }
  const typeinfo::TypeList* interfaces = library.Interfaces();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(interfaces); ++i) {
    const std::string name = InterfaceName(interfaces->Item(i));
    if (owners.count(interfaces->Item(i)->Name())) {
      contents.event_rows.push_back({name, owners[interfaces->Item(i)->Name()],
                                     static_cast<int>(contents.event_rows.size())});
      contents.event_row_index.push_back(i);
    } else if (!shown.count(name)) {
      typeinfo::ClassRow row;
      row.interface_name = name;
      row.hidden = static_cast<int>(contents.class_rows.size());
      contents.class_rows.push_back(row);
      contents.interface_row_index.push_back(i);
    }
  }
  const typeinfo::TypeList* records = library.Records();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(records); ++i) {
    contents.type_rows.push_back(typeinfo::RecordRowName(records->Item(i)->Name()));
  }
  const typeinfo::TypeList* enumerations = library.Enumerations();
  for (uint32_t i = 1; i <= typeinfo::WalkCount(enumerations); ++i) {
    contents.enumeration_rows.push_back(enumerations->Item(i)->Name());
  }
  TestContents result;
  result.lists = MakeContentsLists(contents);
  // The fakes have no raw type info, so the maps are built by hand.
  result.maps.SetClassRowCount(contents.class_row_index.size());
  for (const auto& index : contents.interface_row_index) result.maps.AddInterfaceRow(index);
  for (uint32_t index : contents.event_row_index) result.maps.AddEventRow(index);
  for (const auto& source : sources) result.maps.AddSourceInterface(source.first, source.second);
  return result;
}

TestRun::TestRun(const FakeLibrary& library, TestContents* contents, bool use_invoke) {
  inputs.library = &library;
  inputs.classes = &contents->lists.classes;
  inputs.events = &contents->lists.events;
  inputs.types = &contents->lists.types;
  inputs.enumerations = &contents->lists.enumerations;
  inputs.row_maps = &contents->maps;
  inputs.library_path = "C:\\Lib\\example.dll";
  inputs.output_path = "C:\\out\\example.inc";
  inputs.date_text = [] { return std::string("31/12/2007"); };
  inputs.use_invoke = [use_invoke] { return use_invoke; };
  inputs.include_generics = [] { return false; };
  inputs.prog_id = [this](const std::string& guid) {
    auto found = prog_ids.find(guid);
    return found == prog_ids.end() ? std::string() : found->second;
  };
  inputs.warn = [this](const std::string& text) { warnings.push_back(text); };
}

std::string TestRun::Generate() const {
  Result<std::string> text = GenerateIncludeText(inputs);
  return text.ok() ? std::move(text).value() : "generation failed: " + text.error().message;
}

std::string TestRun::Body() const {
  // The header and contents alone, written by the same run state, give the
  // length to cut off.
  StringSink sink;
  GenerationRun run(inputs, &sink);
  WriteHeader(&run);
  WriteTableOfContents(&run);
  const std::string text = Generate();
  return text.substr(sink.text().size());
}

std::shared_ptr<FakeType> Dispatch() { return fakes::Interface("IDispatch"); }

std::shared_ptr<FakeTypeDescriptor> Vt(int32_t vt) {
  return std::make_shared<FakeTypeDescriptor>(vt);
}

std::shared_ptr<FakeMember> Field(const std::string& name, int32_t vt) {
  auto field = std::make_shared<FakeMember>(name);
  field->SetInvokeKind(typeinfo::kInvokeData).SetValueType(Vt(vt));
  return field;
}

std::shared_ptr<FakeMember> RecordField(const std::string& name,
                                        std::shared_ptr<const typeinfo::Type> record) {
  auto type = std::make_shared<FakeTypeDescriptor>(0);
  type->SetReferencedType(std::move(record));
  auto field = std::make_shared<FakeMember>(name);
  field->SetInvokeKind(typeinfo::kInvokeData).SetValueType(type);
  return field;
}

std::shared_ptr<FakeType> Record(const std::string& name) {
  return std::make_shared<FakeType>(name, typeinfo::kTypeKindRecord);
}

std::shared_ptr<FakeType> Coclass(const std::string& name, const std::string& guid,
                                  std::shared_ptr<const typeinfo::Type> default_interface) {
  auto coclass = std::make_shared<FakeType>(name, typeinfo::kTypeKindCoclass);
  coclass->SetGuidText(guid).SetTypeFlags(typeinfo::kTypeFlagCanCreate);
  coclass->SetDefaultInterface(std::move(default_interface));
  return coclass;
}

}  // namespace velbrook::generate::testing
