// libFuzzer entry for the whole road a library takes: open the bytes, build
// the four contents lists and their row maps, close a one-row selection over
// its dependencies, generate the include file with every row checked in both
// styles (no generic block), and dump it. Each step must end in bounded time
// and memory, whatever a well-formed library asks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "generate/contents_list.h"
#include "generate/dependency_closure.h"
#include "generate/generator.h"
#include "generate/row_maps.h"
#include "typeinfo/dump.h"
#include "typeinfo/library_contents.h"
#include "typeinfo/msft/portable_opener.h"

namespace {

using namespace velbrook;

generate::GenerationInputs InputsOver(const typeinfo::Library& library,
                                      const generate::VectorContentsLists& lists,
                                      const generate::RowMaps& maps) {
  generate::GenerationInputs inputs;
  inputs.library = &library;
  inputs.classes = &lists.classes;
  inputs.events = &lists.events;
  inputs.types = &lists.types;
  inputs.enumerations = &lists.enumerations;
  inputs.row_maps = &maps;
  return inputs;
}

size_t Generate(const typeinfo::Library& library, const generate::VectorContentsLists& lists,
                const generate::RowMaps& maps, bool invoke) {
  generate::GenerationInputs inputs = InputsOver(library, lists, maps);
  inputs.library_path = "C:\\fuzz\\input.tlb";
  inputs.output_path = "C:\\fuzz\\input.inc";
  inputs.use_invoke = [invoke] { return invoke; };
  inputs.include_generics = [] { return false; };
  const Result<std::string> text = generate::GenerateIncludeText(inputs);
  return text.ok() ? text.value().size() : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  typeinfo::msft::PortableOpener opener;
  // Imports resolve to the built-in stdole only: no file system look-ups.
  opener.SetSearchPaths({});
  auto library = opener.OpenLibraryBytes(std::vector<uint8_t>(data, data + size),
                                         "/nonexistent/fuzz-input.tlb");
  if (!library.ok()) return 0;
  const typeinfo::LibraryContents contents =
      typeinfo::BuildLibraryContents(**library, [](const std::string&) { return std::string(); });
  generate::VectorContentsLists lists = generate::MakeContentsLists(contents);
  const generate::RowMaps maps = generate::RowMaps::FromContents(contents);
  // From the first object classes row, the closure walks what it needs.
  if (lists.classes.RowCount() > 0) lists.classes.SetChecked(0, true);
  size_t total = generate::CloseSelection(InputsOver(**library, lists, maps)).added.size();
  lists.classes.CheckAll();
  lists.events.CheckAll();
  lists.types.CheckAll();
  lists.enumerations.CheckAll();
  total += Generate(**library, lists, maps, true);
  total += Generate(**library, lists, maps, false);
  const Result<std::string> dump = typeinfo::DumpLibrary(**library);
  total += dump.ok() ? dump.value().size() : 0;
  return total == SIZE_MAX ? 1 : 0;
}
