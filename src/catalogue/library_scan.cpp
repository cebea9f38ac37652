// The registry scan: versions below each TypeLib GUID, their description and
// Win32 file, and the skip rules; each listed version goes to the sink.
#include "catalogue/library_scan.h"

#include <memory>

#include "catalogue/ascii_text.h"
#include "catalogue/file_test_cache.h"
#include "catalogue/registered_versions.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

constexpr char kTypeLibKey[] = "TypeLib";

bool ShouldList(const ScanSeams& seams, const ScanOptions& options, const std::string& file) {
  if (file.size() <= 2) return false;
  return options.include_files_not_found || seams.file_system.ExistsAsNonDirectory(file);
}

// Hands over the listed versions of one TypeLib GUID key, opened below the
// open TypeLib key.
void AddLibrary(const ScanSeams& seams, const ScanOptions& options, const RegistryKey& type_libs,
                const std::string& guid_key, ScanSink& sink) {
  std::unique_ptr<RegistryKey> library = OpenSubkey(&type_libs, guid_key);
  if (!library) return;
  for (RegisteredVersion& version : ReadRegisteredVersions(*library, seams.environment)) {
    if (!ShouldList(seams, options, version.file)) continue;
    std::string file_column = FileColumnOf(version.file);
    sink.AddLibrary(LibraryEntry{std::move(file_column), std::move(version.description),
                                 std::move(version.file), UpperAscii(guid_key)});
  }
}

class RowsSink : public ScanSink {
 public:
  explicit RowsSink(LibraryRows* rows) : rows_(rows) {}
  bool PollAbort() override { return false; }
  void AddLibrary(const LibraryEntry& entry) override { rows_->Add(entry); }
  void SetStatusText(const std::string& /*text*/) override {}

 private:
  LibraryRows* rows_;
};

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

ScanOutcome ScanTypeLibraries(const ScanSeams& seams, const ScanOptions& options, ScanSink& sink) {
  std::unique_ptr<RegistryKey> type_libs = OpenClassesKey(seams.registry, kTypeLibKey);
  if (!type_libs) return ScanOutcome::kNoTypeLibKey;
  FileTestCache file_tests(seams.file_system);
  const ScanSeams scan_seams{seams.registry, file_tests, seams.environment};
  for (uint32_t index = 0;; ++index) {
    if (sink.PollAbort()) return ScanOutcome::kAborted;
    std::string guid_key = EnumSubkeyName(type_libs.get(), index);
    if (guid_key == kRegistryError) break;
    AddLibrary(scan_seams, options, *type_libs, guid_key, sink);
    sink.SetStatusText(std::string("Searching HKEY_CLASSES_ROOT ") + "\\" + kTypeLibKey + ": " +
                       guid_key);
  }
  sink.SetStatusText("");
  return ScanOutcome::kCompleted;
}

ScanOutcome ScanIntoRows(const ScanSeams& seams, const ScanOptions& options, LibraryRows* rows) {
  rows->Clear();
  RowsSink sink(rows);
  return ScanTypeLibraries(seams, options, sink);
}

}  // namespace velbrook::catalogue
