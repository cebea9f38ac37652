// ScanTypeLibraries: fills the library list from HKEY_CLASSES_ROOT\TypeLib,
// one row per registered version whose Win32 file passes the skip rules.
#pragma once

#include <string>

#include "catalogue/host.h"
#include "catalogue/library_list.h"
#include "catalogue/main_window.h"
#include "catalogue/registry.h"

namespace velbrook::catalogue {

// Shared between the scan and the search: a scan or search started from the
// message pump while one is running is refused (returns at once), so rows are
// never added to a list another run has just emptied.
struct CatalogueRunState {
  bool running = false;
};

// Everything the scan and the search reach outside themselves.
struct CatalogueSeams {
  const ClassesRegistry& registry;
  const FileSystem& file_system;
  const Environment& environment;
  LibraryList& list;
  MainWindow& window;
  CatalogueRunState& run_state;
};

// Marks a run for its lifetime; ok() is false when another run is active.
class RunGuard {
 public:
  explicit RunGuard(CatalogueRunState& state) : state_(state), ok_(!state.running) {
    if (ok_) state_.running = true;
  }
  ~RunGuard() {
    if (ok_) state_.running = false;
  }
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;
  bool ok() const { return ok_; }

 private:
  CatalogueRunState& state_;
  bool ok_;
};

struct ScanOptions {
  // The "Include files not found" check box.
  bool include_files_not_found = false;
};

// The File column for a path: its last "\" component upper-cased, or the
// last two joined by "\" when the last has no "." (a resource number).
std::string FileColumnOf(const std::string& path);

// Where a row with this File goes: before the first row whose File compares
// greater byte-wise, so after every row with an equal File.
int SortedRowIndex(const LibraryList& list, const std::string& file);

// Adds the rows of one TypeLib GUID key, opened below the open TypeLib key.
void AddLibrary(const CatalogueSeams& seams, const ScanOptions& options,
                const RegistryKey& type_libs, const std::string& guid_key);

void ScanTypeLibraries(const CatalogueSeams& seams, const ScanOptions& options);

}  // namespace velbrook::catalogue
