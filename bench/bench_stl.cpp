// STL reading and writing on the yardstick torus, in memory (no disk in the loop).
#include <benchmark/benchmark.h>

#include <memory>

#include "core/common/silent_host.h"
#include "core/common/output_sink.h"
#include "core/common/number_text.h"
#include "core/stl/stl_writer.h"
#include "core/stl/stl_reader.h"
#include "torus.h"

namespace vantora {
namespace {

std::string TorusFile(long facets, bool text) {
  auto table = std::make_unique<FacetTable>();
  bench::FillTorus(*table, facets);
  StringSink sink;
  if (text) {
    WriteTextStl(*table, {}, sink);
  } else {
    WriteBinaryStl(*table, {}, sink);
  }
  return std::move(sink.text);
}

void BM_ReadBinaryStl(benchmark::State& state) {
  const std::string file = TorusFile(state.range(0), false);
  const auto bytes = std::as_bytes(std::span(file.data(), file.size()));
  SilentHost host;
  auto store = std::make_unique<TDataModule1>();
  for (auto _ : state) {
    FacetTable table;  // fresh pages each time, as a real import has
    benchmark::DoNotOptimize(ReadBinaryStl(bytes, *store, table, host).facetCount);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_ReadBinaryStl)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_ReadTextStl(benchmark::State& state) {
  const std::string file = TorusFile(state.range(0), true);
  SilentHost host;
  auto store = std::make_unique<TDataModule1>();
  for (auto _ : state) {
    FacetTable table;
    benchmark::DoNotOptimize(ReadTextStl(file, *store, table, host).facetCount);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK(BM_ReadTextStl)->Arg(200'000)->Unit(benchmark::kMillisecond);

// Counts bytes without keeping them, so the figure is the formatting alone.
class CountingSink final : public OutputSink {
 public:
  void Write(std::string_view bytes) override { size += bytes.size(); }
  std::size_t size = 0;
};

void BM_WriteTextStl(benchmark::State& state) {
  auto table = std::make_unique<FacetTable>();
  bench::FillTorus(*table, state.range(0));
  for (auto _ : state) {
    CountingSink sink;
    WriteTextStl(*table, {}, sink);
    benchmark::DoNotOptimize(sink.size);
  }
}
BENCHMARK(BM_WriteTextStl)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_FloatToText(benchmark::State& state) {
  std::string out;
  float v = -150.0f;
  for (auto _ : state) {
    out.clear();
    AppendFloatText(out, v);
    v += 0.0137f;
    if (v > 150.0f) v = -150.0f;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_FloatToText);

}  // namespace
}  // namespace vantora
