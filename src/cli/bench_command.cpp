// The bench sub-command. For each library it measures, best of N runs: the
// floor (reading the file's bytes and touching each one), and for every
// reader in this build, opening the library and asking every question the
// component answers (WalkLibrary: no text is built, so the figure is the
// reader's own cost).
#include "cli/bench_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/backends.h"
#include "cli/list_command.h"
#include "cli/registry_bench.h"
#include "typeinfo/walk.h"

namespace velbrook::cli {

namespace {

struct BenchOptions {
  std::vector<std::string> libraries;
  std::string list_file;
  int repeat = 3;
  bool registry = false;
  catalogue::HostOptions host;
};

using Clock = std::chrono::steady_clock;

template <typename F>
double BestMilliseconds(int repeat, F&& run) {
  double best = 1e300;
  for (int i = 0; i < repeat; ++i) {
    auto start = Clock::now();
    if (!run()) return -1;
    std::chrono::duration<double, std::milli> took = Clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// The file part of a path with an optional \N resource suffix.
std::string FilePart(const std::string& path) {
  size_t resource = path.rfind('\\');
  if (resource != std::string::npos && resource + 1 < path.size() &&
      path.find_first_not_of("0123456789", resource + 1) == std::string::npos) {
    std::ifstream probe(path, std::ios::binary);
    if (!probe) return path.substr(0, resource);
  }
  return path;
}

bool TouchFile(const std::string& path, unsigned* sink) {
  std::FILE* file = std::fopen(FilePart(path).c_str(), "rb");
  if (file == nullptr) return false;
  static std::vector<unsigned char> buffer(1 << 20);
  unsigned sum = 0;
  for (size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
    for (size_t i = 0; i < got; i += 64) sum += buffer[i];  // one byte per cache line
  }
  std::fclose(file);
  *sink += sum;
  return true;
}

std::vector<std::string> ReadLines(const std::string& list_file) {
  std::vector<std::string> lines;
  std::ifstream file(list_file);
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

int RunBench(BenchOptions options) {
  if (!options.list_file.empty()) {
    for (std::string& line : ReadLines(options.list_file)) options.libraries.push_back(line);
  }
  std::vector<std::pair<std::string, std::unique_ptr<typeinfo::Opener>>> readers;
  for (const char* name : {"portable", "oleaut"}) {
    if (auto opener = MakeOpener(name)) readers.emplace_back(name, std::move(opener));
  }
  std::printf("%-28s %10s", "library", "floor ms");
  for (auto& reader : readers) std::printf(" %10s", (reader.first + " ms").c_str());
  std::printf("\n");
  std::vector<double> totals(readers.size() + 1, 0.0);
  unsigned sink = 0;
  int measured = 0;
  for (const std::string& path : options.libraries) {
    std::vector<double> row;
    row.push_back(BestMilliseconds(options.repeat, [&] { return TouchFile(path, &sink); }));
    bool all_open = row[0] >= 0;
    for (auto& reader : readers) {
      row.push_back(BestMilliseconds(options.repeat, [&] {
        auto library = reader.second->OpenLibraryFile(path);
        if (!library.ok()) return false;
        sink += static_cast<unsigned>(typeinfo::WalkLibrary(*library.value()));
        return true;
      }));
      all_open = all_open && row.back() >= 0;
    }
    if (!all_open) continue;  // not a type library for every reader
    ++measured;
    size_t slash = path.find_last_of("/\\");
    std::printf("%-28s", path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
    for (size_t i = 0; i < row.size(); ++i) {
      std::printf(" %10.2f", row[i]);
      totals[i] += row[i];
    }
    std::printf("\n");
  }
  std::printf("%-28s", ("total (" + std::to_string(measured) + ")").c_str());
  for (double total : totals) std::printf(" %10.2f", total);
  std::printf("\n");
  std::fprintf(stderr, "checksum %u\n", sink);
  return measured > 0 ? 0 : 1;
}

}  // namespace

void AddBenchCommand(CLI::App& app, int* exit_code) {
  auto options = std::make_shared<BenchOptions>();
  CLI::App* bench =
      app.add_subcommand("bench", "Time opening and walking libraries with every reader");
  bench->add_option("LIBRARY", options->libraries, "Type library files");
  bench->add_option("--list", options->list_file, "File naming one library per line");
  bench->add_option("--repeat", options->repeat, "Runs per measurement (best counts)")
      ->check(CLI::Range(1, 100));
  bench->add_flag("--registry", options->registry,
                  "Time the list command's registry scan beside a bare enumeration of the "
                  "same keys instead");
  AddCatalogueHostOptions(bench, &options->host);
  bench->callback([options, exit_code] {
    *exit_code =
        options->registry ? RunRegistryBench(options->host, options->repeat) : RunBench(*options);
  });
}

}  // namespace velbrook::cli
