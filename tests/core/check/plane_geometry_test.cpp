#include "core/check/plane_geometry.h"

#include <gtest/gtest.h>

namespace vantora {
namespace {

// Distances from a convex polygon, also one whose bottom edge rounding has split into two
// a hair from one line, where a point at its corner lies beyond the far half only.
TEST(PointPolygonDistance, IsTheDistanceToTheNearestEdge) {
  const plane::ConvexPolygon square{{-8.25, -4}, {8.25, -4}, {8.25, 4}, {-8.25, 4}};
  const plane::ConvexPolygon split{
      {-8.25, -4}, {-2.75, -3.9999999}, {8.25, -4}, {8.25, 4}, {-8.25, 4}};
  const struct {
    const plane::ConvexPolygon& polygon;
    PlanePoint p;
    double distance;
  } cases[] = {{square, {0, 0}, 0},      {square, {0, -5}, 1},         {square, {11.25, 8}, 5},
               {square, {-8.25, -4}, 0}, {split, {-8.25, -4}, 0},       {split, {-8.25, -5}, 1}};
  for (const auto& c : cases) {
    EXPECT_NEAR(plane::PointPolygonDistance(c.p, c.polygon), c.distance, 1e-6)
        << c.p.x << "," << c.p.z;
  }
}

}  // namespace
}  // namespace vantora
