#include "core/model/model_transform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

namespace vantora {
namespace {

struct View {
  void Add(Vec3 a, Vec3 b, Vec3 c) { table->AddFacet(a, b, c, 1.0f); }
  std::optional<TurnedDimensions> Turn(char axis, float degrees, bool mirrorZ = false) {
    ModelTurnRequest turn;
    turn.MirrorZ = mirrorZ;
    turn.RotateX = axis == 'X';
    turn.RotateY = axis == 'Y';
    turn.RotateZ = axis == 'Z';
    turn.Angle = degrees;
    return ApplyModelTransform(turn, *store, *table);
  }
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(8);
};

// A quarter turn about each axis, with the factor 0.01745 for degrees: 90 degrees are
// 1.5705 radians, a little short of a right angle. The bounds of the two turned axes
// are grown from zero (the origin is in the box), the third axis's stay as they were (0).
TEST(ApplyModelTransform, QuarterTurnAboutEachAxis) {
  const double c = std::cos(1.5705), s = std::sin(1.5705);
  const struct {
    char axis;
    Vec3 from;
    std::array<double, 3> to;
  } cases[] = {
      {'X', {0, 4, 0}, {0, 4 * c, 4 * s}},
      {'Y', {0, 3, 5}, {5 * s, 3, 5 * c}},  // z' = c z - s x, x' = s z + c x
      {'Z', {1, 0, 7}, {c, s, 7}},
  };
  for (const auto& t : cases) {
    View v;
    v.Add(t.from, {0, 0, 0}, {0, 0, 0});
    const auto dims = v.Turn(t.axis, 90);
    ASSERT_TRUE(dims) << t.axis;
    const TDataModule1& b = *v.store;
    const double lows[] = {b.MinX, b.MinY, b.MinZ}, highs[] = {b.MaxX, b.MaxY, b.MaxZ};
    // The dimensions shown are those of the new bounds; Z only after a turn that moves it.
    EXPECT_EQ(std::tuple(dims->X, dims->Y),
              std::tuple(float(b.MaxX - b.MinX), float(b.MaxY - b.MinY)));
    EXPECT_EQ(dims->Z.has_value(), t.axis != 'Z') << t.axis;
    for (int k = 0; k < 3; ++k) {
      const double to = t.to[std::size_t(k)];
      const bool turned = k != t.axis - 'X';
      EXPECT_NEAR(v.table->Facets[0].V1[k], to, 1e-5) << t.axis << k;
      EXPECT_NEAR(lows[k], turned ? std::min(0.0, to) : 0, 1e-5) << t.axis << k;
      EXPECT_NEAR(highs[k], turned ? std::max(0.0, to) : 0, 1e-5) << t.axis << k;
    }
  }
}

TEST(ApplyModelTransform, MirrorOnlyTheNewFacetsEvenWithAngleZero) {
  View v;
  v.Add({1, 1, 2}, {1, 1, 2}, {1, 1, 2});
  v.Add({1, 1, 3}, {1, 1, 0}, {1, 1, 3});
  v.table->FirstNewFacet = 1;
  v.Turn('Z', 0, true);
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
