// Record TYPEs with embedding of generated records, and the $define groups
// of the constant enumerations.
#pragma once

#include <string>
#include <vector>

#include "generate/generation_context.h"

namespace velbrook::generate {

// Bounds text of a fixed-size array field: "(0 TO 9)" for one dimension,
// "(0 TO 2, 0 TO 3)" for two; empty without bounds.
std::string BoundsText(const std::vector<typeinfo::ArrayBound>& bounds);

// One field line of a record, without CR LF: five blanks, name, bounds,
// " as ", type text. A field name that had to be renamed is noted at the end
// of the line and added to renames (when given); a type of an imported
// library that was not found is named in the comment and added to missing.
std::string RecordFieldLine(const typeinfo::Member& field,
                            std::vector<render::Rename>* renames = nullptr,
                            std::vector<typeinfo::MissingType>* missing = nullptr);

// Record section: every checked row of the types list, in row order.
void WriteRecordSection(GenerationRun* run);

// Enumeration section: every checked row of the enumerations list, an
// enumeration's constants or a module's.
void WriteEnumerationSection(GenerationRun* run);

}  // namespace velbrook::generate
