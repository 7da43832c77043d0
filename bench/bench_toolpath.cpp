// The tool path on the yardstick torus (1,000,000 facets, resolution 0.2, wire 1.0):
// one section by the literal computation (the baseline), one section and the whole
// 0..360 by 5 sweep by the engine, and the sweep of the sections chosen from every
// degree.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "core/common/silent_host.h"
#include "literal_toolpath.h"
#include "core/nc/nc_program.h"
#include "core/toolpath/outline_walk.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_mesh.h"
#include "core/toolpath/section_outline.h"
#include "core/app/section_choice.h"
#include "core/app/tool_path_commands.h"
#include "toolpath_models.h"
#include "torus.h"
#include "yardstick.h"

namespace vantora {
namespace {

void BM_LiteralSection(benchmark::State& state) {
  bench::Yardstick y(state.range(0));
  testing::LiteralRaster raster(*y.store);
  float angle = 0;
  for (auto _ : state) {
    testing::LiteralRotateModel(*y.table, y.session.ModelTurnAngle, angle += 5);
    testing::LiteralRasterizeSection(*y.store, *y.table, raster, y.host);
    raster.Clear();
  }
}
BENCHMARK(BM_LiteralSection)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SectionMesh(benchmark::State& state) {
  bench::Yardstick y(state.range(0));
  for (auto _ : state) {
    SectionMesh mesh(*y.table, *y.store);
    benchmark::DoNotOptimize(mesh.Facets().data());
  }
}
BENCHMARK(BM_SectionMesh)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Everything a section of the sweep does, on one thread: turn, rasterize, trace, write,
// clear.
void BM_Section(benchmark::State& state) {
  bench::Yardstick y(state.range(0));
  const SectionMesh mesh(*y.table, *y.store);
  TurnedVertices vertices(mesh, *y.store, 0);
  NcProgram program;
  NcWriter writer(y.session.Format, program);
  writer.StartProgram(0);
  float angle = 0;
  for (auto _ : state) {
    y.store->ToolPath.clear();
    vertices.RotateModel(angle += 5);
    vertices.LocateColumns(y.store->Raster);
    FillSection(*y.store, mesh, vertices, y.store->Raster);
    MarkOutline(*y.store, y.host);
    OutlineWalk(*y.store, y.host).TraceOutline();
    writer.WriteSectionNc(y.store->ToolPath, angle, true, y.host);
    ClearRaster(*y.store);
  }
  state.counters["lines"] = benchmark::Counter(program.LineCount(), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Section)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Sweeps the yardstick 0..360 by 5 every iteration; "lines" counts the program's lines.
void SweepAllRound(benchmark::State& state, bench::Yardstick& y) {
  int lines = 0;
  for (auto _ : state) {
    NcProgram program;
    RunToolPath(*y.store, y.session, *y.table, y.host, {0, 5, 360}, program);
    lines = program.LineCount();
  }
  state.counters["lines"] = lines;
}

// The whole 0..360 by 5 sweep, smoothed within the second argument in thousandths of a
// mm (0: the staircase as walked); "lines" counts the program's lines.
void BM_Sweep(benchmark::State& state) {
  bench::Yardstick y(state.range(0));
  y.store->PathTolerance = float(state.range(1)) / 1000;
  SweepAllRound(state, y);
}
BENCHMARK(BM_Sweep)
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 100})
    ->Args({1'000'000, 200})
    ->Args({1'000'000, 5000})  // far wider than the torus's detail: most shortcuts refused
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The whole 0..360 by 5 sweep written for the plain profile (0) or grbl (1): trace,
// guard, write, read back and check.
void BM_SweepForMachine(benchmark::State& state) {
  bench::Yardstick y(1'000'000);
  const char* name = state.range(0) == 1 ? "grbl" : "plain";
  state.SetLabel(name);
  y.session.Machine = *BuiltInMachine(name);
  SweepAllRound(state, y);
}
BENCHMARK(BM_SweepForMachine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The sections chosen from every degree within the argument in thousandths of a mm,
// then swept: against BM_Sweep's uniform sweep.
void BM_ChooseAndSweep(benchmark::State& state) {
  bench::Yardstick y(state.range(0));
  int sections = 0;
  for (auto _ : state) {
    std::optional<ChosenSections> chosen;
    NcProgram program;
    RunRequestedToolPath(*y.store, y.session, *y.table, y.host, {0, 1, 359},
                         {float(state.range(1)) / 1000, 0}, program, {}, chosen);
    sections = int(chosen->Angles.size());
  }
  state.counters["sections"] = sections;
}
BENCHMARK(BM_ChooseAndSweep)->Args({1'000'000, 500})->Unit(benchmark::kMillisecond)->Iterations(2);

// The 0..360 by 5 sweep with each margin but the standard square one (BM_Sweep's): the
// first argument 1 for a round one, the second the stock in thousandths of a mm (-1:
// the standard margin).
void BM_SweepMargin(benchmark::State& state) {
  WireMargin margin;
  margin.Shape = state.range(0) == 1 ? MarginShape::Round : MarginShape::Square;
  if (state.range(1) >= 0) margin.Stock = float(state.range(1)) / 1000;
  bench::Yardstick y(1'000'000, margin);
  SweepAllRound(state, y);
}
BENCHMARK(BM_SweepMargin)
    ->Args({1, -1})
    ->Args({0, 100})
    ->Args({1, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One section's growth alone, square or round (the first argument 1), with the standard
// margin, on the yardstick's section at 0 degrees filled afresh each time.
void BM_GrowMargin(benchmark::State& state) {
  WireMargin margin;
  margin.Shape = state.range(0) == 1 ? MarginShape::Round : MarginShape::Square;
  bench::Yardstick y(1'000'000, margin);
  const SectionMesh mesh(*y.table, *y.store);
  TurnedVertices vertices(mesh, *y.store, 0);
  vertices.LocateColumns(y.store->Raster);
  FillSection(*y.store, mesh, vertices, y.store->Raster);
  const SectionRaster filled = y.store->Raster;
  for (auto _ : state) {
    state.PauseTiming();
    y.store->Raster = filled;
    state.ResumeTiming();
    GrowByWireMargin(*y.store, y.host);
  }
}
BENCHMARK(BM_GrowMargin)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantora
