// Opening the IDL fixtures and comparing with golden include files kept in
// tests/generate/golden (VELBROOK_REGENERATE_GOLDENS=1 rewrites them).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "generate/contents_list.h"
#include "generate/generation_context.h"
#include "generate/row_maps.h"
#include "typeinfo/component.h"

namespace velbrook::generate::testing {

std::string FixturePath(const std::string& name);  // e.g. "shapes" -> .../shapes.tlb
std::string GoldenPath(const std::string& name);   // e.g. "shapes_invoke" -> .../x.inc
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// The reader of this build (portable on Linux, oleaut32 on Windows).
std::unique_ptr<typeinfo::Library> OpenFixture(const std::string& name);

// The four lists of an opened library and their row maps: every row checked
// when `names` is empty, else the rows of those names (a name that selects
// no row fails the test).
struct CheckedRows {
  VectorContentsLists lists;
  RowMaps maps;
};
CheckedRows CheckRows(const typeinfo::Library& library, const std::vector<std::string>& names);

// A run over the library and its rows; options left at their defaults.
GenerationInputs InputsOver(const typeinfo::Library& library, const CheckedRows& rows);

// Compares actual with the golden file, rewriting it when regeneration is
// asked for; the actual text lands in <build>/test_output/<golden>.inc.
::testing::AssertionResult MatchesGolden(const std::string& golden, const std::string& actual);

}  // namespace velbrook::generate::testing
