// Programs keep the wire off the part: whole sweeps on shapes that used to be cut
// into, replayed on the machine and by the program check.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "core/app/tool_path_commands.h"
#include "core/check/program_check.h"
#include "machine_replay.h"
#include "scripted_host.h"
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

// A block over [x0, x1] x [y0, y1] up to `top`, its underside sloping from z0 at x0 to z1
// at x1.
void SlopedBlock(FacetTable& t, float x0, float x1, float y0, float y1, float z0, float z1,
                 float top) {
  const Vec3 low[4] = {{x0, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z0}};
  const Vec3 high[4] = {{x0, y0, top}, {x1, y0, top}, {x1, y1, top}, {x0, y1, top}};
  testing::AddQuad(t, low[0], low[1], low[2], low[3]);
  testing::AddQuad(t, high[0], high[3], high[2], high[1]);
  for (int k = 0; k < 4; ++k) {
    const int n = (k + 1) % 4;
    testing::AddQuad(t, low[k], high[k], high[n], low[n]);
  }
}

struct Sweep {
  float from, to, step;
};

using SectionLook = std::function<void(const std::vector<PathPoint>&)>;

struct SweepOptions {
  ToolPathSetUp setUp;
  std::optional<float> startHeight;  // the preset one when none
  float tolerance = 0;               // the smoothing tolerance
  SectionLook look;                  // sees each section's path
};

// A sweep of a shape with the preset range: the model as it stood when the sweep
// started, the offset of the program's Y from the model's z, the program's motion and
// the program check's report of it.
struct SweptShape {
  std::vector<testing::Triangle> model;
  double wireDia = 0, offsetZ = 0;
  NcMotionList motion;
  ProgramReport report;
};

// Sweeps the shape for the machine; a refused sweep fails the test, for every shape here
// must be cut.
SweptShape SweepShape(const Shape& shape, Sweep sweep, const SweepOptions& o = {},
                      const MachineProfile& machine = {}) {
  testing::ToolPathModel m;
  shape(*m.table);
  StandOnPlatform(*m.table);
  testing::FitBounds(*m.store, *m.table);
  Session session;
  session.Machine = machine;
  testing::ScriptedHost host;
  TDataModule1& store = *m.store;
  EXPECT_TRUE(SetUpToolPath(store, session, *m.table, host, o.setUp));
  if (o.startHeight) {
    EXPECT_TRUE(DefineStartPosition(store, *o.startHeight, store.BeginRange, store.EndRange));
  }
  store.PathTolerance = o.tolerance;
  SweptShape swept;
  swept.model = testing::TrianglesOf(*m.table);
  swept.wireDia = store.WireDia;
  swept.offsetZ = store.WireMarginCells * double(store.Resolution) + store.MinZ;
  NcProgram program;
  RunOptions options{{}, &swept.report};
  if (o.look) options.onSection = [&](float) { o.look(store.ToolPath); };
  const Status run = RunToolPath(store, session, *m.table, host,
                                 {sweep.from, sweep.step, sweep.to}, program, options);
  if (!run) {
    ADD_FAILURE() << "the sweep was refused: " << run.message();
    return swept;
  }
  EXPECT_TRUE(ReadNcMotion(program, session.Format, session.Machine, swept.motion));
  EXPECT_GT(swept.report.MotionLines, 0);
  return swept;
}

// The program keeps the wire off the model on the machine, replayed apart from the
// program check, and by the check.
void ExpectWholeOnMachine(const SweptShape& s) {
  const testing::MachineReach reach =
      testing::ReplayOnMachine(s.model, s.wireDia, s.offsetZ, s.motion);
  EXPECT_LE(reach.Depth, kReachTolerance);
  EXPECT_FALSE(reach.AxisInside) << "depth " << reach.Depth;
  EXPECT_TRUE(s.report.Clean()) << ReportText(s.report);
}

// Shapes that were cut into: fins and needles at cells far coarser than the wire, a cap
// wider than its stem, models beside the axis or overhanging, a sweep ten turns on.
struct HardShape {
  const char* name;
  Shape shape;
  Sweep sweep;
  ToolPathSetUp setUp = {};
  std::optional<float> startHeight = {};
};
const HardShape kHardShapes[] = {
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
    {"0.1 mm fin on a block",
     [](FacetTable& t) { Box(t, -10, 10, -10, 10, 0, 10), Box(t, -0.05f, 0.05f, -8, 8, 10, 25); },
     {0, 180, 15}},
    {"1 mm fin edge-on, 1 mm cells", [](FacetTable& t) { Box(t, -0.5f, 0.5f, -8, 8, 0, 15); },
     {0, 180, 15}, {1, 0.1f}},
    {"0.5 mm fin tilted 7 degrees, 0.5 mm cells",
     [](FacetTable& t) { Box(t, -0.25f, 0.25f, -8, 8, 0, 15), Turn(t, 0, 7); }, {0, 180, 15},
     {0.5f, 0.2f}},
    {"standing needle, 1 mm cells",
     [](FacetTable& t) { Box(t, -0.2f, 0.2f, -0.2f, 0.2f, 0, 20); }, {0, 180, 15}, {1, 0.1f}},
    {"needle lying far from the axis, 1 mm cells",
     [](FacetTable& t) { Box(t, 15, 35, -0.2f, 0.2f, 0, 0.6f); }, {0, 360, 30}, {1, 0.2f}},
    {"needle lying at the model's outer end, 1 mm cells",
     [](FacetTable& t) { Box(t, -3, 3, -3, 3, 0, 3), Box(t, 3, 35, -0.2f, 0.2f, 0, 0.4f); },
     {0, 360, 30}, {1, 0.2f}},
    {"cap on a stem, started under the cap",
     [](FacetTable& t) { Box(t, -2, 2, -2, 2, 0, 10), Box(t, -8, 8, -8, 8, 10, 13); },
     {0, 180, 15}, {}, 12.5f},
    {"beside the axis", [](FacetTable& t) { Box(t, 30, 40, 5, 15, 0, 10); }, {0, 360, 20}},
    {"overhang on a sloping underside beside a column, started under it",
     [](FacetTable& t) { Box(t, -3, 3, -3, 3, 0, 20), SlopedBlock(t, 3, 15, -4, 4, 12, 17, 20); },
     {0, 360, 45}, {}, 5},
    {"long bar ten turns on, 0.2 mm cells", [](FacetTable& t) { Box(t, -30, 30, -1, 1, 0, 4); },
     {3600, 3780, 15}, {0.2f, 0.1f}},
    {"20 mm cube, 1 mm cells, 0.1 mm wire", [](FacetTable& t) { Box(t, 0, 20, 0, 20, 0, 20); },
     {0, 360, 45}, {1, 0.1f}},
    {"cylinder on a plate, 1 mm cells, 0.2 mm wire",
     [](FacetTable& t) { Box(t, -15, 15, -15, 15, -3, 0), testing::AddCylinder(t, 6, 8, 24); },
     {0, 360, 45}, {1, 0.2f}},
};

TEST(ProgramSafety, HardShapesStayWholeOnTheMachine) {
  for (const auto& c : kHardShapes) {
    SCOPED_TRACE(c.name);
    ExpectWholeOnMachine(SweepShape(c.shape, c.sweep, {c.setUp, c.startHeight, 0, {}}));
  }
}

// Turning the table in moves of its own between sections keeps the wire off them too;
// on none of them does the guard have to fall back to a turn as the wire moves.
TEST(ProgramSafety, HardShapesStayWholeWithTheTableTurnedAlone) {
  for (const auto& c : kHardShapes) {
    SCOPED_TRACE(c.name);
    const SweptShape s = SweepShape(c.shape, c.sweep,
                                    {c.setUp, c.startHeight, 0, {}}, *BuiltInMachine("grbl"));
    ExpectWholeOnMachine(s);
    EXPECT_EQ(testing::TurnsWithTheWireMoving(s.motion), 0);
  }
}

// The table's axis lies at X = 0: a box centred on it is cut as far left as right, with
// the standard margin and with a round one, whose wire keeps its radius and a stock of
// 0.2 mm from the sides within a cell.
TEST(ProgramSafety, CentredBoxIsCutSymmetricallyAboutTheAxis) {
  for (const WireMargin& margin : {WireMargin{}, WireMargin{MarginShape::Round, 0.2f}}) {
    const SweptShape s = SweepShape([](FacetTable& t) { Box(t, -7.3f, 7.3f, -5, 5, 0, 10); },
                                    {0, 0, 45}, {{0.2f, 1.0f, margin}, {}, 0, {}});
    double left = HUGE_VAL, right = -HUGE_VAL;
    for (const NcMotion& p : s.motion.Motions) {
      left = std::min(left, p.X), right = std::max(right, p.X);
    }
    EXPECT_NEAR(left, -right, 0.001);
    EXPECT_NEAR(right, margin.Stock ? 7.3 + 0.5 + 0.2 : 7.3 + 1.4, 0.2);
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
    SCOPED_TRACE(c.name);
    ExpectWholeOnMachine(
        SweepShape([&](FacetTable& t) { Box(t, -half, half, -half, half, 0, c.height); },
                   {0, 180, 45}, {c.setUp, {}, 0, allRound}));
  }
}

// Generated solids: boxes and prisms of random size, turned, tilted and off the axis,
// swept at random steps, as walked and smoothed within one resolution, and with a
// round margin and no stock.
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
    const std::pair<WireMargin, float> runs[] = {{{}, 0}, {{}, setUpResolution}, {{MarginShape::Round, 0.0f}, 0}};
    for (const auto& [margin, tolerance] : runs) {
      SCOPED_TRACE(::testing::Message() << "solid " << k << " step " << sweep.step << " tolerance "
                                        << tolerance << " stock " << margin.Stock.value_or(-1));
      ExpectWholeOnMachine(SweepShape(shape, sweep, {{setUpResolution, 1.0f, margin}, {}, tolerance, {}}));
    }
  }
}

}  // namespace
}  // namespace vantora
