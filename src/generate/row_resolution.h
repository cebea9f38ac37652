// What a row of the object classes or event interfaces list stands for,
// found through its hidden row number and the row maps.
#pragma once

#include <cstddef>

#include "generate/generation_context.h"

namespace velbrook::generate {

struct ClassRowTarget {
  // The object class for a coclass row, null for a plain interface row.
  const typeinfo::Type* object_class = nullptr;
  // The row's interface (the class's default interface); null when none.
  const typeinfo::Type* interface = nullptr;
};

// Object classes list row with hidden number h: h below the ClassRowIndex
// line count is object class h+1, otherwise the interface InterfaceRowIndex
// names on line h+1.
ClassRowTarget ResolveClassRow(const GenerationInputs& inputs, size_t hidden);

// Event interfaces list row with hidden number h: the interface EventRowIndex
// names on line h+1; null when the maps do not know the row.
const typeinfo::Type* ResolveEventRow(const GenerationInputs& inputs, size_t hidden);

// Types and enumerations list rows: item h+1 of Records or Enumerations;
// an enumerations row of a module's constants: the module the maps name.
const typeinfo::Type* ResolveRecordRow(const GenerationInputs& inputs, size_t hidden);
const typeinfo::Type* ResolveEnumerationRow(const GenerationInputs& inputs, size_t hidden);

}  // namespace velbrook::generate
