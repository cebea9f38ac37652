// The registry scan: versions below each TypeLib GUID, their description and
// Win32 file, the skip rules and the sorted insertion into the library list.
#include "catalogue/library_scan.h"

#include <memory>

#include "catalogue/ascii_text.h"
#include "catalogue/file_test_cache.h"
#include "catalogue/registered_versions.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

constexpr char kTypeLibKey[] = "TypeLib";

bool ShouldList(const CatalogueSeams& seams, const ScanOptions& options, const std::string& file) {
  if (file.size() <= 2) return false;
  return options.include_files_not_found || seams.file_system.ExistsAsNonDirectory(file);
}

}  // namespace

std::string FileColumnOf(const std::string& path) {
  size_t last_slash = path.rfind('\\');
  std::string last = last_slash == std::string::npos ? path : path.substr(last_slash + 1);
  if (last.find('.') == std::string::npos && last_slash != std::string::npos) {
    size_t prior_slash = last_slash == 0 ? std::string::npos : path.rfind('\\', last_slash - 1);
    size_t start = prior_slash == std::string::npos ? 0 : prior_slash + 1;
    last = path.substr(start);
  }
  return UpperAscii(last);
}

int SortedRowIndex(const LibraryList& list, const std::string& file) {
  // Every row was inserted by this rule, so the list is sorted by File and
  // the first greater row is found by halving: log n cell reads, not n.
  int low = 0;
  int high = list.RowCount();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    // std::string compares as unsigned bytes, shorter prefix first.
    if (list.CellText(middle, kColumnFile).compare(file) > 0) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

void AddLibrary(const CatalogueSeams& seams, const ScanOptions& options,
                const RegistryKey& type_libs, const std::string& guid_key) {
  std::unique_ptr<RegistryKey> library = OpenSubkey(&type_libs, guid_key);
  if (!library) return;
  for (const RegisteredVersion& version : ReadRegisteredVersions(*library, seams.environment)) {
    if (!ShouldList(seams, options, version.file)) continue;
    std::string file_column = FileColumnOf(version.file);
    int row = SortedRowIndex(seams.list, file_column);
    seams.list.InsertRow(row, file_column);
    seams.list.SetCellText(row, kColumnDescription, version.description);
    seams.list.SetCellText(row, kColumnPath, version.file);
    seams.list.SetCellText(row, kColumnClsid, UpperAscii(guid_key));
    seams.list.SetCellText(row, kColumnHidden, std::to_string(seams.list.RowCount() - 1));
  }
}

void ScanTypeLibraries(const CatalogueSeams& seams, const ScanOptions& options) {
  RunGuard guard(seams.run_state);
  if (!guard.ok()) return;
  seams.window.StartAbortable();
  seams.list.DeleteAllRows();
  std::unique_ptr<RegistryKey> type_libs = OpenClassesKey(seams.registry, kTypeLibKey);
  if (!type_libs) return;
  FileTestCache file_tests(seams.file_system);
  const CatalogueSeams scan_seams{seams.registry, file_tests,   seams.environment,
                                  seams.list,     seams.window, seams.run_state};
  for (uint32_t index = 0;; ++index) {
    seams.window.PumpMessages();
    // The count texts keep the previous scan's numbers.
    if (seams.window.AbortRequested()) return;
    std::string guid_key = EnumSubkeyName(type_libs.get(), index);
    if (guid_key == kRegistryError) break;
    AddLibrary(scan_seams, options, *type_libs, guid_key);
    seams.window.SetStatusText(std::string("Searching HKEY_CLASSES_ROOT ") + "\\" + kTypeLibKey +
                               ": " + guid_key);
  }
  type_libs.reset();
  seams.window.SetStatusText("");
  seams.window.SetCountText(std::to_string(seams.list.RowCount()));
  seams.window.SetCountSuffixText(" TypeLibs found");
}

}  // namespace velbrook::catalogue
