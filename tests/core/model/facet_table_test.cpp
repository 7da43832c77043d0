#include "core/model/facet_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantora {
namespace {

// Its direction and the zero normal of a degenerate facet show in the STL writer's
// output; its length only here.
TEST(TriangleNormal, IsUnitLength) {
  const Vec3 n = TriangleNormal({0, 0, 0}, {3, 0, 0}, {0, 4, 1});
  EXPECT_NEAR(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2], 1.0, 1e-6);
}

TEST(FitViewDistance, LargestOfFootprintAndUpperZ) {
  FacetTable table(1);
  auto s = std::make_unique<TDataModule1>();
  s->MinX = 0, s->MaxX = 20, s->MinY = 0, s->MaxY = 30, s->MinZ = 100, s->MaxZ = 110;
  table.FitViewDistance(*s);
  EXPECT_EQ(s->ModelSize, 110.0f);  // the upper bound, not the extent of 10
  s->MaxZ = 5;
  table.FitViewDistance(*s);
  EXPECT_EQ(s->ModelSize, 30.0f);
}

}  // namespace
}  // namespace vantora
