#include "core/toolpath/raster_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>

#include "core/common/truncate.h"

#include "scripted_host.h"

namespace vantora {
namespace {

using testing::ScriptedHost;

// Bounds centred on x = `centreX`, symmetric in y, from the platform up to `height`;
// a 1 mm wire.
std::unique_ptr<TDataModule1> StoreWithBounds(double halfX, double halfY, double height,
                                              double centreX = 0) {
  auto s = std::make_unique<TDataModule1>();
  s->MaxX = centreX + halfX, s->MinX = centreX - halfX;
  s->MaxY = halfY, s->MinY = -halfY;
  s->MaxZ = height, s->MinZ = 0;
  s->WireDia = 1.0f;
  return s;
}

TEST(RasterSetup, SizesTheRasterByTheNumberRules) {
  auto s = StoreWithBounds(10, 10, 20);
  s->ScanGrid.Create(3, 4);
  s->BaseGrid.Create(5, 6);
  ScriptedHost host;
  ASSERT_TRUE(RasterSetup(*s, host));
  // spans 22, diag sqrtf(968) = 31.1127, half width 16.0563.
  const float diag = std::sqrt(22.0f * 22.0f + 22.0f * 22.0f);
  EXPECT_EQ(s->MaxX, double(diag) * 0.5 + 0.5);
  // trunc(156 x 1.2 / 2) cells on each side of the axis, trunc(110 x 1.2) rows, a margin
  // of trunc(1.5 / 0.2).
  EXPECT_EQ(std::tuple(s->RasterMaxI, s->RasterMaxJ, s->AxisColumn, s->WireMarginCells),
            std::tuple(186, 132, 93, 7));
  EXPECT_EQ(s->ScanGrid.AllocatedTiles() + s->BaseGrid.AllocatedTiles(), 0u);
}

// Cell edges must give exactly the cells the division rule gives, around every edge,
// and every cell is one resolution wide, the axis's too.
TEST(RasterSetup, CellEdgesAgreeWithTheCellRule) {
  auto s = StoreWithBounds(10, 10, 20);
  s->Resolution = 0.3f;
  ScriptedHost host;
  ASSERT_TRUE(RasterSetup(*s, host));
  const double res = s->Resolution;
  const auto& edges = s->Raster.ColumnEdges;
  ASSERT_EQ(edges.Cells, s->Raster.Columns());
  for (int k = 0; k <= edges.Cells; ++k) {
    const double e = edges.Edges[std::size_t(k)];
    EXPECT_EQ(NearestCell(e / res) + s->AxisColumn, k) << k;
    EXPECT_EQ(NearestCell(std::nextafter(e, -1e300) / res) + s->AxisColumn, k - 1) << k;
    if (k > 0) {
      EXPECT_NEAR(e - edges.Edges[std::size_t(k) - 1], res, 1e-9) << k;
    }
  }
}

TEST(RasterSetup, EnlargesTheResolutionWhenTheRasterWouldNotFit) {
  // Spans of 707.10678 make a diagonal of 1000 mm: 5000 columns at 0.2, and
  // trunc(5000 x 1.2) = 6000 is one too many.
  auto s = StoreWithBounds(352.55339, 352.55339, 10);
  ScriptedHost host;
  ASSERT_TRUE(RasterSetup(*s, host));
  const float span = float(2 * 352.55339 + 2.0);
  const float diag = std::sqrt(span * span + span * span);
  EXPECT_EQ(s->Resolution, float(0.0002 * double(diag)));
  EXPECT_EQ(s->RasterMaxI, 5500);  // trunc(5000 x 1.1)
  // The new resolution is below the wire; the warning when it grows beyond it is the
  // nc command's to show.
  EXPECT_TRUE(host.messages.empty());
}

TEST(RasterSetup, RefusalsChangeNothing) {
  struct Case {
    double halfX, height;
    float resolution, wire;
    const char* says;
    double centreX = 0, lowZ = 0;
  };
  const Case cases[] = {
      {10, 20, 0.0f, 1.0f, "resolution must be greater than 0"},
      {10, 20, -0.2f, 1.0f, "resolution must be greater than 0"},
      {10, 20, 0.2f, 0.0f, "wire diameter must be greater than 0"},
      {10, 5000, 0.2f, 1.0f, "more than the 6000"},  // far taller than wide
      // A model lying below the platform (Cancel to "Move to platform ?" is the set-up's test).
      {10, -10, 0.2f, 1.0f, "lies from Z -30 to Z -10; it must stand on the platform", 0, -30},
      // A small model a thousand kilometres out: one cell there is lost in rounding.
      {5, 10, 0.2f, 1.0f, "too far from the rotation axis", 1e9},
  };
  for (const Case& c : cases) {
    auto s = StoreWithBounds(c.halfX, c.halfX, c.height, c.centreX);
    s->MinZ = c.lowZ;
    s->Resolution = c.resolution;
    s->WireDia = c.wire;
    s->ScanGrid.Create(1, 1);
    ScriptedHost host;
    const Status status = RasterSetup(*s, host);
    ASSERT_FALSE(status) << c.says;
    EXPECT_EQ(status.code(), ErrorCode::InvalidValue);
    EXPECT_NE(status.message().find(c.says), std::string::npos) << status.message();
    EXPECT_EQ(s->MaxX, c.centreX + c.halfX);
    EXPECT_EQ(s->Resolution, c.resolution);
    EXPECT_EQ(s->RasterMaxI, 0);
    EXPECT_NE(s->ScanGrid.Find(1, 1), nullptr);
    EXPECT_TRUE(host.messages.empty());
  }
}

// The rows start the wire margin below the platform: the model's lowest point must lie
// in them and its top in the platform's row or above, to the last bit of their edges.
TEST(PlanRaster, AModelMustStandOnThePlatform) {
  auto s = StoreWithBounds(10, 10, 20);
  ScriptedHost host;
  ASSERT_TRUE(RasterSetup(*s, host));
  const auto& edges = s->Raster.RowEdges.Edges;
  const double foot = edges[0], platformRow = edges[std::size_t(s->WireMarginCells)];
  auto below = [](double z) { return std::nextafter(z, -HUGE_VAL); };
  struct Case {
    HeightSpan model;
    bool stands;
  };
  const Case cases[] = {
      {{0, 20}, true},           {{-1e-6, 20}, true},  // placed, and with rounding noise
      {{foot, 20}, true},        {{foot, platformRow}, true},
      {{below(foot), 20}, false}, {{foot, below(platformRow)}, false},
      {{-5, 10}, false},         {{-30, -10}, false},
  };
  for (const Case& c : cases) {
    RasterGeometry g;
    const Status status = PlanRaster(*s, c.model, s->Resolution, s->WireDia, {}, g);
    EXPECT_EQ(bool(status), c.stands) << c.model.Lowest << " to " << c.model.Highest;
    if (c.stands) continue;
    EXPECT_NE(status.message().find("must stand on the platform"), std::string::npos);
    EXPECT_EQ(g.RasterMaxJ, 0);  // left as it was
  }
}

}  // namespace
}  // namespace vantora
