// The command line's side of selection files: opening the library a
// selection names, checking its rows, and saving the selection of a run.
#pragma once

#include <string>

#include "catalogue/host_catalogue.h"
#include "cli/library_argument.h"
#include "cli/warning_printer.h"
#include "generate/contents_list.h"
#include "generate/selection_file.h"
#include "typeinfo/result.h"

namespace velbrook::cli {

// LIBRARY when given; else the path the selection was saved with; when that
// cannot be opened, the library registered under the selection's GUID.
OpenedLibrary OpenSelectedLibrary(const std::string& argument, const generate::Selection& selection,
                                  const typeinfo::Opener& reader,
                                  const catalogue::HostOptions& host);

// Checks the selection's rows. A row the lists no longer have, or another
// library than the one saved, is a warning; the rest is generated.
void ApplySelection(const generate::Selection& selection, const typeinfo::Library& library,
                    generate::VectorContentsLists* lists, WarningPrinter* warnings);

// Writes the selection of the checked rows, whole or not at all.
Status SaveSelection(const std::string& path, const OpenedLibrary& library,
                     const generate::VectorContentsLists& lists, bool use_invoke,
                     bool include_generics);

}  // namespace velbrook::cli
