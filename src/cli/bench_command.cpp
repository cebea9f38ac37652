// The bench sub-command. For each library, N rounds each open it afresh with
// a new opener per reader (nothing cached from an earlier round) and time:
// the floor (mapping the file and touching the type library's bytes),
// opening the library, and walking it (WalkLibrary asks every question the
// component answers and builds no text, so the figure is the reader's own
// cost). The medians are printed per library and summed.
#include "cli/bench_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cli/backends.h"
#include "cli/bench_floor.h"
#include "cli/bench_timing.h"
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

using Clock = BenchClock;

// One library's rounds: the floor, then open and walk per reader.
struct Rounds {
  std::vector<double> floor;
  std::vector<std::vector<double>> open, walk;
};

std::vector<std::string> ReadLines(const std::string& list_file) {
  std::vector<std::string> lines;
  std::ifstream file(list_file);
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Opens and walks with a fresh opener; false when the reader cannot open it.
bool TimeReader(const std::string& reader, const std::string& path, double* open_ms,
                double* walk_ms, uint32_t* sink) {
  std::unique_ptr<typeinfo::Opener> opener = MakeOpener(reader);
  auto start = Clock::now();
  auto library = opener->OpenLibraryFile(path);
  if (!library.ok()) return false;
  *open_ms = MillisecondsSince(start);
  start = Clock::now();
  *sink += static_cast<uint32_t>(typeinfo::WalkLibrary(*library.value()));
  *walk_ms = MillisecondsSince(start);
  return true;
}

// False when the floor or some reader cannot read the library.
bool Measure(const std::string& path, const std::vector<std::string>& readers, int repeat,
             Rounds* rounds, uint32_t* sink) {
  rounds->open.assign(readers.size(), {});
  rounds->walk.assign(readers.size(), {});
  for (int round = 0; round < repeat; ++round) {
    auto start = Clock::now();
    if (!MapAndTouch(path, sink)) return false;
    rounds->floor.push_back(MillisecondsSince(start));
    for (size_t r = 0; r < readers.size(); ++r) {
      double open_ms = 0, walk_ms = 0;
      if (!TimeReader(readers[r], path, &open_ms, &walk_ms, sink)) return false;
      rounds->open[r].push_back(open_ms);
      rounds->walk[r].push_back(walk_ms);
    }
  }
  return true;
}

void PrintRow(const std::string& label, const std::vector<double>& cells) {
  std::printf("%-28s", label.c_str());
  for (double cell : cells) std::printf(" %9.2f", cell);
  std::printf("\n");
}

int RunBench(BenchOptions options) {
  if (!options.list_file.empty()) {
    for (std::string& line : ReadLines(options.list_file)) options.libraries.push_back(line);
  }
  std::vector<std::string> readers;
  for (const char* name : {"portable", "oleaut"}) {
    if (MakeOpener(name)) readers.push_back(name);
  }
  std::printf("median of %d rounds, milliseconds\n%-28s %9s", options.repeat, "library", "floor");
  for (const std::string& reader : readers) {
    std::printf(" %9s %9s %9s", (reader.substr(0, 4) + " open").c_str(),
                (reader.substr(0, 4) + " walk").c_str(), (reader.substr(0, 4) + " all").c_str());
  }
  std::printf("\n");
  // Columns: floor, then open, walk and their sum per reader.
  std::vector<double> totals(1 + 3 * readers.size(), 0.0);
  uint32_t sink = 0;
  int measured = 0;
  for (const std::string& path : options.libraries) {
    Rounds rounds;
    if (!Measure(path, readers, options.repeat, &rounds, &sink)) continue;
    ++measured;
    std::vector<double> row{Median(rounds.floor)};
    for (size_t r = 0; r < readers.size(); ++r) {
      double open_ms = Median(rounds.open[r]), walk_ms = Median(rounds.walk[r]);
      row.insert(row.end(), {open_ms, walk_ms, open_ms + walk_ms});
    }
    for (size_t i = 0; i < row.size(); ++i) totals[i] += row[i];
    size_t slash = path.find_last_of("/\\");
    PrintRow(path.substr(slash == std::string::npos ? 0 : slash + 1), row);
  }
  PrintRow("total (" + std::to_string(measured) + ")", totals);
  for (size_t r = 0; r < readers.size(); ++r) {
    double all = totals[3 + 3 * r];
    std::printf("%s: %.2f ms, %.2f times the floor", readers[r].c_str(), all,
                totals[0] > 0 ? all / totals[0] : 0.0);
    if (r > 0 && all > 0) std::printf(", %.2f times %s", all / totals[3], readers[0].c_str());
    std::printf("\n");
  }
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
  bench
      ->add_option("--repeat", options->repeat,
                   "Rounds per library, each opening it afresh (the median counts)")
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
