// The contents window's selection commands over the real components:
// checking what the checked rows need, and saving and loading selection
// files. The lists are read and checked in the contents model; rows are
// matched by their hidden numbers.
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/model/messages.h"
#include "app/win/real_services.h"
#include "generate/atomic_file.h"
#include "generate/dependency_closure.h"
#include "generate/generator.h"
#include "generate/selection_file.h"

namespace velbrook::app {
namespace {

// The rows of a message that lists names, beyond which it only counts.
constexpr size_t kMaxListedRows = 20;

std::string ListedRows(const std::vector<std::string>& rows) {
  std::string text;
  for (size_t i = 0; i < rows.size() && i < kMaxListedRows; ++i) text += "\r\n" + rows[i];
  if (rows.size() > kMaxListedRows) {
    text += "\r\n(and " + std::to_string(rows.size() - kMaxListedRows) + " more)";
  }
  return text;
}

}  // namespace

NeededRows RealServices::CheckNeededRows(const typeinfo::Opener& component,
                                         const GenerateRequest& request, ContentsModel& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  NeededRows found;
  try {
    auto library = component.OpenLibraryFile(OpeningPath(request.library));
    if (!library.ok() || library.value() == nullptr) {
      Tell(owner, kOpenFailed);
      return found;
    }
    generate::GenerationInputs inputs;
    inputs.library = library.value().get();
    inputs.classes = &lists.lists().classes;
    inputs.events = &lists.lists().events;
    inputs.types = &lists.lists().types;
    inputs.enumerations = &lists.lists().enumerations;
    inputs.row_maps = &row_maps_;
    const generate::Closure closure = generate::CloseSelection(inputs);
    std::vector<generate::RowRef> rows;
    for (const generate::AddedRow& added : closure.added) {
      rows.push_back(added.row);
      found.rows.push_back({ListOf(added.row.list), added.row.hidden, added.what, added.used_by});
    }
    lists.CheckRows(rows);
    found.warnings = closure.warnings;
  } catch (const std::exception& error) {
    Tell(owner, kFailurePrefix + std::string(error.what()));
  }
  return found;
}

void RealServices::SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                                 const ContentsModel& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  try {
    // The library's identity comes from the file, read afresh.
    auto library = component.OpenLibraryFile(OpeningPath(request.library));
    if (!library.ok() || library.value() == nullptr) {
      Tell(owner, kOpenFailed);
      return;
    }
    std::optional<std::string> path = seams_.save_dialog->AskSelectionPath(
        owner, generate::DefaultSelectionFileName(request.library.file), /*save=*/true);
    if (!path.has_value()) return;
    const generate::VectorContentsLists& shown = lists.lists();
    generate::Selection selection =
        generate::SelectionOf(*library.value(), request.library.path, shown.classes, shown.events,
                              shown.types, shown.enumerations);
    selection.use_invoke = request.use_invoke;
    selection.include_generics = request.include_generics;
    if (!generate::WriteFileAtomically(*path, generate::SelectionText(selection)).ok()) {
      Tell(owner, kWriteFailedPrefix + *path);
    }
  } catch (const std::exception& error) {
    Tell(owner, kFailurePrefix + std::string(error.what()));
  }
}

LoadedSelection RealServices::LoadSelection(const typeinfo::Opener& component,
                                            const GenerateRequest& request, ContentsModel& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  LoadedSelection loaded;
  std::optional<std::string> path =
      seams_.save_dialog->AskSelectionPath(owner, std::string(), /*save=*/false);
  if (!path.has_value()) return loaded;
  const Result<generate::Selection> read = generate::ReadSelectionFile(*path);
  if (!read.ok()) {
    Tell(owner, kSelectionUnreadablePrefix + read.error().message);
    return loaded;
  }
  const generate::Selection& selection = read.value();
  // The selection's rows replace the check marks.
  lists.UncheckAll();
  const generate::VectorContentsLists& shown = lists.lists();
  std::vector<std::string> missing;
  lists.CheckRows(generate::RowsOfSelection(selection, shown.classes, shown.events, shown.types,
                                            shown.enumerations, &missing));
  std::string notice;
  auto library = component.OpenLibraryFile(OpeningPath(request.library));
  if (library.ok() && library.value() != nullptr &&
      library.value()->GuidText() != selection.library_guid) {
    notice = kSelectionOtherLibrary;
  }
  if (!missing.empty()) {
    notice += (notice.empty() ? "" : "\r\n\r\n") + std::string(kSelectionRowsMissing) +
              ListedRows(missing);
  }
  if (!notice.empty()) Tell(owner, notice);
  loaded.loaded = true;
  loaded.use_invoke = selection.use_invoke;
  loaded.include_generics = selection.include_generics;
  return loaded;
}

}  // namespace velbrook::app
