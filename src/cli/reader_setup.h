// What show, generate, search and dump open libraries with: the registry the
// host options name (ProgIDs, libraries named by GUID, imports) and the
// chosen reader, which looks for imports there and in the --import-path
// folders.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/host_catalogue.h"
#include "typeinfo/component.h"
#include "typeinfo/library_contents.h"

namespace velbrook::cli {

struct ReaderSetup {
  // Null when the set-up failed; status is then the exit code.
  std::unique_ptr<typeinfo::Opener> opener;
  int status = 0;
  // The registry, or null when none is at hand (no Wine prefix on Linux);
  // host_error says then why.
  std::shared_ptr<const catalogue::HostCatalogue> host;
  std::string host_error;
};

// A registry that cannot be read is no error unless a Wine prefix was named
// (exit code 1); an unknown backend, or import folders with oleaut32, which
// looks for imports itself, are bad usage (2). Messages go to stderr.
ReaderSetup SetUpReader(const std::string& backend, const catalogue::HostOptions& host,
                        const std::vector<std::string>& import_paths);

// ProgIDs from CLSID\{guid}\ProgID of the registry; none without one.
typeinfo::ProgIdLookup ProgIdLookupOf(std::shared_ptr<const catalogue::HostCatalogue> host);

// --import-path DIR, repeatable.
void AddImportPathOption(CLI::App* command, std::vector<std::string>* paths);

}  // namespace velbrook::cli
