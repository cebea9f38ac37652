// Fixture and golden file helpers.
#include "golden_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/backends.h"
#include "fakes/text_compare.h"
#include "typeinfo/library_contents.h"

namespace velbrook::generate::testing {

std::string FixturePath(const std::string& name) {
  return std::string(VELBROOK_FIXTURE_DIR) + "/" + name + ".tlb";
}

std::string GoldenPath(const std::string& name) {
  return std::string(VELBROOK_SOURCE_DIR) + "/tests/generate/golden/" + name + ".inc";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<typeinfo::Library> OpenFixture(const std::string& name) {
  std::unique_ptr<typeinfo::Opener> opener = cli::MakeOpener(cli::DefaultBackend());
  if (!opener) return nullptr;
  auto library = opener->OpenLibraryFile(FixturePath(name));
  if (!library.ok()) return nullptr;
  return std::move(library).value();
}

CheckedRows CheckRows(const typeinfo::Library& library, const std::vector<std::string>& names) {
  const typeinfo::LibraryContents contents =
      typeinfo::BuildLibraryContents(library, [](const std::string&) { return std::string(); });
  CheckedRows rows{MakeContentsLists(contents), RowMaps::FromContents(contents)};
  if (names.empty()) {
    rows.lists.classes.CheckAll();
    rows.lists.events.CheckAll();
    rows.lists.types.CheckAll();
    rows.lists.enumerations.CheckAll();
  }
  for (const std::string& name : names) {
    EXPECT_GT(SelectRowsNamed(&rows.lists, name), 0u) << name;
  }
  return rows;
}

GenerationInputs InputsOver(const typeinfo::Library& library, const CheckedRows& rows) {
  GenerationInputs inputs;
  inputs.library = &library;
  inputs.classes = &rows.lists.classes;
  inputs.events = &rows.lists.events;
  inputs.types = &rows.lists.types;
  inputs.enumerations = &rows.lists.enumerations;
  inputs.row_maps = &rows.maps;
  return inputs;
}

::testing::AssertionResult MatchesGolden(const std::string& golden, const std::string& actual) {
  const char* regenerate = std::getenv("VELBROOK_REGENERATE_GOLDENS");
  if (regenerate != nullptr && std::string(regenerate) == "1") {
    WriteBytes(GoldenPath(golden), actual);
  }
  ::testing::AssertionResult same =
      fakes::SameBytes(ReadBytes(GoldenPath(golden)), actual, golden + ".inc");
  if (!same) {
    same << "\ngolden: " << GoldenPath(golden)
         << "\nto accept the new output, run the test with VELBROOK_REGENERATE_GOLDENS=1"
            " (e.g. VELBROOK_REGENERATE_GOLDENS=1 ctest -R generate_golden) and review the"
            " diff";
  }
  return same;
}

}  // namespace velbrook::generate::testing
