// Rendering cost of a wrapper with N members in vtable style: with the
// hashed member-name list the time per member stays flat as N grows.
#include <benchmark/benchmark.h>

#include "fakes/fake_component.h"
#include "render/inherited_members.h"
#include "render/member_render.h"
#include "render/naming.h"

namespace velbrook::render {
namespace {

using fakes::FakeMember;
using fakes::Param;
using namespace typeinfo;

std::shared_ptr<fakes::FakeType> SyntheticInterface(int members) {
  auto type = fakes::Interface("IBig");
  for (int i = 0; i < members; ++i) {
    // A few names repeat, so the uniqueness suffixes are exercised too.
    auto member = std::make_shared<FakeMember>("Method" + std::to_string(i % 1000 == 0 ? 0 : i));
    member->SetVTableOffset(28 + 4 * i);
    member->AddParameter(Param("a", kParamFlagIn, 3))
        .AddParameter(Param("name", kParamFlagIn, 8))
        .AddParameter(Param("pResult", kParamFlagOut | kParamFlagRetval, 3));
    type->AddMember(member);
  }
  return type;
}

void BM_RenderVtableWrapper(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto type = SyntheticInterface(n);
  for (auto _ : state) {
    RenderContext context;
    context.interface_name = "IBig";
    context.use_invoke = [] { return false; };
    std::string body, lines;
    const MemberList* members = type->Members();
    for (uint32_t m = 1; m <= WalkCount(members); ++m) {
      const Member& member = *members->Item(m);
      body += RenderMember(&context, member);
      lines += "    " + TypeMemberLine(context, member) + "\r\n";
      AddDeclaredName(&context, MemberDeclName(context, member));
    }
    benchmark::DoNotOptimize(body);
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.SetComplexityN(n);
}
BENCHMARK(BM_RenderVtableWrapper)->Arg(1000)->Arg(10000)->Complexity();

}  // namespace
}  // namespace velbrook::render

BENCHMARK_MAIN();
