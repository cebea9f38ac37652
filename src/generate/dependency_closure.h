// The rows the checked rows need: every record, enumeration, interface and
// object class that the include file of the checked rows names, found by
// following member parameters and results, record fields, base interfaces
// and aliases through the library, transitively. Types of other libraries
// are reported, not added: no row of this library can generate them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "generate/generation_context.h"

namespace velbrook::generate {

// A row the closure checks, and why.
struct AddedRow {
  RowRef row;
  // The type the include file names: the record (leading underscores
  // removed), enumeration, module or interface.
  std::string name;
  // What the row generates: "record Point", "interface IShape (object class
  // Shape)", "event interface DEvents".
  std::string what;
  // The first use that needed it: "Rect.topLeft", "IShape.Move".
  std::string used_by;
};

struct Closure {
  // Rows to check besides those checked already, in the order found.
  std::vector<AddedRow> added;
  // Types named by the include file that no row generates: those of other
  // libraries ("needs X from LIBRARY") and kinds no list shows (unions).
  // One line per type, as warnings.
  std::vector<std::string> warnings;
};

// Walks what the checked rows of inputs' lists generate. Each type is
// walked once, so the cost grows with the library, not with the paths
// through it; reference cycles end there. GUID, IUnknown and IDispatch of
// another library need nothing: the generator and the generic block cover
// them.
Closure CloseSelection(const GenerationInputs& inputs);

// "added record Point: used by Rect.topLeft".
std::string AddedRowText(const AddedRow& row);

// Checks the added rows in the lists.
void CheckAddedRows(const std::vector<AddedRow>& rows, VectorContentsLists* lists);

}  // namespace velbrook::generate
