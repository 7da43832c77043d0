#include "core/toolpath/path_smoothing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/check/plane_geometry.h"

namespace vantora {
namespace {

using Path = std::vector<PathPoint>;
constexpr float kCell = 0.2f;

// The farthest any point of `from` (its edges sampled finely) lies from the polyline `to`.
double OneWayDistance(const Path& from, const Path& to) {
  double worst = 0;
  for (std::size_t k = 0; k + 1 < from.size(); ++k) {
    for (int s = 0; s <= 20; ++s) {
      const float t = float(s) / 20;
      const PlanePoint p{from[k].X + t * (from[k + 1].X - from[k].X),
                         from[k].Y + t * (from[k + 1].Y - from[k].Y)};
      double nearest = HUGE_VAL;
      for (std::size_t j = 0; j + 1 < to.size(); ++j) {
        nearest = std::min(nearest, plane::PointSegmentDistance(p, {to[j].X, to[j].Y},
                                                                {to[j + 1].X, to[j + 1].Y}));
      }
      worst = std::max(worst, nearest);
    }
  }
  return worst;
}

// The staircase a walk leaves along the cells (i, j(i)), straight runs reduced to their
// ends as the walk reduces them.
Path Staircase(int cells, double (*height)(int)) {
  Path path;
  int previous = 0;
  for (int i = 0; i <= cells; ++i) {
    const int j = int(std::lround(height(i)));
    if (i > 0 && j != previous) path.push_back({float(i - 1) * kCell, float(j) * kCell});
    path.push_back({float(i) * kCell, float(j) * kCell});
    previous = j;
  }
  return path;
}

Path Smoothed(Path path, double tolerance) {
  SmoothPath(path, tolerance, [](PathPoint, PathPoint) { return true; });
  return path;
}

TEST(SmoothPath, StraightStaircasesBecomeOneMove) {
  for (double (*height)(int) : {+[](int i) { return double(i); }, +[](int i) { return i / 2.0; },
                                +[](int i) { return i / 3.0 + 0.2; }}) {
    const Path stairs = Staircase(60, height);
    const Path smooth = Smoothed(stairs, kCell);
    ASSERT_EQ(smooth.size(), 2u);
    EXPECT_EQ(smooth.front().X, stairs.front().X);
    EXPECT_EQ(smooth.back().Y, stairs.back().Y);
  }
}

// A quarter circle of radius 20 mm.
Path QuarterCircle() {
  return Staircase(100, [](int i) {
    const double x = i * 0.2;
    return std::sqrt(std::max(0.0, 400 - x * x)) / 0.2;
  });
}

bool Same(PathPoint a, PathPoint b) { return a.X == b.X && a.Y == b.Y; }

// A polygon within the tolerance both ways.
TEST(SmoothPath, ACircleBecomesAPolygonWithinTheTolerance) {
  const Path stairs = QuarterCircle();
  for (double tolerance : {0.1, 0.2, 0.5}) {
    const Path smooth = Smoothed(stairs, tolerance);
    EXPECT_LT(smooth.size() * 2, stairs.size()) << tolerance;
    EXPECT_LE(OneWayDistance(stairs, smooth), tolerance + 1e-6) << tolerance;
    EXPECT_LE(OneWayDistance(smooth, stairs), tolerance + 1e-6) << tolerance;
  }
}

// Up a wall, across the top: the corner stays where it is.
TEST(SmoothPath, TheCornerOfAnLStaysExact) {
  const Path l{{0, 0}, {0, 5}, {0, 10}, {3, 10}, {6, 10}};
  const Path smooth = Smoothed(l, kCell);
  ASSERT_EQ(smooth.size(), 3u);
  EXPECT_EQ(smooth[1].X, 0);
  EXPECT_EQ(smooth[1].Y, 10);
}

// A move the model blocks is not taken: the path keeps to the staircase there.
TEST(SmoothPath, KeepsTheStaircaseWhereAShortcutIsRefused) {
  const Path stairs = Staircase(30, [](int i) { return i / 2.0; });
  Path path = stairs;
  SmoothPath(path, kCell, [](PathPoint a, PathPoint b) { return std::abs(b.X - a.X) < 1.01f; });
  EXPECT_GT(path.size(), 5u);
  EXPECT_LE(OneWayDistance(stairs, path), kCell + 1e-6);
  for (std::size_t k = 1; k + 1 < path.size(); ++k) EXPECT_LE(path[k].X - path[k - 1].X, 1.01f);
}

// Moves are refused from wherever an earlier move ended off the staircase, as a model
// beside that end would refuse them: the next staircase point is no way on from there
// either, so the path takes only accepted moves and the staircase's own.
TEST(SmoothPath, EveryMoveIsAcceptedOrOneOfTheStaircase) {
  const Path stairs = QuarterCircle();
  const auto staircaseIndex = [&](PathPoint p) {
    return std::find_if(stairs.begin(), stairs.end(), [p](PathPoint s) { return Same(s, p); }) -
           stairs.begin();
  };
  const auto fromTheStaircase = [&](PathPoint from, PathPoint) {
    return staircaseIndex(from) < std::ssize(stairs);
  };
  for (double tolerance : {0.2, 1.0}) {
    Path path = stairs;
    SmoothPath(path, tolerance, fromTheStaircase);
    EXPECT_LT(path.size(), stairs.size()) << tolerance;
    for (std::size_t k = 1; k < path.size(); ++k) {
      const auto from = staircaseIndex(path[k - 1]);
      const bool staircaseMove = from + 1 < std::ssize(stairs) && Same(stairs[from + 1], path[k]);
      EXPECT_TRUE(staircaseMove || fromTheStaircase(path[k - 1], path[k]))
          << "move " << k << " at tolerance " << tolerance;
    }
  }
}

}  // namespace
}  // namespace vantora
