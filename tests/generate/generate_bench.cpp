// Cost of generating with every row checked: a synthetic library of N
// interfaces (each with an object class, an event interface and members)
// at 1,000 and 10,000, and mshtml.tlb; time per interface should stay flat.
#include <benchmark/benchmark.h>

#include <memory>

#include "cli/backends.h"
#include "generate/generator.h"
#include "generate_fakes.h"

namespace velbrook::generate::testing {
namespace {

struct Synthetic {
  explicit Synthetic(int n) {
    auto dispatch = Dispatch();
    std::shared_ptr<FakeType> previous_record;
    for (int i = 0; i < n; ++i) {
      const std::string id = std::to_string(i);
      auto iface = fakes::Interface("IThing" + id, {dispatch});
      iface->SetGuidText("{00000000-0000-0000-0000-" + std::string(12 - id.size(), '0') + id + "}");
      iface->SetVTableInterface(iface);
      for (int m = 0; m < 3; ++m) {
        auto member = std::make_shared<FakeMember>("Method" + std::to_string(m));
        member->SetVTableOffset(28 + 4 * m).SetValueType(Vt(25));
        member->AddParameter(fakes::Param("value", typeinfo::kParamFlagIn, 3));
        iface->AddMember(member);
      }
      auto events = fakes::Interface("DThingEvents" + id, {dispatch});
      events->SetGuidText(iface->GuidText());
      auto fired = std::make_shared<FakeMember>("Fired");
      fired->SetValueType(Vt(24));
      events->AddMember(fired);
      auto coclass = Coclass("Thing" + id, iface->GuidText(), iface);
      coclass->SetDefaultEventInterface(events);
      library.AddClass(coclass).AddInterface(iface).AddInterface(events);
      sources.push_back({events->Name(), coclass->Name() + " (default)"});
      if (i % 10 == 0) {  // records embedding the first one: output stays linear
        auto record = Record("Rec" + id);
        record->AddMember(Field("value", 3));
        if (previous_record) record->AddMember(RecordField("inner", previous_record));
        library.AddRecord(record);
        if (!previous_record) previous_record = record;
      }
    }
    contents = BuildTestContents(library, sources);
    contents.lists.classes.CheckAll();
    contents.lists.events.CheckAll();
    contents.lists.types.CheckAll();
  }
  FakeLibrary library;
  SourceList sources;
  TestContents contents;
};

void BM_GenerateSynthetic(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool invoke = state.range(1) != 0;
  Synthetic synthetic(n);
  TestRun run(synthetic.library, &synthetic.contents, invoke);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = run.Generate();
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * n);
  state.SetComplexityN(n);
}
BENCHMARK(BM_GenerateSynthetic)
    ->ArgsProduct({{1000, 10000}, {0, 1}})
    ->ArgNames({"interfaces", "invoke"})
    ->Unit(benchmark::kMillisecond);

void BM_GenerateMshtml(benchmark::State& state) {
  const bool invoke = state.range(0) != 0;
  auto opener = cli::MakeOpener(cli::DefaultBackend());
  auto library = opener->OpenLibraryFile(VELBROOK_WINE_CORPUS_DIR "/mshtml.tlb");
  if (!library.ok()) {
    state.SkipWithError("mshtml.tlb cannot be opened");
    return;
  }
  const typeinfo::LibraryContents contents = typeinfo::BuildLibraryContents(
      *library.value(), [](const std::string&) { return std::string(); });
  VectorContentsLists lists = MakeContentsLists(contents);
  const RowMaps maps = RowMaps::FromContents(contents);
  lists.classes.CheckAll();
  lists.events.CheckAll();
  lists.types.CheckAll();
  lists.enumerations.CheckAll();
  GenerationInputs inputs;
  inputs.library = library.value().get();
  inputs.classes = &lists.classes;
  inputs.events = &lists.events;
  inputs.types = &lists.types;
  inputs.enumerations = &lists.enumerations;
  inputs.row_maps = &maps;
  inputs.use_invoke = [invoke] { return invoke; };
  size_t bytes = 0;
  for (auto _ : state) {
    const Result<std::string> text = GenerateIncludeText(inputs);
    bytes = text.ok() ? text.value().size() : 0;
    benchmark::DoNotOptimize(text);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["interfaces"] = static_cast<double>(lists.classes.RowCount());
}
BENCHMARK(BM_GenerateMshtml)->Arg(0)->Arg(1)->ArgNames({"invoke"})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velbrook::generate::testing

BENCHMARK_MAIN();
