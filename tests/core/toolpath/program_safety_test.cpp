// Programs keep the wire off the part: whole sweeps on shapes that used to be cut
// into, replayed by the program check.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/check/program_check.h"
#include "scripted_host.h"
#include "core/app/tool_path_commands.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using Shape = std::function<void(FacetTable&)>;
constexpr auto Box = testing::AddBox;
using testing::ForEachVertex;

// Turns every facet by `degrees` about z, then tilts it by `tiltDegrees` about x.
void Turn(FacetTable& t, double degrees, double tiltDegrees = 0) {
  const double a = degrees * std::acos(-1.0) / 180, b = tiltDegrees * std::acos(-1.0) / 180;
  ForEachVertex(t, [&](Vec3& v) {
    const double x = v[0], y = v[1], z = v[2];
    const double x1 = std::cos(a) * x - std::sin(a) * y, y1 = std::sin(a) * x + std::cos(a) * y;
    v = {float(x1), float(std::cos(b) * y1 - std::sin(b) * z),
         float(std::sin(b) * y1 + std::cos(b) * z)};
  });
}

// Raises the facets so the lowest stands on the platform, as the import places them.
void StandOnPlatform(FacetTable& t) {
  float low = HUGE_VALF;
  ForEachVertex(t, [&](Vec3& v) { low = std::min(low, v[2]); });
  ForEachVertex(t, [&](Vec3& v) { v[2] -= low; });
}

struct Sweep {
  float from, to, step;
};

using SectionLook = std::function<void(const std::vector<PathPoint>&)>;

// The check's report of the program a sweep writes for the shape with the preset range,
// smoothed within `tolerance`; `look` sees each section's path.
ProgramReport SweepAndCheck(const Shape& shape, Sweep sweep, float tolerance = 0,
                            ToolPathSetUp setUp = {}, const SectionLook& look = {}) {
  testing::ToolPathModel m;
  shape(*m.table);
  StandOnPlatform(*m.table);
  testing::FitBounds(*m.store, *m.table);
  Session session;
  testing::ScriptedHost host;
  EXPECT_TRUE(SetUpToolPath(*m.store, session, *m.table, host, setUp));
  m.store->PathTolerance = tolerance;
  NcProgram program;
  ProgramReport report;
  RunOptions options{{}, &report};
  if (look) options.onSection = [&](float) { look(m.store->ToolPath); };
  const Status run = RunToolPath(*m.store, session, *m.table, host,
                                 {sweep.from, sweep.step, sweep.to}, program, options);
  EXPECT_TRUE(run) << run.message();
  EXPECT_GT(report.MotionLines, 0);
  return report;
}

TEST(ProgramSafety, ShapesThatWereCutIntoStayWhole) {
  const struct {
    const char* name;
    Shape shape;
    Sweep sweep;
  } cases[] = {
      {"cube", [](FacetTable& t) { Box(t, 0, 20, 0, 20, 0, 20); }, {0, 360, 5}},
      {"cube by 15", [](FacetTable& t) { Box(t, 0, 20, 0, 20, 0, 20); }, {0, 180, 15}},
      {"cube turned 45", [](FacetTable& t) { Box(t, -10, 10, -10, 10, 0, 20), Turn(t, 45); },
       {0, 180, 15}},
      {"L-shaped prism",
       [](FacetTable& t) { Box(t, -10, 10, -10, -2, 0, 20), Box(t, -10, -2, -10, 10, 0, 20); },
       {0, 360, 30}},
      {"two boxes",
       [](FacetTable& t) { Box(t, -25, -15, -5, 5, 0, 10), Box(t, 15, 25, -5, 5, 0, 15); },
       {0, 180, 45}},
      {"frame with a hole seen side-on",
       [](FacetTable& t) {
         Box(t, -15, -5, -3, 3, 0, 30), Box(t, 5, 15, -3, 3, 0, 30);
         Box(t, -5, 5, -3, 3, 0, 8), Box(t, -5, 5, -3, 3, 22, 30);
       },
       {0, 90, 15}},
      {"thin fin",
       [](FacetTable& t) { Box(t, -10, 10, -10, 10, 0, 10), Box(t, -0.05f, 0.05f, -8, 8, 10, 25); },
       {0, 180, 15}},
      {"off the axis", [](FacetTable& t) { Box(t, 30, 40, 5, 15, 0, 10); }, {0, 360, 20}},
  };
  for (const auto& c : cases) {
    const ProgramReport r = SweepAndCheck(c.shape, c.sweep);
    EXPECT_TRUE(r.Clean()) << c.name << ": " << ReportText(r);
  }
}

// Parts a few millimetres high or wide, and wires far thinner than the cells: each
// section's path climbs one side, crosses over the top and comes back down on the other
// side to where it started, clear of the part.
TEST(ProgramSafety, SmallPartsAreCutAllRound) {
  const struct {
    const char* name;
    float width, height;
    ToolPathSetUp setUp;
  } cases[] = {
      {"2 mm cube", 2, 2, {}},
      {"4 mm cube, 0.3 mm wire", 4, 4, {0.2f, 0.3f}},
      {"plate 10 x 10 x 2 mm", 10, 2, {}},
      {"2 mm cube, 0.5 mm cells, 0.2 mm wire", 2, 2, {0.5f, 0.2f}},
      {"4 mm cube, 1 mm cells, 0.1 mm wire", 4, 4, {1.0f, 0.1f}},
  };
  for (const auto& c : cases) {
    const auto allRound = [&](const std::vector<PathPoint>& path) {
      ASSERT_FALSE(path.empty()) << c.name;
      float top = path.front().Y, left = path.front().X, right = path.front().X;
      for (const PathPoint& p : path) {
        top = std::max(top, p.Y), left = std::min(left, p.X), right = std::max(right, p.X);
      }
      EXPECT_LE(path.back().Y, path.front().Y) << c.name;
      EXPECT_GE(top - path.front().Y, c.height) << c.name;
      EXPECT_GT(right - left, c.width) << c.name;
    };
    const float half = c.width / 2;
    const ProgramReport r =
        SweepAndCheck([&](FacetTable& t) { Box(t, -half, half, -half, half, 0, c.height); },
                      {0, 180, 45}, 0, c.setUp, allRound);
    EXPECT_TRUE(r.Clean()) << c.name << ": " << ReportText(r);
  }
}

// Generated solids: boxes and prisms of random size, turned, tilted and off the axis,
// swept at random steps, as walked and smoothed within one resolution.
TEST(ProgramSafety, GeneratedSolidsStayWhole) {
  const float setUpResolution = ToolPathSetUp{}.Resolution;
  std::mt19937 random(2026);
  std::uniform_real_distribution<float> size(3, 25), offset(-15, 15), turn(0, 90), tilt(-20, 20);
  std::uniform_int_distribution<int> step(1, 9);
  for (int k = 0; k < 24; ++k) {
    const float w = size(random), d = size(random), h = size(random), x = offset(random),
                y = offset(random);
    const double z = turn(random), t = k % 3 == 0 ? tilt(random) : 0;
    const bool prism = k % 2 == 1;
    const Shape shape = [=](FacetTable& table) {
      Box(table, x, x + w, y, y + d, 0, h);
      if (prism) Box(table, x, x + w / 3, y, y + d / 2, h, h * 1.5f);  // a step on top
      Turn(table, z, t);
    };
    const Sweep sweep{0, 360, 5.0f * float(step(random))};
    for (float tolerance : {0.0f, setUpResolution}) {
      const ProgramReport r = SweepAndCheck(shape, sweep, tolerance);
      EXPECT_TRUE(r.Clean()) << "solid " << k << " step " << sweep.step << " tolerance "
                             << tolerance << ": " << ReportText(r);
    }
  }
}

}  // namespace
}  // namespace vantora
