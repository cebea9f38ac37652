// The generate sub-command: checks rows as the options say, builds the
// include file in memory and commits it by rename, so a failure leaves the
// old file (if any) untouched and no partial file behind.
#include "cli/generate_command.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>

#include "cli/backends.h"
#include "cli/error_report.h"
#include "cli/library_argument.h"
#include "cli/list_command.h"
#include "cli/output.h"
#include "cli/reader_setup.h"
#include "cli/selection_run.h"
#include "cli/terminal_progress.h"
#include "cli/warning_printer.h"
#include "generate/atomic_file.h"
#include "generate/contents_list.h"
#include "generate/dependency_closure.h"
#include "generate/generator.h"
#include "generate/generic_block_hook.h"
#include "generate/row_maps.h"

namespace velbrook::cli {
namespace {

bool ParseEpoch(const std::string& text, std::time_t* when) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
      text.size() > 18) {
    return false;
  }
  *when = static_cast<std::time_t>(std::stoll(text));
  return true;
}

// Checks the rows the checked ones need. Each added row is named under
// --verbose, else counted; types no row of the library gives are warnings.
void CheckDependencies(const generate::GenerationInputs& inputs, bool verbose,
                       generate::VectorContentsLists* lists, WarningPrinter* warnings) {
  const generate::Closure closure = generate::CloseSelection(inputs);
  generate::CheckAddedRows(closure.added, lists);
  if (verbose) {
    for (const generate::AddedRow& row : closure.added) {
      std::fprintf(stderr, "velbrook: %s\n", generate::AddedRowText(row).c_str());
    }
  } else if (!closure.added.empty()) {
    std::fprintf(stderr,
                 "velbrook: --with-dependencies checked %zu more row%s (--verbose names them)\n",
                 closure.added.size(), closure.added.size() == 1 ? "" : "s");
  }
  for (const std::string& warning : closure.warnings) warnings->Print(warning);
}

}  // namespace

void ReportOpenFailure(const std::string& library, const Error& error) {
  // The readers' messages usually start with the path already.
  if (error.message.compare(0, library.size(), library) == 0) {
    std::fprintf(stderr, "velbrook: cannot open %s (%s)\n", error.message.c_str(),
                 ErrorKindName(error.kind));
  } else {
    std::fprintf(stderr, "velbrook: cannot open %s: %s (%s)\n", library.c_str(),
                 error.message.c_str(), ErrorKindName(error.kind));
  }
}

generate::GenericBlockWriter CommandLineGenericBlock() { return generate::LinkedGenericBlock(); }

std::string LibraryFileText(const std::string& library) {
  std::string path = library;
  const size_t resource = path.rfind('\\');
  if (resource != std::string::npos && resource > 0 && resource + 1 < path.size() &&
      path.find_first_not_of("0123456789", resource + 1) == std::string::npos) {
    path.resize(resource);
  }
  const size_t separator = path.find_last_of("/\\");
  std::string file = separator == std::string::npos ? path : path.substr(separator + 1);
  for (char& c : file) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return file;
}

int RunGenerate(const GenerateRequest& request) {
  std::time_t when = std::time(nullptr);
  bool utc = false;
  if (request.has_source_date_epoch) {
    if (!ParseEpoch(request.source_date_epoch, &when)) {
      std::fprintf(stderr, "velbrook: SOURCE_DATE_EPOCH is not a number of seconds: %s\n",
                   request.source_date_epoch.c_str());
      return 2;
    }
    utc = true;
  }
  ReaderSetup reader = SetUpReader(request.backend, request.host, request.import_paths);
  if (!reader.opener) return reader.status;
  // A selection file is read whole before anything else: a bad one stops
  // the run with nothing written.
  std::optional<generate::Selection> selection;
  if (!request.selection.empty()) {
    Result<generate::Selection> read = generate::ReadSelectionFile(request.selection);
    if (!read.ok()) {
      std::fprintf(stderr, "velbrook: %s\n", read.error().message.c_str());
      return 1;
    }
    selection = std::move(read).value();
  } else if (request.library.empty()) {
    std::fprintf(stderr, "velbrook: generate needs a LIBRARY or a --selection FILE\n");
    return 2;
  }
  OpenedLibrary library =
      selection ? OpenSelectedLibrary(request.library, *selection, *reader.opener, request.host)
                : OpenLibraryArgument(request.library, *reader.opener, request.host);
  if (!library.library) return 1;

  const typeinfo::ProgIdLookup prog_id = ProgIdLookupOf(reader.host);
  const typeinfo::LibraryContents contents =
      typeinfo::BuildLibraryContents(*library.library, prog_id);
  generate::VectorContentsLists lists = generate::MakeContentsLists(contents);
  const generate::RowMaps maps = generate::RowMaps::FromContents(contents);
  TerminalProgress progress = TerminalProgress::ForStderr();
  WarningPrinter warnings(stderr);
  if (request.all) {
    lists.classes.CheckAll();
    lists.events.CheckAll();
    lists.types.CheckAll();
    lists.enumerations.CheckAll();
  }
  if (selection) ApplySelection(*selection, *library.library, &lists, &warnings);
  for (const std::string& name : request.selects) {
    if (generate::SelectRowsNamed(&lists, name) == 0) {
      std::fprintf(stderr, "velbrook: --select %s: no row of %s has that name\n", name.c_str(),
                   library.header_path.c_str());
      return 1;
    }
  }

  const std::string output =
      request.output.empty() ? generate::DefaultIncludeFileName(library.file_text) : request.output;

  std::error_code error;
  if (std::filesystem::is_directory(output, error)) {
    std::fprintf(stderr, "velbrook: cannot write %s: it is a directory\n", output.c_str());
    return 1;
  }

  generate::GenerationInputs inputs;
  inputs.library = library.library.get();
  inputs.classes = &lists.classes;
  inputs.events = &lists.events;
  inputs.types = &lists.types;
  inputs.enumerations = &lists.enumerations;
  inputs.row_maps = &maps;
  inputs.library_path = library.header_path;
  inputs.output_path = output;
  inputs.date_text = [when, utc] { return generate::ShortDateText(when, utc); };
  // The options given win over those a selection was saved with.
  const bool use_invoke = !request.vtable && (!selection || selection->use_invoke);
  const bool include_generics = !request.no_generics && (!selection || selection->include_generics);
  inputs.use_invoke = [use_invoke] { return use_invoke; };
  inputs.include_generics = [include_generics] { return include_generics; };
  inputs.prog_id = prog_id;
  inputs.warn = [&progress, &warnings](const std::string& text) {
    progress.Clear();
    warnings.Print(text);
  };
  inputs.progress = [&progress](const char* list, size_t done, size_t total) {
    progress.Show(GenerationProgressText(list, done, total));
  };
  inputs.generic_block = CommandLineGenericBlock();
  if (request.with_dependencies) CheckDependencies(inputs, request.verbose, &lists, &warnings);

  const Result<std::string> text = generate::GenerateIncludeText(inputs);
  progress.Clear();
  warnings.Finish();
  if (!text.ok()) {
    std::fprintf(stderr, "velbrook: %s\n", text.error().message.c_str());
    return 1;
  }
  const Status written = generate::WriteFileAtomically(output, text.value());
  if (!written.ok()) return ReportError(written.error(), kExitFailed);
  if (request.save_selection.empty()) return 0;
  const Status saved =
      SaveSelection(request.save_selection, library, lists, use_invoke, include_generics);
  return saved.ok() ? 0 : ReportError(saved.error(), kExitFailed);
}

void AddGenerateCommand(CLI::App& app, int* exit_code) {
  auto request = std::make_shared<GenerateRequest>();
  request->backend = DefaultBackend();
  CLI::App* command = app.add_subcommand("generate", "Write a HotBasic include file for a library");
  command->add_option("LIBRARY", request->library,
                      "Type library file, or a registered library's GUID (with --selection: "
                      "instead of the library the selection names)");
  command->add_option("-o,--output", request->output,
                      "Include file to write (default: the library's name with .inc, "
                      "in the current directory)");
  command->add_flag("--all", request->all, "Check every row of the four lists");
  command->add_option("--select", request->selects, "Check the rows shown under NAME (repeatable)")
      ->allow_extra_args(false);
  command->add_flag("--with-dependencies", request->with_dependencies,
                    "Also check the records, enumerations and interfaces the checked rows "
                    "need, transitively");
  command->add_flag("--verbose", request->verbose,
                    "Name each row --with-dependencies checks, and why");
  command->add_option("--selection", request->selection,
                      "Check the rows a selection file names, with its library and options");
  command->add_option("--save-selection", request->save_selection,
                      "Also write the run's library, options and checked rows to FILE");
  command->add_flag("--vtable", request->vtable,
                    "Vtable wrappers instead of Invoke usage comments");
  command->add_flag("--no-generics", request->no_generics,
                    "Leave out the generic COM support block");
  AddCatalogueHostOptions(command, &request->host);
  AddImportPathOption(command, &request->import_paths);
  command->add_option("--backend", request->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  command->callback([request, exit_code] {
    GenerateRequest run = *request;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
      run.has_source_date_epoch = true;
      run.source_date_epoch = epoch;
    }
    *exit_code = RunGenerate(run);
  });
}

}  // namespace velbrook::cli
