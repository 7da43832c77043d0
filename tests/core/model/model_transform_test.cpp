#include "core/model/model_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vantora {
namespace {

struct View {
  View() { store->ImportAngle = 0; }
  void Add(Vec3 a, Vec3 b, Vec3 c) { table->AddFacet(a, b, c, 1.0f); }
  std::optional<TurnedDimensions> Turn(char axis, float degrees) {
    store->ImportRotateX = axis == 'X';
    store->ImportRotateY = axis == 'Y';
    store->ImportRotateZ = axis == 'Z';
    store->ImportAngle = degrees;
    return ApplyModelTransform(*store, *table);
  }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(8);
};

TEST(ApplyModelTransform, TurnAboutZUsesTheFactor001745) {
  View v;
  v.Add({1, 0, 7}, {0, 0, 0}, {0, 0, 0});
  v.Turn('Z', 90);
  const Vec3 p = v.table->Facets[0].V1;
  EXPECT_NEAR(p[0], std::cos(1.5705), 1e-7);  // about 0.0003, not 0
  EXPECT_GT(p[0], 0.0002f);
  EXPECT_NEAR(p[1], 1.0, 1e-6);
  EXPECT_EQ(p[2], 7.0f);
}

TEST(ApplyModelTransform, FullTurnFallsShort) {
  View v;
  v.Add({100, 0, 0}, {0, 0, 0}, {0, 0, 0});
  v.Turn('Z', 360);
  const Vec3 p = v.table->Facets[0].V1;
  const double degrees = std::atan2(p[1], p[0]) * 180 / M_PI;
  EXPECT_NEAR(degrees, -0.068, 0.001);
}

TEST(ApplyModelTransform, BoundsOfTheTurnedAxesStartFromZero) {
  View v;
  v.Add({10, 20, 30}, {12, 22, 35}, {11, 21, 31});
  v.store->MaxZ = 35;
  v.store->MinZ = 30;
  const auto dims = v.Turn('Z', 0);
  EXPECT_EQ(v.store->MinX, 0);  // the origin is in the box
  EXPECT_EQ(v.store->MaxX, 12);
  EXPECT_EQ(v.store->MinY, 0);
  EXPECT_EQ(v.store->MaxZ, 35);  // untouched axis
  ASSERT_TRUE(dims);
  EXPECT_EQ(dims->X, 12);
  EXPECT_EQ(dims->Y, 22);
  EXPECT_FALSE(dims->Z);
  EXPECT_EQ(dims->Diameter, float(std::sqrt(12.0 * 12 + 22.0 * 22)));
}

TEST(ApplyModelTransform, TurnAboutYSpansX) {
  View v;
  v.Add({0, 3, 5}, {0, 3, -5}, {0, 1, 0});
  const auto dims = v.Turn('Y', 90);
  EXPECT_NEAR(v.store->MinX, -5, 1e-3);
  EXPECT_NEAR(v.store->MaxX, 5, 1e-3);
  ASSERT_TRUE(dims && dims->Z);
  EXPECT_NEAR(dims->X, 10, 1e-3);
}

TEST(ApplyModelTransform, TurnAboutXMovesYIntoZ) {
  View v;
  v.Add({0, 4, 0}, {0, 0, 0}, {0, 0, 0});
  v.Turn('X', 90);
  EXPECT_NEAR(v.table->Facets[0].V1[2], 4, 1e-3);
  EXPECT_NEAR(v.store->MaxZ, 4, 1e-3);
}

TEST(ApplyModelTransform, MirrorOnlyTheNewFacetsEvenWithAngleZero) {
  View v;
  v.Add({1, 1, 2}, {1, 1, 2}, {1, 1, 2});
  v.Add({1, 1, 3}, {1, 1, 0}, {1, 1, 3});
  v.table->FirstNewFacet = 1;
  v.store->ImportMirrorZ = 1;
  v.Turn('Z', 0);
  EXPECT_EQ(v.table->Facets[0].V1[2], 2.0f);
  EXPECT_EQ(v.table->Facets[1].V1[2], -3.0f);
  EXPECT_FALSE(std::signbit(v.table->Facets[1].V2[2]));  // 0 - 0 is +0
}

TEST(ApplyModelTransform, NoFlagsNoChange) {
  View v;
  v.Add({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
  v.store->MaxX = 99;
  EXPECT_FALSE(v.Turn(' ', 45));
  EXPECT_EQ(v.store->MaxX, 99);
  EXPECT_EQ(v.table->Facets[0].V3, (Vec3{7, 8, 9}));
}

}  // namespace
}  // namespace vantora
