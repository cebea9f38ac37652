// The registry scan: versions below each TypeLib GUID, their description and
// Win32 file, the skip rules and the sorted insertion into the library list.
#include "catalogue/library_scan.h"

#include <memory>

#include "catalogue/ascii_text.h"
#include "catalogue/environment_text.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

constexpr char kTypeLibKey[] = "TypeLib";

bool ShouldList(const CatalogueSeams& seams, const ScanOptions& options, const std::string& file) {
  if (file.size() <= 2) return false;
  return options.include_files_not_found || seams.file_system.ExistsAsNonDirectory(file);
}

}  // namespace

std::string RegisteredVersionFile(const ClassesRegistry& registry, const Environment& environment,
                                  const std::string& version_path) {
  std::string file = FindWin32File(registry, version_path);
  if (file.find('%') != std::string::npos) file = ExpandEnvironmentText(file, environment);
  return file;
}

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
  int count = list.RowCount();
  for (int row = 0; row < count; ++row) {
    // std::string compares as unsigned bytes, shorter prefix first.
    if (list.CellText(row, kColumnFile).compare(file) > 0) return row;
  }
  return count;
}

void AddLibrary(const CatalogueSeams& seams, const ScanOptions& options,
                const std::string& guid_key) {
  const std::string library_path = std::string(kTypeLibKey) + "\\" + guid_key;
  std::unique_ptr<RegistryKey> library = OpenClassesKey(seams.registry, library_path);
  if (!library) return;
  for (uint32_t index = 0;; ++index) {
    std::string version = EnumSubkeyName(library.get(), index);
    if (version == kRegistryError) break;
    const std::string version_path = library_path + "\\" + version;
    std::string description;
    {
      std::unique_ptr<RegistryKey> version_key = OpenClassesKey(seams.registry, version_path);
      description = EnumValueText(version_key.get(), 0, true);
    }
    std::string file = RegisteredVersionFile(seams.registry, seams.environment, version_path);
    if (!ShouldList(seams, options, file)) continue;
    std::string file_column = FileColumnOf(file);
    int row = SortedRowIndex(seams.list, file_column);
    seams.list.InsertRow(row, file_column);
    seams.list.SetCellText(row, kColumnDescription, description);
    seams.list.SetCellText(row, kColumnPath, file);
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
  for (uint32_t index = 0;; ++index) {
    seams.window.PumpMessages();
    // The count texts keep the previous scan's numbers.
    if (seams.window.AbortRequested()) return;
    std::string guid_key = EnumSubkeyName(type_libs.get(), index);
    if (guid_key == kRegistryError) break;
    AddLibrary(seams, options, guid_key);
    seams.window.SetStatusText(std::string("Searching HKEY_CLASSES_ROOT ") + "\\" + kTypeLibKey +
                               ": " + guid_key);
  }
  type_libs.reset();
  seams.window.SetStatusText("");
  seams.window.SetCountText(std::to_string(seams.list.RowCount()));
  seams.window.SetCountSuffixText(" TypeLibs found");
}

}  // namespace velbrook::catalogue
