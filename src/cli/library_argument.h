// The LIBRARY argument of show and generate: a file (with an optional "\N"
// resource number), or the GUID of a library registered in the registry the
// host options name.
#pragma once

#include <memory>
#include <string>

#include "catalogue/host_catalogue.h"
#include "typeinfo/component.h"

namespace velbrook::cli {

struct OpenedLibrary {
  std::unique_ptr<typeinfo::Library> library;
  // The header's "COM Include for file:" path: the registered path for a
  // GUID, otherwise the path as given made absolute.
  std::string header_path;
  // The File text the library list would show, for the default output name.
  std::string file_text;
};

// Opens the library; on failure prints "velbrook: ..." on stderr and
// returns null in library.
OpenedLibrary OpenLibraryArgument(const std::string& argument, const typeinfo::Opener& reader,
                                  const catalogue::HostOptions& host);

}  // namespace velbrook::cli
