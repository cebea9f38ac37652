// Opening the LIBRARY argument, by file or by registered GUID.
#include "cli/library_argument.h"

#include <cstdio>
#include <filesystem>

#include "catalogue/library_scan.h"
#include "catalogue/registered_library.h"
#include "cli/generate_command.h"

namespace velbrook::cli {
namespace {

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

OpenedLibrary OpenRegistered(const std::string& guid, const typeinfo::Opener& reader,
                             const catalogue::HostOptions& host) {
  OpenedLibrary opened;
  auto catalogue = catalogue::OpenHostCatalogue(host);
  if (!catalogue.ok()) {
    std::fprintf(stderr, "velbrook: %s is a GUID, but %s\n", guid.c_str(),
                 catalogue.error().message.c_str());
    return opened;
  }
  const catalogue::HostCatalogue& seams = *catalogue.value();
  auto registered = catalogue::FindRegisteredLibrary(seams.registry(), seams.file_system(),
                                                     seams.environment(), guid);
  if (!registered.ok()) {
    std::fprintf(stderr, "velbrook: %s (%s)\n", registered.error().message.c_str(),
                 seams.Description().c_str());
    return opened;
  }
  std::unique_ptr<typeinfo::Opener> opener = seams.WrapOpener(reader);
  auto library = opener->OpenLibraryFile(registered->path);
  if (!library.ok()) {
    ReportOpenFailure(registered->path, library.error());
    return opened;
  }
  opened.library = std::move(library.value());
  opened.header_path = registered->path;
  opened.file_text = catalogue::FileColumnOf(registered->path);
  return opened;
}

}  // namespace

OpenedLibrary OpenLibraryArgument(const std::string& argument, const typeinfo::Opener& reader,
                                  const catalogue::HostOptions& host) {
  // A file of that name wins over the registry.
  std::error_code error;
  if (catalogue::LooksLikeGuid(argument) && !std::filesystem::exists(argument, error)) {
    return OpenRegistered(argument, reader, host);
  }
  OpenedLibrary opened;
  auto library = reader.OpenLibraryFile(argument);
  if (!library.ok()) {
    ReportOpenFailure(argument, library.error());
    return opened;
  }
  opened.library = std::move(library.value());
  opened.header_path = AbsolutePath(argument);
  opened.file_text = LibraryFileText(argument);
  return opened;
}

}  // namespace velbrook::cli
