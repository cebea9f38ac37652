// Row mapping through hidden row numbers, so a re-sorted list still stands
// for the rows the user checked.
#include "generate/row_resolution.h"

namespace velbrook::generate {

std::string InterfaceName(const typeinfo::Type* interface) {
  if (interface == nullptr) return std::string();
  std::string name = interface->Name();
  std::string cleaned;
  cleaned.reserve(name.size());
  for (char c : name) {
    if (c != '\x01') cleaned += c;
  }
  return cleaned;
}

const typeinfo::Type* ItemOf(const typeinfo::TypeList* list, size_t index) {
  if (list == nullptr || index < 1 || index > 0xFFFFFFFFu) return nullptr;
  return list->Item(static_cast<uint32_t>(index));
}

ClassRowTarget ResolveClassRow(const GenerationInputs& inputs, size_t hidden) {
  ClassRowTarget target;
  if (hidden < inputs.row_maps->ClassRowCount()) {
    target.object_class = ItemOf(inputs.library->ObjectClasses(), hidden + 1);
    if (target.object_class != nullptr) {
      target.interface = target.object_class->DefaultInterface();
    }
    return target;
  }
  if (auto index = inputs.row_maps->InterfaceOfRow(hidden)) {
    target.interface = ItemOf(inputs.library->Interfaces(), *index);
  }
  return target;
}

const typeinfo::Type* ResolveEventRow(const GenerationInputs& inputs, size_t hidden) {
  auto index = inputs.row_maps->EventInterfaceOfRow(hidden);
  return index ? ItemOf(inputs.library->Interfaces(), *index) : nullptr;
}

const typeinfo::Type* ResolveRecordRow(const GenerationInputs& inputs, size_t hidden) {
  return ItemOf(inputs.library->Records(), hidden + 1);
}

const typeinfo::Type* ResolveEnumerationRow(const GenerationInputs& inputs, size_t hidden) {
  if (auto module = inputs.row_maps->ModuleOfRow(hidden)) {
    return ItemOf(inputs.library->Modules(), *module);
  }
  return ItemOf(inputs.library->Enumerations(), hidden + 1);
}

}  // namespace velbrook::generate
