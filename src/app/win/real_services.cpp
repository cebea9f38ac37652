// The real seams: catalogue scan and search test, filling the contents lists
// from the type information, and one generation run over the lists' model.
#include "app/win/real_services.h"

#include <ctime>
#include <exception>
#include <string>

#include "app/model/file_opening.h"
#include "app/model/messages.h"
#include "catalogue/library_finder.h"
#include "catalogue/library_scan.h"
#include "catalogue/library_search.h"
#include "catalogue/registry_functions.h"
#include "generate/atomic_file.h"
#include "generate/generator.h"
#include "generate/generic_block_hook.h"

namespace velbrook::app {
namespace {

constexpr char kGenerationStoppedPrefix[] = "Sorry, nothing was written: \r\n";

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
  catalogue::ScanOptions options;
  options.include_files_not_found = sink.IncludeFilesNotFound();
  options.both_bitnesses = sink.BothBitnesses();
  return catalogue::ScanTypeLibraries(
      {*seams_.registry, *seams_.file_system, *seams_.environment, seams_.file_system_64}, options,
      sink);
}

size_t RealServices::CountWin64Registrations() {
  return catalogue::CountWin64Registrations(
      {*seams_.registry, *seams_.file_system, *seams_.environment});
}

std::string RealServices::OpeningPath(const LibraryEntry& library) const {
  return library.bits == 64 && seams_.native_path ? seams_.native_path(library.path) : library.path;
}

OpenOutcome RealServices::OpenLibrary(const typeinfo::Opener& component,
                                      const LibraryEntry& library, ContentsModel& lists) {
  try {
    // "file\N" names TYPELIB resource N of a file that must exist.
    const std::string path = OpeningPath(library);
    if (!seams_.file_system->ExistsAsNonDirectory(path) &&
        !seams_.file_system->ExistsAsNonDirectory(WithoutResourceNumber(path))) {
      return OpenOutcome::kFileMissing;
    }
    auto opened = component.OpenLibraryFile(path);
    if (!opened.ok() || opened.value() == nullptr) {
      return OpenOutcome::kOpenFailed;
    }
    typeinfo::LibraryContents contents = typeinfo::BuildLibraryContents(*opened.value(), ProgIds());
    lists.Fill(contents);
    row_maps_ = generate::RowMaps::FromContents(contents);
    contents_ = std::move(contents);
    return OpenOutcome::kOpened;
  } catch (const std::exception&) {
    // A library the reader fails on is one it cannot read: the caller says so.
    return OpenOutcome::kOpenFailed;
  }
}

void RealServices::Generate(const typeinfo::Opener& component, const GenerateRequest& request,
                            const ContentsModel& lists) {
  try {
    GenerateUnguarded(component, request, lists);
  } catch (const std::exception& error) {
    Tell(reinterpret_cast<HWND>(request.owner_window),
         kGenerationStoppedPrefix + std::string(error.what()));
  }
}

void RealServices::GenerateUnguarded(const typeinfo::Opener& component,
                                     const GenerateRequest& request, const ContentsModel& lists) {
  HWND owner = reinterpret_cast<HWND>(request.owner_window);
  // Every run reads the library afresh from its file.
  auto library = component.OpenLibraryFile(OpeningPath(request.library));
  if (!library.ok() || library.value() == nullptr) {
    Tell(owner, kOpenFailed);
    return;
  }
  std::optional<std::string> path = seams_.save_dialog->AskIncludePath(
      owner, generate::DefaultIncludeFileName(request.library.file));
  if (!path.has_value()) return;

  generate::GenerationInputs inputs;
  inputs.library = library.value().get();
  inputs.classes = &lists.lists().classes;
  inputs.events = &lists.lists().events;
  inputs.types = &lists.lists().types;
  inputs.enumerations = &lists.lists().enumerations;
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
  return catalogue::NameTest(component, *seams_.registry, key)(path);
}

std::vector<catalogue::SearchHit> RealServices::FindItems(const typeinfo::Opener& component,
                                                          const std::string& path,
                                                          const catalogue::SearchQuery& query) {
  auto library = component.OpenLibraryFile(path);
  if (!library.ok() || library.value() == nullptr) return {};
  return catalogue::FindInLibrary(*library.value(), query, *seams_.registry);
}

}  // namespace velbrook::app
