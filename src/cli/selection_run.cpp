// Selection files on the command line.
#include "cli/selection_run.h"

#include <cstdio>

#include "generate/atomic_file.h"

namespace velbrook::cli {

OpenedLibrary OpenSelectedLibrary(const std::string& argument, const generate::Selection& selection,
                                  const typeinfo::Opener& reader,
                                  const catalogue::HostOptions& host) {
  if (!argument.empty()) return OpenLibraryArgument(argument, reader, host);
  OpenedLibrary opened = OpenLibraryArgument(selection.path, reader, host);
  if (opened.library) return opened;
  std::fprintf(stderr, "velbrook: opening the library registered as %s instead\n",
               selection.library_guid.c_str());
  return OpenLibraryArgument(selection.library_guid, reader, host);
}

void ApplySelection(const generate::Selection& selection, const typeinfo::Library& library,
                    generate::VectorContentsLists* lists, WarningPrinter* warnings) {
  const std::string version =
      std::to_string(library.MajorVersion()) + "." + std::to_string(library.MinorVersion());
  const std::string saved_version =
      std::to_string(selection.major) + "." + std::to_string(selection.minor);
  if (library.GuidText() != selection.library_guid || version != saved_version) {
    warnings->Print("the selection was saved for library " + selection.library_guid + " " +
                    saved_version + ", this is " + library.GuidText() + " " + version);
  }
  std::vector<std::string> missing;
  const std::vector<generate::RowRef> rows = generate::RowsOfSelection(
      selection, lists->classes, lists->events, lists->types, lists->enumerations, &missing);
  generate::CheckRowRefs(rows, lists);
  for (const std::string& row : missing) {
    warnings->Print("the selection's " + row + " is no row of this library any more; left out");
  }
}

Status SaveSelection(const std::string& path, const OpenedLibrary& library,
                     const generate::VectorContentsLists& lists, bool use_invoke,
                     bool include_generics) {
  generate::Selection selection =
      generate::SelectionOf(*library.library, library.header_path, lists.classes, lists.events,
                            lists.types, lists.enumerations);
  selection.use_invoke = use_invoke;
  selection.include_generics = include_generics;
  return generate::WriteFileAtomically(path, generate::SelectionText(selection));
}

}  // namespace velbrook::cli
