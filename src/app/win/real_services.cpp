// The real seams: catalogue scan and search test, filling the contents lists
// from the contents model, and one generation run over the window's lists.
#include "app/win/real_services.h"

#include <ctime>
#include <vector>

#include "app/model/messages.h"
#include "app/win/contents_list_adapter.h"
#include "app/win/scan_adapter.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/registry_functions.h"
#include "generate/atomic_file.h"
#include "generate/generator.h"
#include "generate/generic_block_hook.h"

namespace velbrook::app {
namespace {

constexpr char kTypeLibKey[] = "TypeLib";
constexpr char kGenerationStoppedPrefix[] = "Sorry, nothing was written: \r\n";

void FillContentsLists(const typeinfo::LibraryContents& contents, ContentsLists& lists) {
  for (int i = 0; i < kContentsListCount; ++i) {
    lists.Clear(static_cast<ContentsList>(i));
  }
  for (const typeinfo::ClassRow& row : contents.class_rows) {
    lists.AppendRow(ContentsList::kObjectClasses,
                    {row.interface_name, row.class_name, row.prog_id, std::to_string(row.hidden)});
  }
  for (const typeinfo::EventRow& row : contents.event_rows) {
    lists.AppendRow(ContentsList::kEventInterfaces,
                    {row.interface_name, row.owners, std::string(), std::to_string(row.hidden)});
  }
  for (const std::string& name : contents.type_rows) {
    lists.AppendRow(ContentsList::kTypes, {name});
  }
  for (const std::string& name : contents.enumeration_rows) {
    lists.AppendRow(ContentsList::kEnumerations, {name});
  }
}

}  // namespace

typeinfo::ProgIdLookup RealServices::ProgIds() const {
  const catalogue::ClassesRegistry* registry = seams_.registry;
  return [registry](const std::string& guid_text) {
    return catalogue::ReadKeyValue(*registry, "CLSID\\" + guid_text + "\\ProgID");
  };
}

void RealServices::Tell(HWND owner, const std::string& text) const {
  if (seams_.desktop != nullptr) {
    seams_.desktop->ShowMessage(owner, text, MB_SETFOREGROUND);
  }
}

ScanOutcome RealServices::ScanLibraries(ScanSink& sink) {
  try {
    if (!catalogue::OpenClassesKey(*seams_.registry, kTypeLibKey)) {
      return ScanOutcome::kNoTypeLibKey;
    }
    ScanSinkLibraryList list(&sink);
    ScanSinkWindow window(&sink);
    // A run state per call: the program lets a new scan supersede a running
    // one (the old one then sees an abort), so none is refused here.
    catalogue::CatalogueRunState run_state;
    catalogue::CatalogueSeams seams{
        *seams_.registry, *seams_.file_system, *seams_.environment, list, window, run_state};
    catalogue::ScanOptions options;
    options.include_files_not_found = sink.IncludeFilesNotFound();
    catalogue::ScanTypeLibraries(seams, options);
    return window.aborted() ? ScanOutcome::kAborted : ScanOutcome::kCompleted;
  } catch (...) {
    // Rows found so far stay; the count texts keep their old values.
    return ScanOutcome::kAborted;
  }
}

OpenOutcome RealServices::OpenLibrary(const typeinfo::Opener& component,
                                      const LibraryEntry& library, ContentsLists& lists) {
  try {
    if (!seams_.file_system->ExistsAsNonDirectory(library.path)) {
      return OpenOutcome::kFileMissing;
    }
    auto opened = component.OpenLibraryFile(library.path);
    if (!opened.ok() || opened.value() == nullptr) {
      return OpenOutcome::kOpenFailed;
    }
    typeinfo::LibraryContents contents = typeinfo::BuildLibraryContents(*opened.value(), ProgIds());
    FillContentsLists(contents, lists);
    row_maps_ = generate::RowMaps::FromContents(contents);
    contents_ = std::move(contents);
    return OpenOutcome::kOpened;
  } catch (...) {
    return OpenOutcome::kOpenFailed;
  }
}

void RealServices::Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                            const ContentsLists& lists) {
  try {
    GenerateUnguarded(component, request, lists);
  } catch (...) {
    Tell(reinterpret_cast<HWND>(request.owner_window), kOpenFailed);
  }
}

void RealServices::GenerateUnguarded(const typeinfo::Opener& component,
                                     const GenerateRequest& request, const ContentsLists& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  // Every run reads the library afresh from its file.
  auto library = component.OpenLibraryFile(request.library.path);
  if (!library.ok() || library.value() == nullptr) {
    Tell(owner, kOpenFailed);
    return;
  }
  std::optional<std::string> path = seams_.save_dialog->AskIncludePath(
      owner, generate::DefaultIncludeFileName(request.library.file));
  if (!path.has_value()) return;

  WindowContentsList classes(lists, ContentsList::kObjectClasses);
  WindowContentsList events(lists, ContentsList::kEventInterfaces);
  WindowContentsList types(lists, ContentsList::kTypes);
  WindowContentsList enumerations(lists, ContentsList::kEnumerations);
  generate::GenerationInputs inputs;
  inputs.library = library.value().get();
  inputs.classes = &classes;
  inputs.events = &events;
  inputs.types = &types;
  inputs.enumerations = &enumerations;
  inputs.row_maps = &row_maps_;
  inputs.library_path = request.library.path;
  inputs.output_path = *path;
  if (seams_.date_text) {
    inputs.date_text = seams_.date_text;
  } else {
    const std::time_t now = std::time(nullptr);
    inputs.date_text = [now] { return generate::ShortDateText(now, false); };
  }
  const bool use_invoke = request.use_invoke;
  const bool include_generics = request.include_generics;
  inputs.use_invoke = [use_invoke] { return use_invoke; };
  inputs.include_generics = [include_generics] { return include_generics; };
  inputs.prog_id = ProgIds();
  inputs.warn = [this, owner](const std::string& text) { Tell(owner, text); };
  inputs.generic_block = generate::LinkedGenericBlock();

  const Result<std::string> text = generate::GenerateIncludeText(inputs);
  if (!text.ok()) {
    Tell(owner, kGenerationStoppedPrefix + text.error().message);
    return;
  }
  // Written whole or not at all, so a failure leaves any old file intact.
  if (!generate::WriteFileAtomically(*path, text.value()).ok()) {
    Tell(owner, kWriteFailedPrefix + *path);
  }
}

bool RealServices::LibraryDefinesName(const typeinfo::Opener& component, const std::string& path,
                                      const std::string& key) {
  try {
    auto library = component.OpenLibraryFile(path);
    if (!library.ok() || library.value() == nullptr) return false;
    return catalogue::LibraryDefines(*library.value(), key, *seams_.registry);
  } catch (...) {
    return false;
  }
}

}  // namespace velbrook::app
