// Scan import on the yardstick scan (a bump on a plinth, 0.1 mm pitch), in memory.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

#include "core/common/silent_host.h"
#include "core/scan/probe_compensation.h"
#include "core/scan/scan_faces.h"
#include "core/scan/scan_reader.h"
#include "scan.h"
#include "step_by_step_probe.h"

namespace vantora {
namespace {

constexpr int kPitch = 100;              // micrometres
constexpr float kWideProbe = 2.1f;       // mm: ProbeRadiusCells 10 at this pitch
constexpr float kUsualProbe = 0.5f;

std::unique_ptr<TDataModule1> ReadScan(int size, float probe) {
  auto store = std::make_unique<TDataModule1>();
  SilentHost host;
  const ScanReadResult read =
      ReadScanFile(bench::ScanText(size, size, kPitch), *store, probe, true, host);
  if (!read.status) throw std::runtime_error(read.status.message());
  return store;
}

// Puts BaseGrid back at the top level, as the reader leaves it before compensation.
void RaiseBaseGrid(TDataModule1& s) {
  for (int j = 0; j <= s.ScanMaxJ; ++j) {
    for (int i = 0; i <= s.ScanMaxI; ++i) {
      GridCell& cell = s.BaseGrid.At(i, j);
      cell.Z = s.ScanTopZ;
      cell.Marked = 0;
    }
  }
}

void BM_CompensateProbe(benchmark::State& state) {
  auto store = ReadScan(int(state.range(0)), kWideProbe);
  SilentHost host;
  for (auto _ : state) {
    state.PauseTiming();
    RaiseBaseGrid(*store);
    state.ResumeTiming();
    CompensateProbe(*store, host);
  }
  state.counters["ProbeRadiusCells"] = store->ProbeRadiusCells;
}
BENCHMARK(BM_CompensateProbe)->Arg(2000)->Unit(benchmark::kMillisecond);

// The baseline: the step-by-step definition, two square roots per neighbour.
void BM_CompensateStepByStep(benchmark::State& state) {
  auto store = ReadScan(int(state.range(0)), kWideProbe);
  TDataModule1& s = *store;
  for (auto _ : state) {
    state.PauseTiming();
    RaiseBaseGrid(s);
    state.ResumeTiming();
    testing::CompensateProbeStepByStep(s);
  }
  state.counters["ProbeRadiusCells"] = s.ProbeRadiusCells;
}
BENCHMARK(BM_CompensateStepByStep)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ParseScanFile(benchmark::State& state) {
  const int size = int(state.range(0));
  const std::string text = bench::ScanText(size, size, kPitch);
  SilentHost host;
  for (auto _ : state) {
    ScanFile scan;
    benchmark::DoNotOptimize(ParseScanFile(text, host, scan).ok());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ParseScanFile)->Arg(2000)->Unit(benchmark::kMillisecond);

// The whole reading step into a fresh store, as the first import of a run: parsing,
// the grids' cells, placement and compensation with the usual probe.
void BM_ReadScanFile(benchmark::State& state) {
  const int size = int(state.range(0));
  const std::string text = bench::ScanText(size, size, kPitch);
  SilentHost host;
  for (auto _ : state) {
    auto store = std::make_unique<TDataModule1>();
    benchmark::DoNotOptimize(ReadScanFile(text, *store, kUsualProbe, true, host).status.ok());
    state.PauseTiming();
    store.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_ReadScanFile)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_BuildFaces(benchmark::State& state) {
  auto store = ReadScan(int(state.range(0)), kUsualProbe);
  int facets = 0;
  for (auto _ : state) {
    FacetTable table;  // fresh pages each time, as a real import has
    benchmark::DoNotOptimize(BuildFaces(*store, table, false).ok());
    facets = table.FacetCount;
  }
  state.counters["facets"] = facets;
}
BENCHMARK(BM_BuildFaces)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantora
