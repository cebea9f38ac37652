// The dump sub-command: the whole library as the component shows it. With
// --output-dir it dumps many libraries in one process (the corpus tests).
#include "cli/dump_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/backends.h"
#include "cli/error_report.h"
#include "cli/list_command.h"
#include "cli/output.h"
#include "cli/reader_setup.h"
#include "generate/atomic_file.h"
#include "typeinfo/dump.h"

namespace velbrook::cli {

namespace {

struct DumpOptions {
  std::vector<std::string> libraries;
  std::string list_file;
  std::string backend;
  std::string output_dir;
  catalogue::HostOptions host;
  std::vector<std::string> import_paths;
};

// "dir/x.dll\2" gives "x.dll_2.dump": the last path element, resource kept.
std::string DumpFileName(const std::string& library) {
  size_t slash = library.find_last_of("/\\");
  std::string base = library.substr(slash == std::string::npos ? 0 : slash + 1);
  size_t resource = library.rfind('\\');
  if (resource != std::string::npos && resource > 0 && resource + 1 < library.size() &&
      library.find_first_not_of("0123456789", resource + 1) == std::string::npos) {
    std::string before = library.substr(0, resource);
    size_t prior = before.find_last_of("/\\");
    base = before.substr(prior == std::string::npos ? 0 : prior + 1) + "_" +
           library.substr(resource + 1);
  }
  return base + ".dump";
}

int DumpOne(const typeinfo::Opener& opener, const std::string& path,
            const std::string& output_dir) {
  auto library = opener.OpenLibraryFile(path);
  if (!library.ok()) {
    std::fprintf(stderr, "velbrook: %s: %s\n", ErrorKindName(library.error().kind),
                 library.error().message.c_str());
    if (!output_dir.empty()) {
      // Recorded so that the readers' refusals compare as well.
      (void)generate::WriteFileAtomically(output_dir + "/" + DumpFileName(path), "unreadable\n");
    }
    return 1;
  }
  const Result<std::string> text = typeinfo::DumpLibrary(*library.value());
  if (!text.ok()) {
    std::fprintf(stderr, "velbrook: %s: %s\n", path.c_str(), text.error().message.c_str());
    return 1;
  }
  const Status written =
      output_dir.empty()
          ? WriteStdout(text.value())
          : generate::WriteFileAtomically(output_dir + "/" + DumpFileName(path), text.value());
  return written.ok() ? 0 : ReportError(written.error(), kExitFailed);
}

// Paths one per line; long corpora do not fit on a Windows command line.
bool ReadList(const std::string& list_file, std::vector<std::string>* paths) {
  std::FILE* file = std::fopen(list_file.c_str(), "rb");
  if (file == nullptr) return false;
  std::string line;
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (c == '\n' || c == '\r') {
      if (!line.empty()) paths->push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(c);
    }
  }
  if (!line.empty()) paths->push_back(line);
  std::fclose(file);
  return true;
}

int RunDump(DumpOptions options) {
  if (!options.list_file.empty() && !ReadList(options.list_file, &options.libraries)) {
    std::fprintf(stderr, "velbrook: cannot read %s\n", options.list_file.c_str());
    return 2;
  }
  if (options.libraries.empty()) {
    std::fprintf(stderr, "velbrook: no library given\n");
    return 2;
  }
  if (options.libraries.size() > 1 && options.output_dir.empty()) {
    std::fprintf(stderr, "velbrook: several libraries need --output-dir\n");
    return 2;
  }
  ReaderSetup reader = SetUpReader(options.backend, options.host, options.import_paths);
  if (!reader.opener) return reader.status;
  const typeinfo::Opener* opener = reader.opener.get();
  int status = 0;
  for (const std::string& path : options.libraries) {
    if (DumpOne(*opener, path, options.output_dir) != 0) status = 1;
  }
  return status;
}

}  // namespace

void AddDumpCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<DumpOptions>();
  options->backend = DefaultBackend();
  CLI::App* dump =
      app.add_subcommand("dump", "Print everything the type information shows for a library");
  dump->add_option("LIBRARY", options->libraries,
                   "Type library file; a trailing \\N selects resource N");
  dump->add_option("--list", options->list_file, "File naming one library per line");
  dump->add_option("--backend", options->backend, "Reader: portable or oleaut")
      ->check(CLI::IsMember({"portable", "oleaut"}));
  dump->add_option("--output-dir", options->output_dir,
                   "Write one NAME.dump per library into this directory");
  AddCatalogueHostOptions(dump, &options->host);
  AddImportPathOption(dump, &options->import_paths);
  dump->callback([options, exit_code] { *exit_code = RunDump(*options); });
}

}  // namespace velbrook::cli
