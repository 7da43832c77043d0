// The program check on the yardstick torus (1,000,000 facets) and its 0..360 by 5
// program (73 sections): building the facets' tree, the replay against it, the whole
// check of a program's text, and its carved result with the deviation.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/common/silent_host.h"
#include "core/check/program_check.h"
#include "core/app/tool_path_commands.h"
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

// What nc's check after the sweep adds: reading the run and replaying it against the
// tree the sweep built.
void BM_ReplayProgram(benchmark::State& state) {
  TorusProgram torus;
  const SilhouetteTree tree(*torus.table);
  const WireFrame frame = WireFrameOf(*torus.store, torus.session.ModelTurnAngle);
  for (auto _ : state) {
    NcMotionList motion;
    ReadNcMotion(torus.program, torus.session.Format, torus.session.Machine, motion);
    if (!CheckProgram(tree, frame, motion).Clean()) {
      state.SkipWithError("the torus program reaches into the torus");
    }
  }
}
BENCHMARK(BM_ReplayProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// What vantora-cli check does after the set-up: the program's text, the tree, the replay.
void BM_CheckProgramFile(benchmark::State& state) {
  TorusProgram torus;
  std::string text;
  for (int k = 0; k < torus.program.LineCount(); ++k) text.append(torus.program.Line(k)) += '\n';
  for (auto _ : state) {
    ProgramReport report;
    CheckNcProgram(*torus.table, *torus.store, torus.session.ModelTurnAngle, torus.session.Format,
                   torus.session.Machine, text, report);
    if (!report.Clean()) state.SkipWithError("the torus program reaches into the torus");
  }
}
BENCHMARK(BM_CheckProgramFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// What vantora-cli check --carved adds to the check: the solid and its deviation.
void BM_CarveProgram(benchmark::State& state) {
  TorusProgram torus;
  const SilhouetteTree tree(*torus.table);
  NcMotionList motion;
  ReadNcMotion(torus.program, torus.session.Format, torus.session.Machine, motion);
  for (auto _ : state) {
    CarvedResult carved;
    if (!CarveNcProgram(*torus.table, tree, *torus.store, torus.session.ModelTurnAngle, motion,
                        carved)) {
      state.SkipWithError("the torus program could not be carved");
    }
    state.counters["facets"] = carved.Solid ? carved.Solid->FacetCount : 0;
  }
}
BENCHMARK(BM_CarveProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// The colours of the carved view: the material each facet of the solid leaves over the
// model, and the model's facets the program takes.
void BM_ColourCarved(benchmark::State& state) {
  TorusProgram torus;
  const SilhouetteTree tree(*torus.table);
  NcMotionList motion;
  ReadNcMotion(torus.program, torus.session.Format, torus.session.Machine, motion);
  CarvedResult carved;
  if (!CarveNcProgram(*torus.table, tree, *torus.store, torus.session.ModelTurnAngle, motion,
                      carved)) {
    state.SkipWithError("the torus program could not be carved");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ColourCarved(carved, *torus.table, tree, 0.1).MaterialLeft.data());
  }
}
BENCHMARK(BM_ColourCarved)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vantora
