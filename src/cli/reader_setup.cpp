// The registry and the reader of one sub-command run.
#include "cli/reader_setup.h"

#include <cstdio>

#include "catalogue/registry_functions.h"
#include "catalogue/registry_locator.h"
#include "cli/backends.h"

namespace velbrook::cli {

ReaderSetup SetUpReader(const std::string& backend, const catalogue::HostOptions& host,
                        const std::vector<std::string>& import_paths) {
  ReaderSetup setup;
  if (backend == "oleaut" && !import_paths.empty()) {
    std::fprintf(stderr,
                 "velbrook: --import-path is for the portable reader (--backend portable); "
                 "oleaut32 looks for imports itself\n");
    setup.status = 2;
    return setup;
  }
  auto catalogue = catalogue::OpenHostCatalogue(host);
  if (catalogue.ok()) {
    setup.host = std::move(catalogue.value());
  } else if (!host.wine_prefix.empty()) {
    std::fprintf(stderr, "velbrook: %s\n", catalogue.error().message.c_str());
    setup.status = 1;
    return setup;
  } else {
    setup.host_error = catalogue.error().message;
  }
  ImportSearch imports;
  imports.folders = import_paths;
  if (setup.host) imports.registry = std::make_shared<catalogue::RegistryLocator>(setup.host);
  setup.opener = MakeOpener(backend, imports);
  if (!setup.opener) {
    std::fprintf(stderr, "velbrook: backend \"%s\" is not available in this build\n",
                 backend.c_str());
    setup.status = 2;
  }
  return setup;
}

typeinfo::ProgIdLookup ProgIdLookupOf(std::shared_ptr<const catalogue::HostCatalogue> host) {
  if (!host) return [](const std::string&) { return std::string(); };
  return [host](const std::string& guid_text) {
    return catalogue::ReadKeyValue(host->registry(), "CLSID\\" + guid_text + "\\ProgID");
  };
}

void AddImportPathOption(CLI::App* command, std::vector<std::string>* paths) {
  command
      ->add_option("--import-path", *paths,
                   "Folder to look in for imported libraries not found in the registry or "
                   "beside the library (repeatable)")
      ->check(CLI::ExistingDirectory)
      ->allow_extra_args(false);
}

}  // namespace velbrook::cli
