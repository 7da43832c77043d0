// Programs written for a machine profile against the plain program, on the yardstick
// torus (1,000,000 facets, resolution 0.2, wire 1.0) swept 0..360 by 5: the writing
// alone, from the sweep's section paths (the whole sweep for a machine is
// BM_SweepForMachine, beside the other sweeps).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/app/tool_path_commands.h"
#include "core/nc/nc_program.h"
#include "core/nc/nc_writer.h"
#include "yardstick.h"

namespace vantora {
namespace {

// The profiles by the benchmarks' argument: the plain program and a hot-wire one.
constexpr const char* kMachines[] = {"plain", "grbl"};

MachineProfile MachineOf(benchmark::State& state) {
  const char* name = kMachines[state.range(0)];
  state.SetLabel(name);
  return *BuiltInMachine(name);
}

// One section as the sweep wrote it.
struct SweptSection {
  float angle;
  bool forward;
  std::vector<PathPoint> path;
};

std::vector<SweptSection> SweepSections(bench::Yardstick& y) {
  std::vector<SweptSection> sections;
  RunOptions options;
  options.onSection = [&](float angle) {
    sections.push_back({angle, sections.size() % 2 == 0, y.store->ToolPath});
  };
  NcProgram program;
  RunToolPath(*y.store, y.session, *y.table, y.host, {0, 5, 360}, program, options);
  return sections;
}

// The writer alone: every section of the sweep written into a fresh program.
void BM_WriteProgram(benchmark::State& state) {
  bench::Yardstick y(1'000'000);
  const std::vector<SweptSection> sections = SweepSections(y);
  const MachineProfile machine = MachineOf(state);
  const int count = int(sections.size());
  int lines = 0;
  for (auto _ : state) {
    NcProgram program;
    NcWriter writer(y.session.Format, machine, program);
    writer.StartProgram(0);
    for (int k = 0; k < count; ++k) {
      const SweptSection& s = sections[std::size_t(k)];
      writer.WriteSectionNc(s.path, s.angle, s.forward, y.host, {k + 1, count});
    }
    writer.EndProgram();
    lines = program.LineCount();
  }
  state.counters["lines"] = lines;
}
BENCHMARK(BM_WriteProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantora
