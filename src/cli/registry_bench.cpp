// The registry bench. The bare enumeration is the least work that reads what
// a library row needs: open TypeLib, enumerate the GUIDs, open each, enumerate
// its versions, open each version, read its first value (the description),
// read the default value of "0\win32" and test that file. On Windows it calls
// advapi32 and GetFileAttributesA directly; on Linux it walks the Wine
// prefix reader's keys, the only registry there is. The list scan is the
// list command's work without writing: the scan into a list and its text.
#include "cli/registry_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/bench_timing.h"
#include "cli/list_command.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "catalogue/registry_functions.h"
#endif

namespace velbrook::cli {

namespace {

using Clock = BenchClock;

// Counts of what one bare enumeration found, so its work cannot be skipped.
struct BareCount {
  int versions = 0;
  int files_found = 0;
};

#if defined(_WIN32)

// RAII for the bare enumeration's keys.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  bool Open(HKEY parent, const char* path) {
    return RegOpenKeyExA(parent, path, 0, KEY_READ, &key_) == ERROR_SUCCESS;
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool EnumName(HKEY key, DWORD index, char (&name)[MAX_PATH]) {
  DWORD size = MAX_PATH;
  return RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

void BareVersion(HKEY library, const char* version, BareCount* count) {
  KeyHandle version_key;
  if (!version_key.Open(library, version)) return;
  ++count->versions;
  char name[MAX_PATH];
  BYTE description[MAX_PATH];
  DWORD name_size = MAX_PATH;
  DWORD description_size = MAX_PATH;
  RegEnumValueA(version_key.get(), 0, name, &name_size, nullptr, nullptr, description,
                &description_size);
  KeyHandle win32;
  if (!win32.Open(version_key.get(), "0\\win32")) return;
  char path[MAX_PATH] = {};
  DWORD path_size = MAX_PATH - 1;
  if (RegQueryValueExA(win32.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path),
                       &path_size) != ERROR_SUCCESS) {
    return;
  }
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_DIRECTORY) {
    ++count->files_found;
  }
}

BareCount BareEnumeration(const catalogue::HostCatalogue&) {
  BareCount count;
  KeyHandle type_libs;
  if (!type_libs.Open(HKEY_CLASSES_ROOT, "TypeLib")) return count;
  char guid[MAX_PATH];
  for (DWORD index = 0; EnumName(type_libs.get(), index, guid); ++index) {
    KeyHandle library;
    if (!library.Open(type_libs.get(), guid)) continue;
    char version[MAX_PATH];
    for (DWORD v = 0; EnumName(library.get(), v, version); ++v) {
      BareVersion(library.get(), version, &count);
    }
  }
  return count;
}

#else

BareCount BareEnumeration(const catalogue::HostCatalogue& host) {
  BareCount count;
  std::unique_ptr<catalogue::RegistryKey> type_libs = host.registry().OpenKey("TypeLib");
  if (!type_libs) return count;
  for (uint32_t index = 0;; ++index) {
    std::optional<std::string> guid = type_libs->SubkeyName(index);
    if (!guid) break;
    std::unique_ptr<catalogue::RegistryKey> library = type_libs->OpenSubkey(*guid);
    if (!library) continue;
    for (uint32_t v = 0;; ++v) {
      std::optional<std::string> version = library->SubkeyName(v);
      if (!version) break;
      std::unique_ptr<catalogue::RegistryKey> version_key = library->OpenSubkey(*version);
      if (!version_key) continue;
      ++count.versions;
      (void)version_key->Value(0);
      const std::string path = catalogue::ReadSubkeyValue(version_key.get(), "0\\win32");
      if (!path.empty() && host.file_system().ExistsAsNonDirectory(path)) ++count.files_found;
    }
  }
  return count;
}

#endif

struct Timings {
  std::vector<double> runs;
  double Median() const { return cli::Median(runs); }
  double Best() const { return *std::min_element(runs.begin(), runs.end()); }
};

void PrintRow(const char* what, const Timings& timings, const std::string& found) {
  std::printf("%-18s %10.1f %10.1f  %s\n", what, timings.Median(), timings.Best(), found.c_str());
}

}  // namespace

int RunRegistryBench(const catalogue::HostOptions& host_options, int repeat) {
  Timings open_host;
  Timings bare;
  Timings scan;
  BareCount count;
  size_t rows = 0;
  std::string description;
  // The three alternate, so each sees the same state of the caches.
  for (int run = 0; run < repeat; ++run) {
    Clock::time_point start = Clock::now();
    auto host = catalogue::OpenHostCatalogue(host_options);
    open_host.runs.push_back(MillisecondsSince(start));
    if (!host.ok()) {
      std::fprintf(stderr, "velbrook: %s\n", host.error().message.c_str());
      return 2;
    }
    description = host.value()->Description();
    start = Clock::now();
    count = BareEnumeration(*host.value());
    bare.runs.push_back(MillisecondsSince(start));
    start = Clock::now();
    const std::string text = ScanListText(*host.value(), false);
    scan.runs.push_back(MillisecondsSince(start));
    rows = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  std::printf("registry of %s, %d runs\n", description.c_str(), repeat);
  std::printf("%-18s %10s %10s\n", "", "median ms", "best ms");
  PrintRow("open", open_host, "");
  PrintRow("bare enumeration", bare,
           std::to_string(count.versions) + " versions, " + std::to_string(count.files_found) +
               " files found");
  PrintRow("list scan", scan, std::to_string(rows) + " rows");
  std::printf("list scan / bare  %10.2f\n", scan.Median() / bare.Median());
  return 0;
}

}  // namespace velbrook::cli
