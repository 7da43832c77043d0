#include "core/model/placement.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace vantora {
namespace {

struct Model {
  // One facet spanning the box [lo, hi]; the store's bounds set to it.
  Model(Vec3 lo, Vec3 hi) {
    table->AddFacet(lo, {hi[0], lo[1], hi[2]}, hi, 1.0f);
    s->MinX = lo[0], s->MaxX = hi[0], s->MinY = lo[1], s->MaxY = hi[1];
    s->MinZ = lo[2], s->MaxZ = hi[2];
  }
  std::array<double, 6> Bounds() const { return {s->MinX, s->MaxX, s->MinY, s->MaxY, s->MinZ, s->MaxZ}; }
  std::unique_ptr<TDataModule1> s = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(4);
};

TEST(MoveToPlatform, CentresAndSetsDownWithTheWireMargin) {
  Model m({10, -4, 2}, {30, 6, 12});
  m.s->WireDia = 1.5f;
  const ModelDimensions dims = MoveToPlatform(*m.s, *m.table);
  RecentreModel(*m.s, *m.table);
  EXPECT_EQ(std::tuple(dims.X, dims.Y, dims.Z), std::tuple(20.0f, 10.0f, 10.0f));
  EXPECT_NEAR(m.s->ModelDiameter, 26.42, 0.005);  // of 23 x 13: a wire on each side
  EXPECT_EQ(m.s->ModelSize, m.s->ModelDiameter);
  EXPECT_EQ(m.Bounds(), (std::array<double, 6>{-10, 10, -5, 5, 0, 10}));
  EXPECT_EQ(m.table->Facets[0].V1, (Vec3{-10, -5, 0}));

  Model tall({0, 0, 0}, {2, 2, 50});
  MoveToPlatform(*tall.s, *tall.table);
  EXPECT_EQ(tall.s->ModelSize, 50.0f);  // its height, larger than its diameter
}

// The box of the facets together with the origin is centred; only a model reaching
// below the platform is lifted.
TEST(RecentreModel, CentresTheBoxWithTheOriginAndLiftsOnlyBelowThePlatform) {
  const struct {
    Vec3 lo, hi;
    std::array<double, 6> bounds;
  } cases[] = {
      {{10, 0, 5}, {20, 0, 25}, {0, 10, 0, 0, 0, 25}},  // X 0..20 with the origin
      {{-5, -5, -15}, {5, 5, 15}, {-5, 5, -5, 5, 0, 30}},
  };
  for (const auto& c : cases) {
    Model m(c.lo, c.hi);
    RecentreModel(*m.s, *m.table);
    EXPECT_EQ(m.Bounds(), c.bounds);
  }
}

TEST(RecentreModel, MovesOnlyTheFacetsFromFirstNewFacet) {
  Model m({0, 0, 0}, {1, 1, 1});
  m.table->AddFacet({10, 10, -2}, {12, 10, -2}, {12, 12, 0}, 1.0f);
  m.table->FirstNewFacet = 1;
  RecentreModel(*m.s, *m.table);
  EXPECT_EQ(m.table->Facets[0].V3, (Vec3{1, 1, 1}));  // untouched
  EXPECT_EQ(m.table->Facets[1].V1, (Vec3{4, 4, 0}));  // box 0..12 with the origin
}

}  // namespace
}  // namespace vantora
