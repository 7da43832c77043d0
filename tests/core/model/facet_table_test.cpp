#include "core/model/facet_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantora {
namespace {

TEST(ComputeNormal, UnitNormalOfTheWindingOrZero) {
  FacetTable table(1);
  const Vec3 v1{0, 0, 0}, v2{1, 0, 0}, v3{0, 1, 0}, p{3, 4, 5};
  const std::pair<std::array<Vec3, 3>, Vec3> cases[] = {
      {{v3, v2, v1}, {0, 0, 1}}, {{v1, v2, v3}, {0, 0, -1}},
      {{p, p, p}, {0, 0, 0}},    {{p, p, Vec3{1, 1, 1}}, {0, 0, 0}}};
  for (const auto& [corners, normal] : cases) {
    table.ComputeNormal(corners[0], corners[1], corners[2]);
    EXPECT_EQ(table.FacetNormal, normal);
  }
  const Vec3 n = TriangleNormal({0, 0, 0}, {3, 0, 0}, {0, 4, 1});
  EXPECT_NEAR(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2], 1.0, 1e-6);
}

TEST(AddFacet, DividesByTheViewDistanceAndStopsWhenFull) {
  FacetTable table(2);
  EXPECT_TRUE(table.AddFacet({4, 6, 8}, {0, 0, 0}, {2, 2, 2}, 2.0f));
  EXPECT_EQ(table.Facets[0].V1, (Vec3{2, 3, 4}));
  EXPECT_EQ(table.Facets[0].V3, (Vec3{1, 1, 1}));
  EXPECT_TRUE(table.AddFacet({1, 1, 1}, {1, 1, 1}, {1, 1, 1}, 1.0f));
  EXPECT_FALSE(table.AddFacet({1, 1, 1}, {1, 1, 1}, {1, 1, 1}, 1.0f));
  EXPECT_EQ(table.FacetCount, 2);
}

TEST(FitViewDistance, LargestOfFootprintAndUpperZ) {
  FacetTable table(1);
  auto s = std::make_unique<TDataModule1>();
  s->MinX = 0, s->MaxX = 20, s->MinY = 0, s->MaxY = 30, s->MinZ = 100, s->MaxZ = 110;
  table.FitViewDistance(*s);
  EXPECT_EQ(s->ModelSize, 110.0f);  // the upper bound, not the extent of 10
  EXPECT_EQ(s->ViewDistance, float(0.38 * 110.0f));
  s->MaxZ = 5;
  table.FitViewDistance(*s);
  EXPECT_EQ(s->ModelSize, 30.0f);
}

}  // namespace
}  // namespace vantora
