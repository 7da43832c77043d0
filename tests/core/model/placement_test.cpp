#include "core/model/placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vantora {
namespace {

struct Model {
  // One facet spanning the box [lo, hi]; the store's bounds set to it.
  Model(Vec3 lo, Vec3 hi) {
    table->AddFacet(lo, {hi[0], lo[1], hi[2]}, hi, 1.0f);
    s->MinX = lo[0], s->MaxX = hi[0], s->MinY = lo[1], s->MaxY = hi[1];
    s->MinZ = lo[2], s->MaxZ = hi[2];
  }
  std::unique_ptr<TDataModule1> s = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(4);
};

TEST(MoveToPlatform, CentresAndSetsDownWithTheWireMargin) {
  Model m({10, -4, 2}, {30, 6, 12});
  m.s->WireDia = 1.5f;
  const ModelDimensions dims = MoveToPlatform(*m.s, *m.table);
  RecentreModel(*m.s, *m.table);
  EXPECT_EQ(dims.X, 20.0f);
  EXPECT_EQ(dims.Y, 10.0f);
  EXPECT_EQ(dims.Z, 10.0f);
  EXPECT_EQ(m.s->ModelDiameter, std::sqrt(23.0f * 23.0f + 13.0f * 13.0f));
  EXPECT_NEAR(m.s->ModelDiameter, 26.42, 0.005);
  EXPECT_EQ(m.s->ModelSize, m.s->ModelDiameter);
  EXPECT_NEAR(m.s->ViewDistance, 10.04, 0.005);
  EXPECT_EQ(m.s->MinX, -10);
  EXPECT_EQ(m.s->MaxX, 10);
  EXPECT_EQ(m.s->MinY, -5);
  EXPECT_EQ(m.s->MaxY, 5);
  EXPECT_EQ(m.s->MinZ, 0);
  EXPECT_EQ(m.s->MaxZ, 10);
  EXPECT_EQ(m.table->Facets[0].V1, (Vec3{-10, -5, 0}));
}

TEST(MoveToPlatform, TallModelSizeIsItsHeight) {
  Model m({0, 0, 0}, {2, 2, 50});
  MoveToPlatform(*m.s, *m.table);
  EXPECT_EQ(m.s->ModelSize, 50.0f);
}

TEST(RecentreModel, BoxTogetherWithTheOriginIsCentred) {
  Model m({10, 0, 5}, {20, 0, 25});
  RecentreModel(*m.s, *m.table);
  EXPECT_EQ(m.s->MinX, 0);   // X 10..20 with the origin: box 0..20 centred at 10
  EXPECT_EQ(m.s->MaxX, 10);
  EXPECT_EQ(m.s->MinZ, 0);   // above the platform: not lowered
  EXPECT_EQ(m.s->MaxZ, 25);
}

TEST(RecentreModel, LiftsAModelReachingBelowThePlatform) {
  Model m({-5, -5, -15}, {5, 5, 15});
  RecentreModel(*m.s, *m.table);
  EXPECT_EQ(m.s->MinZ, 0);
  EXPECT_EQ(m.s->MaxZ, 30);
  EXPECT_EQ(m.table->Facets[0].V1[2], 0.0f);
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
