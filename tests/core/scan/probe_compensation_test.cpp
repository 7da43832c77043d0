#include "core/scan/probe_compensation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>

#include "scripted_host.h"
#include "step_by_step_probe.h"

namespace vantora {
namespace {

// A store holding a scan of `width` x `lines` points with the given raw heights, every
// BaseGrid cell at the top height.
std::unique_ptr<TDataModule1> ScanStore(int width, int lines, float pitch, float probeSize,
                                        float top, const std::vector<float>& raw) {
  auto store = std::make_unique<TDataModule1>();
  TDataModule1& s = *store;
  s.ScanMaxI = width - 1;
  s.ScanMaxJ = lines - 1;
  s.ScanPitch = pitch;
  s.ProbeSize = probeSize;
  s.ScanTopZ = top;
  for (int j = 0; j < lines; ++j) {
    for (int i = 0; i < width; ++i) {
      s.ScanGrid.Create(i, j).Z = raw[std::size_t(j * width + i)];
      s.BaseGrid.Create(i, j).Z = top;
    }
  }
  return store;
}

std::unique_ptr<TDataModule1> Compensated(std::unique_ptr<TDataModule1> store) {
  testing::ScriptedHost host;
  CompensateProbe(*store, host);
  return store;
}

// The compensation against its step-by-step definition, bit for bit, on two copies of
// one store; `prepare` may change both copies first.
void ExpectStepByStep(int width, int lines, float pitch, float probe, float top,
                      const std::vector<float>& raw,
                      const std::function<void(TDataModule1&)>& prepare = {}) {
  auto expected = ScanStore(width, lines, pitch, probe, top, raw);
  auto actual = ScanStore(width, lines, pitch, probe, top, raw);
  if (prepare) {
    prepare(*expected);
    prepare(*actual);
  }
  testing::CompensateProbeStepByStep(*expected);
  actual = Compensated(std::move(actual));
  EXPECT_EQ(actual->ProbeRadius, expected->ProbeRadius);
  EXPECT_EQ(actual->ProbeRadiusCells, expected->ProbeRadiusCells);
  for (int j = 0; j < lines; ++j) {
    for (int i = 0; i < width; ++i) {
      const GridCell& e = expected->BaseGrid.At(i, j);
      const GridCell& a = actual->BaseGrid.At(i, j);
      ASSERT_EQ(std::bit_cast<std::uint32_t>(a.Z), std::bit_cast<std::uint32_t>(e.Z))
          << "[" << i << "][" << j << "] " << a.Z << " instead of " << e.Z << " on " << width
          << " x " << lines << ", pitch " << pitch << ", probe " << probe;
      ASSERT_EQ(a.Marked, e.Marked) << "[" << i << "][" << j << "]";
    }
  }
}

TEST(CompensateProbe, EqualsTheStepByStepDefinition) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> size(1, 40);
  std::uniform_real_distribution<float> height(-1.0f, 4.0f), probe(0.0f, 3.0f);
  const float pitches[] = {0.1f, 0.05f, 0.13f, 0.5f, 1.0f};
  for (int trial = 0; trial < 150 && !HasFatalFailure(); ++trial) {
    const int width = size(rng), lines = size(rng);
    std::vector<float> raw(std::size_t(width * lines));
    for (float& z : raw) z = height(rng);
    const float top = raw[std::size_t(trial) % raw.size()];  // some points at the top, some above
    // Cells kept from an earlier scan may start marked, and not all at the top.
    ExpectStepByStep(width, lines, pitches[trial % 5], probe(rng), top, raw,
                     [&](TDataModule1& s) {
                       for (int k = 0; k < width * lines; k += 3) {
                         GridCell& cell = s.BaseGrid.At(k % width, k / width);
                         cell.Marked = 1;
                         cell.Z = raw[std::size_t(k)] + 0.25f;
                       }
                     });
  }
  // A ball wider than the grid.
  std::vector<float> raw(8 * 5);
  for (std::size_t k = 0; k < raw.size(); ++k) raw[k] = float(k % 7) * 0.3f;
  ExpectStepByStep(8, 5, 0.1f, 10.0f, 2.0f, raw);
}

TEST(CompensateProbe, SmallBallGivesBackTheRawHeights) {
  // A ball narrower than two steps reaches no neighbour: ProbeRadiusCells 0.
  const std::vector<float> raw{0.5f, 1.25f, 3.0f, 0.0f, 2.0f, 2.0f};
  const auto store = Compensated(ScanStore(3, 2, 0.1f, 0.19f, 2.0f, raw));
  EXPECT_EQ(store->ProbeRadiusCells, 0);
  EXPECT_EQ(store->ProbeRadius, 0.095f);
  for (int k = 0; k < 6; ++k) {
    const GridCell& cell = store->BaseGrid.At(k % 3, k / 3);
    EXPECT_NEAR(cell.Z, std::min(raw[std::size_t(k)], 2.0f), 1e-6f) << k;
    EXPECT_EQ(cell.Marked, raw[std::size_t(k)] < 2.0f ? 1 : 0) << k;  // 3.0 and 2.0 lower nothing
  }
}

TEST(CompensateProbe, BorderCellsTakeTheNearestContribution) {
  // One low point next to the border of a line; the ball reaches three steps.
  const auto store = Compensated(ScanStore(6, 1, 1.0f, 6.0f, 5.0f, {5, 1, 5, 5, 5, 5}));
  ASSERT_EQ(store->ProbeRadiusCells, 3);
  const float top = 1.0f + 3.0f;
  EXPECT_EQ(store->BaseGrid.At(0, 0).Z, top - std::sqrt(9.0f - 1.0f));
  EXPECT_EQ(store->BaseGrid.At(1, 0).Z, top - 3.0f);
  EXPECT_EQ(store->BaseGrid.At(4, 0).Z, top);  // the rim of the ball
  EXPECT_EQ(store->BaseGrid.At(5, 0).Z, 5.0f);
  EXPECT_EQ(store->BaseGrid.At(5, 0).Marked, 0);
}

TEST(CompensateProbe, TinyPitchStaysWithinTheGrid) {
  // The radius in steps overflows int; the ball then covers the whole grid, whose
  // every cell comes down to the lowest point, the ball's depth there being r.
  std::vector<float> raw(30 * 30, 3.0f);
  raw[77] = 1.0f;
  const auto store = Compensated(ScanStore(30, 30, 1e-30f, 1.0f, 3.0f, raw));
  EXPECT_EQ(store->ProbeRadiusCells, 1 << 30);  // saturated, as every truncation is
  EXPECT_EQ(store->BaseGrid.At(29, 29).Z, (1.0f + 0.5f) - 0.5f);
  EXPECT_EQ(store->BaseGrid.At(29, 29).Marked, 1);
}

TEST(BallUndersideDepth, ReachIncludesTheRim) {
  EXPECT_EQ(BallUndersideDepth(0, 0, 0.1f, 0.5f), 0.5f);
  EXPECT_EQ(BallUndersideDepth(3, 4, 1.0f, 5.0f), 0.0f);
  EXPECT_FALSE(BallUndersideDepth(3, 5, 1.0f, 5.0f));
  EXPECT_FALSE(BallUndersideDepth(0, 0, 0.1f, -0.5f));
}

}  // namespace
}  // namespace vantora
