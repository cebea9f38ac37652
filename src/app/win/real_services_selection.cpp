// The contents window's selection commands over the real components:
// checking what the checked rows need, and saving and loading selection
// files. The lists are read and checked through the window's list views;
// rows are matched by their hidden numbers.
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/model/messages.h"
#include "app/win/contents_list_adapter.h"
#include "app/win/real_services.h"
#include "generate/atomic_file.h"
#include "generate/dependency_closure.h"
#include "generate/generator.h"
#include "generate/selection_file.h"

namespace velbrook::app {
namespace {

// The rows of a message that lists names, beyond which it only counts.
constexpr size_t kMaxListedRows = 20;

ContentsList ListOf(generate::ListKind kind) {
  switch (kind) {
    case generate::ListKind::kClasses:
      return ContentsList::kObjectClasses;
    case generate::ListKind::kEvents:
      return ContentsList::kEventInterfaces;
    case generate::ListKind::kTypes:
      return ContentsList::kTypes;
    case generate::ListKind::kEnumerations:
      break;
  }
  return ContentsList::kEnumerations;
}

// The window's four lists as generation reads them.
struct WindowLists {
  explicit WindowLists(const ContentsLists& lists)
      : classes(lists, ContentsList::kObjectClasses),
        events(lists, ContentsList::kEventInterfaces),
        types(lists, ContentsList::kTypes),
        enumerations(lists, ContentsList::kEnumerations) {}
  WindowContentsList classes, events, types, enumerations;
};

// Checks each row, found in its list by hidden number; each list is read
// once whatever the number of rows.
void CheckRows(const std::vector<generate::RowRef>& rows, ContentsLists& lists) {
  std::array<std::unordered_map<size_t, int>, kContentsListCount> row_of_hidden;
  std::array<bool, kContentsListCount> read{};
  for (const generate::RowRef& ref : rows) {
    const ContentsList list = ListOf(ref.list);
    const int i = static_cast<int>(list);
    if (!read[i]) {
      const WindowContentsList rows_of(lists, list);
      for (size_t r = 0; r < rows_of.RowCount(); ++r) {
        row_of_hidden[i].emplace(rows_of.HiddenNumber(r), static_cast<int>(r));
      }
      read[i] = true;
    }
    auto found = row_of_hidden[i].find(ref.hidden);
    if (found != row_of_hidden[i].end()) lists.SetRowChecked(list, found->second, true);
  }
}

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
                                         const GenerateRequest& request, ContentsLists& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  NeededRows found;
  try {
    auto library = component.OpenLibraryFile(request.library.path);
    if (!library.ok() || library.value() == nullptr) {
      Tell(owner, kOpenFailed);
      return found;
    }
    const WindowLists window(lists);
    generate::GenerationInputs inputs;
    inputs.library = library.value().get();
    inputs.classes = &window.classes;
    inputs.events = &window.events;
    inputs.types = &window.types;
    inputs.enumerations = &window.enumerations;
    inputs.row_maps = &row_maps_;
    const generate::Closure closure = generate::CloseSelection(inputs);
    std::vector<generate::RowRef> rows;
    for (const generate::AddedRow& added : closure.added) {
      rows.push_back(added.row);
      found.rows.push_back({ListOf(added.row.list), added.row.hidden, added.what, added.used_by});
    }
    CheckRows(rows, lists);
    found.warnings = closure.warnings;
  } catch (...) {
    Tell(owner, kOpenFailed);
  }
  return found;
}

void RealServices::SaveSelection(const typeinfo::Opener& component, const GenerateRequest& request,
                                 const ContentsLists& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  try {
    // The library's identity comes from the file, read afresh.
    auto library = component.OpenLibraryFile(request.library.path);
    if (!library.ok() || library.value() == nullptr) {
      Tell(owner, kOpenFailed);
      return;
    }
    std::optional<std::string> path = seams_.save_dialog->AskSelectionPath(
        owner, generate::DefaultSelectionFileName(request.library.file), /*save=*/true);
    if (!path.has_value()) return;
    const WindowLists window(lists);
    generate::Selection selection =
        generate::SelectionOf(*library.value(), request.library.path, window.classes, window.events,
                              window.types, window.enumerations);
    selection.use_invoke = request.use_invoke;
    selection.include_generics = request.include_generics;
    if (!generate::WriteFileAtomically(*path, generate::SelectionText(selection)).ok()) {
      Tell(owner, kWriteFailedPrefix + *path);
    }
  } catch (...) {
    Tell(owner, kOpenFailed);
  }
}

LoadedSelection RealServices::LoadSelection(const typeinfo::Opener& component,
                                            const GenerateRequest& request, ContentsLists& lists) {
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
  for (int i = 0; i < kContentsListCount; ++i) {
    const auto list = static_cast<ContentsList>(i);
    for (int r = 0; r < lists.RowCount(list); ++r) lists.SetRowChecked(list, r, false);
  }
  const WindowLists window(lists);
  std::vector<std::string> missing;
  CheckRows(generate::RowsOfSelection(selection, window.classes, window.events, window.types,
                                      window.enumerations, &missing),
            lists);
  std::string notice;
  auto library = component.OpenLibraryFile(request.library.path);
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
