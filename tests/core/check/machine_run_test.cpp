#include "core/check/machine_run.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantora {
namespace {

// X and Y: 2000 mm/min (33.33 mm/s), 100 mm/s²; C: 3600 deg/min (60 deg/s), 360 deg/s².
MachineProfile Machine() {
  MachineProfile m;
  m.Name = "test";
  m.X = {-100.0, 100.0, 2000, 100};
  m.Y = {-10.0, 200.0, 2000, 100};
  m.C = {-360.0, 360.0, 3600, 360};
  return m;
}

NcMotion Feed(int line, double x, double y, double c, double f) { return {x, y, c, line, false, f}; }

// Each line's time worked out by hand, every move from rest to rest. A move of progress
// 0..1 cruising at v and accelerating at a (both per second) takes 1/v + v/a, or 2/sqrt(a)
// when v² >= a; v is the feed over the move's length, capped by each axis's rate over its
// distance, and a the least of each axis's acceleration over its distance.
TEST(MachineSeconds, RunsEveryMoveAsTheMachineDoes) {
  const struct {
    NcMotion to;
    double seconds, plainSeconds;  // on Machine(); on plain: the length at the feed
  } cases[] = {
      // X 50 at 10 mm/s: v 0.2, a 100/50 = 2; 5 + 0.1.
      {Feed(3, 50, 0, 0, 600), 5.1, 5.0},
      // X 30 Y 40 (50 mm) at 10 mm/s: v 0.2, a min(100/30, 100/40) = 2.5; 5 + 0.08.
      {Feed(4, 80, 40, 0, 600), 5.08, 5.0},
      // The table alone, 90 degrees at 30 deg/s: v 1/3, a 360/90 = 4; 3 + 1/12.
      {Feed(5, 80, 40, 90, 1800), 3.0833, 3.0},
      // Rapid X 100 Y 10: v min(33.33/100, 33.33/10) = 1/3, a min(1, 10) = 1; 3 + 1/3
      // (on plain a triangle: 2/sqrt(1e6/100)).
      {{-20, 50, 90, 6, true, 0}, 3.3333, 0.02},
      // X 100 asked at 100 mm/s, capped at 33.33: v 1/3, a 1; 3 + 1/3 (uncapped: 2 s).
      {Feed(7, 80, 50, 90, 6000), 3.3333, 1.0},
      // X 0.5 at 10 mm/s: v 20, a 200, v² >= a, a triangle: 2/sqrt(200).
      {Feed(8, 80.5, 50, 90, 600), 0.1414, 0.05},
      // Inverse time F2, X 20: 30 s asked, v 1/30, a 5; 30 + 1/150.
      {{100.5, 50, 90, 9, false, 2, true}, 30.0067, 30.0},
  };
  NcMotionList program{{Feed(2, 0, 0, 0, 600)}, 600, 3};
  double seconds = 3, plainSeconds = 3;  // the dwell
  for (const auto& c : cases) {
    const NcMotionList move{{program.Motions.back(), c.to}, 600, 0};
    const double plain = MachineSeconds(move, MachineProfile{});
    EXPECT_NEAR(MachineSeconds(move, Machine()), c.seconds, 0.02 * c.seconds) << c.to.Line;
    EXPECT_NEAR(plain, c.plainSeconds, std::max(0.02 * c.plainSeconds, 0.01)) << c.to.Line;
    program.Motions.push_back(c.to);
    seconds += c.seconds;
    plainSeconds += c.plainSeconds;
  }
  EXPECT_NEAR(MachineSeconds(program, Machine()), seconds, 0.02 * seconds);
  EXPECT_NEAR(MachineSeconds(program, MachineProfile{}), plainSeconds, 0.02 * plainSeconds);
}

TEST(LinesBeyondTravel, NamesEveryAxisBeyondItsTravel) {
  const NcMotionList program{{Feed(2, 0, 0, 0, 300), Feed(3, 100, 200, -360, 300),
                              Feed(4, 100.001, 0, 0, 300), Feed(5, -150, -20, 0, 300),
                              Feed(6, -150, 10, 0, 300), Feed(7, 0, 0, 360.5, 300)},
                             300, 0};
  // Line 6 moves Y alone, X standing where line 5 took it.
  const std::vector<OutOfTravel> expected{
      {4, 'X', 100.001}, {5, 'X', -150}, {5, 'Y', -20}, {7, 'C', 360.5}};
  EXPECT_EQ(LinesBeyondTravel(program, Machine()), expected);
  // Within the travel to its ends, and anywhere without one.
  const NcMotionList inside{{program.Motions[0], program.Motions[1]}, 300, 0};
  EXPECT_TRUE(LinesBeyondTravel(inside, Machine()).empty());
  EXPECT_TRUE(LinesBeyondTravel(program, MachineProfile{}).empty());
}

}  // namespace
}  // namespace vantora
