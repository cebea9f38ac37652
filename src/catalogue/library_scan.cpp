// The registry scan: versions below each TypeLib GUID, their description and
// registered files, what is wrong with each file, and the skip rules; each
// listed row goes to the sink.
#include "catalogue/library_scan.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "catalogue/ascii_text.h"
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

// What is wrong with each file, found once per scan (so a file added or
// removed later is seen by the next): many registrations name the same few
// files, and under Wine every test is a round of system calls.
class ProblemCache {
 public:
  explicit ProblemCache(const FileSystem& files) : files_(files) {}
  RowProblem Of(const std::string& path) {
    auto [entry, inserted] = problems_.try_emplace(path, RowProblem::kNone);
    if (inserted) entry->second = ProblemOfFile(files_, path);
    return entry->second;
  }

 private:
  const FileSystem& files_;
  std::unordered_map<std::string, RowProblem> problems_;
};

struct ScanState {
  const ScanSeams& seams;
  const ScanOptions& options;
  ScanSink& sink;
  ProblemCache problems_32;  // the "win32" files
  ProblemCache problems_64;  // the "win64" files
};

// Hands over the row of one registered file, or tells the sink it was left out.
void AddRow(ScanState& scan, std::string description, std::string file, int bits,
            const std::string& guid_key) {
  if (file.size() <= 2) return;
  LibraryEntry entry{FileColumnOf(file), std::move(description), std::move(file),
                     UpperAscii(guid_key)};
  entry.bits = bits;
  entry.problem = (bits == 64 ? scan.problems_64 : scan.problems_32).Of(entry.path);
  if (entry.problem == RowProblem::kFileNotFound && !scan.options.include_files_not_found) {
    scan.sink.LeftOut(entry);
    return;
  }
  scan.sink.AddLibrary(entry);
}

// Hands over the listed versions of one TypeLib GUID key, opened below the
// open TypeLib key.
void AddLibrary(ScanState& scan, const RegistryKey& type_libs, const std::string& guid_key) {
  std::unique_ptr<RegistryKey> library = OpenSubkey(&type_libs, guid_key);
  if (!library) return;
  const bool both = scan.options.both_bitnesses;
  for (RegisteredVersion& version :
       ReadRegisteredVersions(*library, scan.seams.environment, both)) {
    std::string description_64 = both ? version.description : std::string();
    AddRow(scan, std::move(version.description), std::move(version.file), 32, guid_key);
    if (both) AddRow(scan, std::move(description_64), std::move(version.file_64), 64, guid_key);
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
  ScanState scan{
      seams, options, sink, ProblemCache(seams.file_system),
      ProblemCache(seams.file_system_64 != nullptr ? *seams.file_system_64 : seams.file_system)};
  for (uint32_t index = 0;; ++index) {
    if (sink.PollAbort()) return ScanOutcome::kAborted;
    std::string guid_key = EnumSubkeyName(type_libs.get(), index);
    if (guid_key == kRegistryError) break;
    AddLibrary(scan, *type_libs, guid_key);
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
