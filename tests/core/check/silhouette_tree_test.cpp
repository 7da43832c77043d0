#include "core/check/silhouette_tree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/check/plane_geometry.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

// Every facet's shadow, one by one: what the tree must agree with.
double BruteDistance(const FacetTable& t, const SilhouetteTree::Turn& turn, PlanePoint a,
                     PlanePoint b) {
  double best = HUGE_VAL;
  for (int k = 0; k < t.FacetCount; ++k) {
    const Facet& f = t.Facets[std::size_t(k)];
    std::array<PlanePoint, 3> shadow;
    const Vec3* corners[3] = {&f.V1, &f.V2, &f.V3};
    for (int c = 0; c < 3; ++c) {
      const Vec3& v = *corners[c];
      shadow[std::size_t(c)] = {turn.cos * v[0] - turn.sin * v[1], double(v[2])};
    }
    best = std::min(best, plane::SegmentTriangleDistance(a, b, shadow));
  }
  return best;
}

TEST(SilhouetteTree, DistancesAgreeWithEveryFacetOneByOne) {
  auto table = std::make_unique<FacetTable>(1 << 14);
  testing::AddRandomFacets(*table, 2000, 20, 15, 2.0f, 11);
  const SilhouetteTree tree(*table);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> across(-30, 30), up(-5, 25), angle(0, 7);
  for (int k = 0; k < 300; ++k) {
    const auto turn = SilhouetteTree::TurnOf(angle(random));
    const PlanePoint a{across(random), up(random)};
    const PlanePoint b = k % 2 ? a : PlanePoint{a.x + across(random) / 10, a.z + up(random) / 10};
    const double expected = BruteDistance(*table, turn, a, b);
    const double cap = 4.0;
    EXPECT_NEAR(tree.DistanceToSegment(turn, a, b, cap), std::min(expected, cap), 1e-9) << k;
    if (k % 2) {
      EXPECT_NEAR(tree.DistanceToPoint(turn, a, cap), std::min(expected, cap), 1e-9);
    }
  }
}

// Inside a closed box seen side-on, the depth is the distance to the nearest side.
TEST(SilhouetteTree, DepthInsideAClosedBoxIsTheDistanceToItsOutline) {
  auto table = std::make_unique<FacetTable>(64);
  testing::AddBox(*table, -10, 10, -5, 5, 0, 20);
  const SilhouetteTree tree(*table);
  const auto straight = SilhouetteTree::TurnOf(0);
  EXPECT_NEAR(tree.DepthInside(straight, {7, 10}), 3, 1e-6);
  EXPECT_NEAR(tree.DepthInside(straight, {0, 1}), 1, 1e-6);
  EXPECT_EQ(tree.DepthInside(straight, {11, 10}), 0);
  // Turned a quarter, the box is 10 wide.
  EXPECT_NEAR(tree.DepthInside(SilhouetteTree::TurnOf(std::acos(0.0)), {3, 10}), 2, 1e-6);
  EXPECT_NEAR(tree.Reach(), std::hypot(10, 5), 1e-6);
}

}  // namespace
}  // namespace vantora
