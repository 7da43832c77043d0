// The program check on the yardstick torus (1,000,000 facets) and its 0..360 by 5
// program (73 sections): building the facets' tree, and the whole replay.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/silent_host.h"
#include "check/program_check.h"
#include "toolpath/tool_path_commands.h"
#include "yardstick.h"

namespace vantora {
namespace {

// The yardstick and the program of its 0..360 by 5 sweep.
struct TorusProgram : bench::Yardstick {
  NcProgram program;

  TorusProgram() : Yardstick(1'000'000) {
    RunToolPath(*store, session, *table, host, {0, 5, 360}, program);
  }
};

void BM_SilhouetteTree(benchmark::State& state) {
  TorusProgram torus;
  for (auto _ : state) {
    SilhouetteTree tree(*torus.table);
    benchmark::DoNotOptimize(tree.Reach());
  }
}
BENCHMARK(BM_SilhouetteTree)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the automatic check after a sweep does: read the program, build the tree, replay.
void BM_CheckProgram(benchmark::State& state) {
  TorusProgram torus;
  for (auto _ : state) {
    ProgramReport report;
    CheckNcProgram(*torus.table, *torus.store, torus.session.ModelTurnAngle, torus.session.Format,
                   torus.program, 0, report);
    if (!report.Clean()) state.SkipWithError("the torus program reaches into the torus");
  }
}
BENCHMARK(BM_CheckProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vantora
