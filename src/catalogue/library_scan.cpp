// The registry scan: versions below each TypeLib GUID, their description and
// registered files, what is wrong with each file, and the skip rules; each
// listed row goes to the sink.
#include "catalogue/library_scan.h"

#include <memory>
#include <optional>

#include "catalogue/ascii_text.h"
#include "catalogue/file_test_cache.h"
#include "catalogue/registered_versions.h"
#include "catalogue/registry_functions.h"

namespace velbrook::catalogue {

namespace {

constexpr char kTypeLibKey[] = "TypeLib";

// A type library file begins with one of these; a module (.dll, .ocx,
// .exe) with "MZ" and may hold one as a resource, which only opening it tells.
constexpr size_t kHeadSize = 4;
constexpr const char* kLibraryMagics[] = {"MSFT", "SLTG"};
constexpr char kModuleMagic[] = "MZ";

// Hands over the row of one registered file, or tells the sink it was left out.
void AddRow(const ScanSeams& seams, const ScanOptions& options, const RegisteredVersion& version,
            std::string file, int bits, const std::string& guid_key, ScanSink& sink) {
  if (file.size() <= 2) return;
  const FileSystem& files =
      bits == 64 && seams.file_system_64 != nullptr ? *seams.file_system_64 : seams.file_system;
  LibraryEntry entry{FileColumnOf(file), version.description, std::move(file),
                     UpperAscii(guid_key)};
  entry.bits = bits;
  entry.problem = ProblemOfFile(files, entry.path);
  if (entry.problem == RowProblem::kFileNotFound && !options.include_files_not_found) {
    sink.LeftOut(entry);
    return;
  }
  sink.AddLibrary(entry);
}

// Hands over the listed versions of one TypeLib GUID key, opened below the
// open TypeLib key.
void AddLibrary(const ScanSeams& seams, const ScanOptions& options, const RegistryKey& type_libs,
                const std::string& guid_key, ScanSink& sink) {
  std::unique_ptr<RegistryKey> library = OpenSubkey(&type_libs, guid_key);
  if (!library) return;
  for (RegisteredVersion& version :
       ReadRegisteredVersions(*library, seams.environment, options.both_bitnesses)) {
    AddRow(seams, options, version, std::move(version.file), 32, guid_key, sink);
    if (options.both_bitnesses) {
      AddRow(seams, options, version, std::move(version.file_64), 64, guid_key, sink);
    }
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

RowProblem ProblemOfFile(const FileSystem& files, const std::string& path) {
  if (!files.ExistsAsNonDirectory(path)) return RowProblem::kFileNotFound;
  const std::optional<std::string> head = files.ReadHead(path, kHeadSize);
  if (!head) return RowProblem::kUnreadable;
  for (const char* magic : kLibraryMagics) {
    if (*head == magic) return RowProblem::kNone;
  }
  if (head->compare(0, sizeof(kModuleMagic) - 1, kModuleMagic) == 0) return RowProblem::kNone;
  return RowProblem::kNotTypeLibrary;
}

ScanOutcome ScanTypeLibraries(const ScanSeams& seams, const ScanOptions& options, ScanSink& sink) {
  std::unique_ptr<RegistryKey> type_libs = OpenClassesKey(seams.registry, kTypeLibKey);
  if (!type_libs) return ScanOutcome::kNoTypeLibKey;
  FileTestCache file_tests(seams.file_system);
  std::optional<FileTestCache> file_tests_64;
  if (seams.file_system_64 != nullptr) file_tests_64.emplace(*seams.file_system_64);
  const ScanSeams scan_seams{seams.registry, file_tests, seams.environment,
                             file_tests_64 ? &*file_tests_64 : nullptr};
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

size_t CountWin64Registrations(const ScanSeams& seams) {
  std::unique_ptr<RegistryKey> type_libs = OpenClassesKey(seams.registry, kTypeLibKey);
  size_t count = 0;
  for (uint32_t index = 0; type_libs; ++index) {
    const std::string guid_key = EnumSubkeyName(type_libs.get(), index);
    if (guid_key == kRegistryError) break;
    std::unique_ptr<RegistryKey> library = OpenSubkey(type_libs.get(), guid_key);
    if (!library) continue;
    for (const RegisteredVersion& version :
         ReadRegisteredVersions(*library, seams.environment, true)) {
      if (version.file_64.size() > 2) ++count;
    }
  }
  return count;
}

ScanOutcome ScanIntoRows(const ScanSeams& seams, const ScanOptions& options, LibraryRows* rows) {
  rows->Clear();
  RowsSink sink(rows);
  return ScanTypeLibraries(seams, options, sink);
}

}  // namespace velbrook::catalogue
