#include "core/app/tool_path_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>
#include <functional>
#include <tuple>

#include "core/app/stl_import.h"
#include "literal_toolpath.h"
#include "scripted_host.h"
#include "stl_builder.h"
#include "torus.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

struct Job {
  testing::ToolPathModel model;
  Session session;
  testing::ScriptedHost host;
  TDataModule1& store() { return *model.store; }
  FacetTable& table() { return *model.table; }
  Status Run(const SweepAngles& angles, NcProgram& program, const RunOptions& options = {}) {
    return RunToolPath(store(), session, table(), host, angles, program, options);
  }
};

// A model as an import leaves it (bounds fitted), set up for tool paths unless not.
std::unique_ptr<Job> PreparedJob(void (*build)(FacetTable&), ToolPathSetUp setUp = {},
                                 bool setUpToolPath = true) {
  auto job = std::make_unique<Job>();
  build(job->table());
  testing::FitBounds(job->store(), job->table());
  if (setUpToolPath) {
    EXPECT_TRUE(SetUpToolPath(job->store(), job->session, job->table(), job->host, setUp));
  }
  return job;
}

using namespace testing;

// The index of the first facet whose bits differ between the two jobs' tables, or -1.
int FirstDifferentFacet(Job& a, Job& b) {
  EXPECT_EQ(a.table().FacetCount, b.table().FacetCount);
  for (int k = 0; k < std::min(a.table().FacetCount, b.table().FacetCount); ++k) {
    if (std::memcmp(&a.table().Facets[k], &b.table().Facets[k], sizeof(Facet))) return k;
  }
  return -1;
}

// A box whose faces lie between cell samples, so its section is a clean rectangle.
void Cube(FacetTable& t) { testing::AddBox(t, -10.05f, 10.05f, -10.05f, 10.05f, 0, 20.05f); }
void SunkBox(FacetTable& t) { testing::AddBox(t, -10, 10, -10, 10, -30, -10); }
// Twice as wide as deep: only a half turn brings it onto itself.
void Slab(FacetTable& t) { testing::AddBox(t, -10.05f, 10.05f, -4.05f, 4.05f, 0, 12.05f); }
void Cylinder(FacetTable& t) { testing::AddCylinder(t, 10.05f, 20.1f, 72); }
void RandomMesh(FacetTable& t) { testing::AddRandomFacets(t, 3000, 15, 12, 3.0f, 5); }
void SmallTorus(FacetTable& t) { bench::FillTorus(t, 20000); }
void LargeTorus(FacetTable& t) { bench::FillTorus(t, 250000); }

TEST(SetUpToolPath, PresetsTheRangeAndRasterizesAsTheModelStands) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  // The range reaches to a cell inside the raster's edges, beyond the half width that
  // holds the turning model with its wire.
  EXPECT_EQ(std::tuple(s.ToolPathReady, s.BeginRange, s.EndRange),
            std::tuple(1, -RasterReach(s), RasterReach(s)));
  EXPECT_EQ(s.MaxX, -s.MinX);
  EXPECT_GT(s.EndRange, s.MaxX);
  EXPECT_TRUE(s.Raster.Marked(s.AxisColumn, s.WireMarginCells));
  EXPECT_EQ(s.Raster.OutlineWeight(s.AxisColumn, 0), 2);  // grown down to row 0
}

// A wire of no width, and a model below the platform whose MinZ says 0 (Cancel to
// "Move to platform ?"): refused, and the turn, wire and raster stay as they were.
TEST(SetUpToolPath, RefusesBeforeChangingAnything) {
  using Build = void (*)(FacetTable&);
  for (const auto& [build, wireDia] : {std::pair<Build, float>{Cube, -1.0f}, {SunkBox, 1.0f}}) {
    auto job = PreparedJob(build, {}, false);
    job->store().MinZ = 0;
    job->session.ModelTurnAngle = 30;
    EXPECT_EQ(SetUpToolPath(job->store(), job->session, job->table(), job->host,
                            {0.2f, wireDia}).code(),
              ErrorCode::InvalidValue);
    const TDataModule1& s = job->store();
    EXPECT_EQ(std::tuple(job->session.ModelTurnAngle, s.WireDia, s.ToolPathReady, s.Raster.Rows()),
              std::tuple(30.0f, 1.5f, 0, 0));
  }
}

// A cube's section is a rectangle grown by the wire margin; the path climbs its left
// side, crosses the top and comes down the right side, keeping the corners.
TEST(RunToolPath, CubeSectionIsTheGrownRectangleWithItsCorners) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  std::vector<std::pair<int, int>> corners;
  auto onSection = [&](float) {
    // The cube spans columns -50..50 around the axis (cells as wide on both sides) and
    // rows 7..107, grown by 7 cells.
    const int i0 = s.AxisColumn - 50 - 7, i1 = s.AxisColumn + 50 + 7, j1 = 107 + 7;
    for (int i = 0; i < s.Raster.Columns(); ++i) {
      for (int j = 0; j < s.Raster.Rows(); ++j) {
        ASSERT_EQ(s.Raster.Marked(i, j), i >= i0 && i <= i1 && j <= j1) << i << "," << j;
      }
    }
    for (const PathPoint& p : s.ToolPath) corners.push_back(CellOf(s, p));
  };
  NcProgram program;
  ASSERT_TRUE(job->Run({0, 5, 0}, program, {onSection}));
  const int left = s.AxisColumn - 57, right = s.AxisColumn + 57;
  EXPECT_EQ(corners, (std::vector<std::pair<int, int>>{
                         {left, 8}, {left, 114}, {right, 114}, {right, 7}, {right, 7}}));
  EXPECT_EQ(program.LineCount(), 1 + 4 + 1);  // first line, four moves, M30
}

TEST(RunToolPath, RefusalsComeBeforeAnything) {
  NcProgram program;
  EXPECT_FALSE(PreparedJob(Cube, {}, false)->Run({}, program));  // not set up
  auto job = PreparedJob(Cube);
  const SweepAngles refused[] = {{0, 0, 10}, {0, -5, 10}, {1e8f, 1, 1e9f}, {90, 5, 0}};
  for (const SweepAngles& bad : refused) {
    EXPECT_EQ(job->Run(bad, program).code(), ErrorCode::InvalidValue) << bad.Start << bad.Step;
  }
  EXPECT_EQ(program.LineCount(), 0);
  EXPECT_EQ(job->session.ModelTurnAngle, 0.0f);
}

// A program that cuts nothing is reported, not handed over as done: a resolution far
// coarser than the model, or a start height above it. The program an earlier run left
// stays as it was.
TEST(RunToolPath, SweepWithoutAnyPathFails) {
  auto coarse = PreparedJob(Cube, {100.0f, 1.0f});
  auto high = PreparedJob(Cube);
  ASSERT_TRUE(DefineStartPosition(high->store(), 50.0f, -10.0f, 10.0f));
  for (Job* job : {coarse.get(), high.get()}) {
    NcProgram program;
    program.AppendLine("M30\n");
    const Status s = job->Run({0, 90, 360}, program);
    EXPECT_EQ(s.code(), ErrorCode::InvalidValue);
    EXPECT_EQ(ProgramLines(program), std::vector<std::string>{"M30\n"});
    EXPECT_EQ(job->session.ModelTurnAngle, 0.0f);  // the model stays as it stood
  }
  // A start height inside the model still cuts.
  ASSERT_TRUE(DefineStartPosition(high->store(), 10.0f, -10.0f, 10.0f));
  NcProgram program;
  EXPECT_TRUE(high->Run({0, 90, 360}, program));
}

// A comb of 321 teeth hanging from a bar: more run ends on a raster line than the
// growth holds, so the outermost teeth keep no margin and the wire would reach into
// them. With the preset range the program is refused, saying where and what to change;
// with a range narrowed by hand it is written and the report says it reaches in.
void Comb(FacetTable& t) {
  testing::AddBox(t, -290, 290, -1, 1, 10, 12);
  for (float x = -288; x < 288; x += 1.8f) testing::AddBox(t, x, x + 0.3f, -1, 1, 0, 10);
}

TEST(RunToolPath, RefusesAProgramThatWouldCutThePartUnlessTheRangeIsNarrowedByHand) {
  auto job = PreparedJob(Comb, {0.2f, 0.1f});
  NcProgram program;
  const Status refused = job->Run({0, 5, 0}, program);
  EXPECT_EQ(refused.code(), ErrorCode::InvalidValue);
  EXPECT_NE(refused.message().find("Sections at C 0.000. At resolution 0.2 with a 0.1 mm wire"),
            std::string::npos)
      << refused.message();
  EXPECT_EQ(program.LineCount(), 0);
  TDataModule1& s = job->store();
  ASSERT_TRUE(DefineStartPosition(s, 0, s.BeginRange, s.EndRange - 0.2f));
  ProgramReport report;
  ASSERT_TRUE(job->Run({0, 5, 0}, program, {{}, &report}));
  EXPECT_FALSE(report.Clean());
  EXPECT_GT(program.LineCount(), 2);
}

TEST(DefineStartPosition, SetsTheWindowOrRefusesFarValues) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  ASSERT_TRUE(DefineStartPosition(s, 5.0f, -3.0f, 4.0f));
  EXPECT_EQ(std::tuple(s.StartHeight, s.BeginRange, s.EndRange), std::tuple(5.0f, -3.0f, 4.0f));
  EXPECT_FALSE(DefineStartPosition(s, 0.0f, -1e9f, 4.0f));
  EXPECT_EQ(s.BeginRange, -3.0f);
}

// The second lane fills every other section on a thread of its own; the program and
// the turned model must not show which lane did what. A large torus also builds the
// guard's tree on two threads.
TEST(RunToolPath, OneLaneAndTwoLanesWriteTheSameProgram) {
  struct Case {
    void (*build)(FacetTable&);
    SweepAngles angles;
    float tolerance;
  };
  for (const Case& c : {Case{RandomMesh, {0, 15, 360}, 0}, Case{SmallTorus, {0, 10, 360}, 0.2f},
                        Case{LargeTorus, {0, 90, 180}, 0}}) {
    std::unique_ptr<Job> jobs[2];
    NcProgram programs[2];
    for (int run = 0; run < 2; ++run) {
      jobs[run] = PreparedJob(c.build);
      jobs[run]->store().PathTolerance = c.tolerance;
      ASSERT_TRUE(jobs[run]->Run(c.angles, programs[run],
                                 {{}, nullptr, run == 0 ? LaneChoice::One : LaneChoice::Two}));
    }
    EXPECT_EQ(ProgramLines(programs[0]), ProgramLines(programs[1]));
    EXPECT_EQ(FirstDifferentFacet(*jobs[0], *jobs[1]), -1);
  }
}

// The engine against the literal computation: the whole program, byte for byte, and
// the model turned to the same bits.
TEST(RunToolPath, MatchesTheLiteralComputation) {
  struct Case {
    void (*build)(FacetTable&);
    SweepAngles angles;
    float startHeight;
  };
  for (const Case& c : {Case{Cube, {0, 30, 360}, 0}, Case{Cylinder, {5, 40, 300}, 3},
                        Case{RandomMesh, {-10, 25, 350}, 0}, Case{SmallTorus, {0, 45, 360}, 10},
                        Case{SmallTorus, {2.5f, 60, 200}, 0}}) {
    auto fast = PreparedJob(c.build);
    auto reference = PreparedJob(c.build);
    for (Job* job : {fast.get(), reference.get()}) {
      TDataModule1& s = job->store();
      ASSERT_TRUE(DefineStartPosition(s, c.startHeight, s.BeginRange, s.EndRange));
    }
    NcProgram program, expected;
    ASSERT_TRUE(fast->Run(c.angles, program));
    testing::LiteralRunToolPath(reference->store(), reference->session, reference->table(),
                                reference->host, c.angles.Start, c.angles.Step, c.angles.End,
                                expected);
    EXPECT_EQ(ProgramLines(program), ProgramLines(expected));
    EXPECT_GT(program.LineCount(), 10);
    EXPECT_EQ(fast->host.messages, reference->host.messages);
    EXPECT_EQ(FirstDifferentFacet(*fast, *reference), -1);
  }
}

// The carved result of a sweep is the one built from the program it wrote on the model
// set up afresh (as the batch check builds it): of the last sweep alone, with the model
// turned back from wherever the sweeps left it.
TEST(CarveSweptProgram, IsTheCarvedResultOfTheLastSweepsProgram) {
  auto job = PreparedJob(Slab);
  for (const SweepAngles& angles : {SweepAngles{0, 30, 60}, SweepAngles{10, 45, 100}}) {
    SCOPED_TRACE(angles.End);
    NcProgram program;
    ASSERT_TRUE(job->Run(angles, program));
    SweptCarving carving;
    ASSERT_TRUE(CarveSweptProgram(job->store(), job->session, job->table(), carving));

    auto fresh = PreparedJob(Slab);
    NcMotionList motion;
    ASSERT_TRUE(ReadNcMotion(program, fresh->session.Format, fresh->session.Machine, motion));
    CarvedResult expected;
    ASSERT_TRUE(CarveNcProgram(fresh->table(), SilhouetteTree(fresh->table()), fresh->store(), 0,
                               motion, expected));
    const CarvedDeviation &got = carving.Carved.Deviation, &want = expected.Deviation;
    EXPECT_NEAR(got.CarvedVolume, want.CarvedVolume, 1e-6 * want.CarvedVolume);
    EXPECT_NEAR(got.LargestDistance, want.LargestDistance, 1e-4);
    ASSERT_EQ(carving.Model->FacetCount, fresh->table().FacetCount);
    for (int k = 0; k < fresh->table().FacetCount; ++k) {
      const Facet &turned = carving.Model->Facets[k], &setUp = fresh->table().Facets[k];
      for (int axis = 0; axis < 3; ++axis) {
        ASSERT_NEAR(turned.V2[axis], setUp.V2[axis], 1e-4) << k;
        ASSERT_EQ(turned.Normal[axis], setUp.Normal[axis]) << k;
      }
    }
  }
}

// With a round margin and a stock of 0.2 mm the part is the model grown by 0.2 mm
// wherever the wire reaches, started below the platform so that it reaches under a
// sphere too: the carved volume lies within a cell of the stock by the closed form of
// the model so grown, the most material left within a cell (and the bound's slice
// step) of it, and nothing is taken. Boxes are cut square at 0 and 90 degrees; the
// cylinder and the sphere, standing on the axis, every 5 degrees.
TEST(CarveNcProgram, RoundMarginLeavesTheStockAllRound) {
  constexpr double pi = std::numbers::pi, stock = 0.2, cell = 0.2;
  const struct {
    const char* name;
    void (*build)(FacetTable&);
    SweepAngles angles;
    double (*grown)(double t);  // the volume of the model grown by t, above the platform
  } cases[] = {
      {"box", [](FacetTable& t) { AddBox(t, -10, 10, -6, 6, 0, 15); }, {0, 90, 90},
       [](double t) { return (20 + 2 * t) * (12 + 2 * t) * 15 + 240 * t + 16 * pi * t * t + 8 * t * t * t / 3; }},
      {"cylinder", [](FacetTable& t) { AddCylinder(t, 10, 20, 144); }, {0, 5, 180},
       [](double t) { return pi * ((10 + t) * (10 + t) * 20 + 100 * t + (10 + 4 * t / (3 * pi)) * pi * t * t / 2); }},
      {"sphere", [](FacetTable& t) { AddSphere(t, 10, 48); }, {0, 5, 180},
       [](double t) { return 4 * pi * std::pow(10 + t, 3) / 3 - pi * t * t * (30 + 2 * t) / 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto job = PreparedJob(c.build, {float(cell), 1.0f, {MarginShape::Round, float(stock)}});
    TDataModule1& s = job->store();
    ASSERT_TRUE(DefineStartPosition(s, -0.7f, s.BeginRange, s.EndRange));
    NcProgram program;
    ASSERT_TRUE(job->Run(c.angles, program));  // refused were the program reaching in
    SweptCarving carving;
    ASSERT_TRUE(CarveSweptProgram(s, job->session, job->table(), carving));
    const CarvedDeviation& d = carving.Carved.Deviation;
    EXPECT_FALSE(d.CutsThePart()) << d.DeepestCut;
    EXPECT_GT(d.CarvedVolume, c.grown(stock - cell));
    EXPECT_LT(d.CarvedVolume, c.grown(stock + cell));
    EXPECT_LE(d.LargestDistance, stock + cell + d.SliceStep);
  }
}

// How many times the closed `solid` winds about p: 1 inside, 0 outside (the sum of the
// solid angles of its facets seen from p).
double WindingNumber(const FacetTable& solid, const Vec3& p) {
  double sum = 0;
  for (int k = 0; k < solid.FacetCount; ++k) {
    const Facet& f = solid.Facets[std::size_t(k)];
    std::array<std::array<double, 3>, 3> v;
    const Vec3* corners[3] = {&f.V1, &f.V2, &f.V3};
    for (int c = 0; c < 3; ++c) {
      for (int i = 0; i < 3; ++i) v[c][i] = double((*corners[c])[i]) - p[i];
    }
    const auto dot = [](auto& a, auto& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    const auto length = [&](auto& a) { return std::sqrt(dot(a, a)); };
    const auto& [a, b, c] = v;
    const double det = a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                       a[2] * (b[0] * c[1] - b[1] * c[0]);
    const double la = length(a), lb = length(b), lc = length(c);
    sum += 2 * std::atan2(det, la * lb * lc + dot(a, b) * lc + dot(b, c) * la + dot(c, a) * lb);
  }
  return sum / (4 * std::numbers::pi);
}

// The carved result of programs that keep off the part holds the whole part, however
// short the sweep or narrow the range, and says it takes nothing; a program whose top
// was lowered by hand says how much it takes and how deep. The most material left is
// never below the distance of a corner of the solid from the model.
TEST(CarveNcProgram, HoldsTheModelAndTellsWhatAProgramTakes) {
  void (*const bar)(FacetTable&) = [](FacetTable& t) { testing::AddBox(t, -5, 5, -30, 30, 0, 10); };
  void (*const box)(FacetTable&) = [](FacetTable& t) { testing::AddBox(t, -10, 10, -15, 15, 0, 10); };
  const struct {
    const char* name;
    void (*model)(FacetTable&);
    SweepAngles angles;
    float begin = 0, end = 0;  // a range narrowed by hand when they differ
    float lowerTop = 0;        // mm the top of the path is lowered by hand
    double removed = 0;
  } cases[] = {
      {"single section", box, {0, 5, 0}},
      {"short sweep", bar, {0, 5, 20}},
      {"range -12..5", box, {0, 15, 345}, -12, 5},
      {"range 0..15", box, {0, 15, 345}, 0, 15},
      {"range -15..-8", box, {0, 15, 345}, -15, -8},
      {"range -5..5", box, {0, 15, 345}, -5, 5},
      {"top lowered 2.5 mm", box, {0, 5, 0}, 0, 0, 2.5f, 20 * 30 * 1.6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto job = PreparedJob(c.model);
    TDataModule1& s = job->store();
    if (c.begin != c.end) {
      ASSERT_TRUE(DefineStartPosition(s, 0, c.begin, c.end));
    }
    NcProgram program;
    ASSERT_TRUE(job->Run(c.angles, program));
    NcMotionList motion;
    ASSERT_TRUE(ReadNcMotion(program, job->session.Format, job->session.Machine, motion));
    auto model = PreparedJob(c.model);  // as it stood at the set-up
    const FacetTable& part = model->table();
    const double top = std::max_element(motion.Motions.begin(), motion.Motions.end(),
                                        [](auto& l, auto& r) { return l.Y < r.Y; })->Y;
    for (NcMotion& m : motion.Motions) m.Y -= m.Y == top ? c.lowerTop : 0;
    CarvedResult carved;
    ASSERT_TRUE(CarveNcProgram(part, SilhouetteTree(part), s, 0, motion, carved));
    const CarvedDeviation& d = carved.Deviation;
    EXPECT_NEAR(d.RemovedVolume.value_or(-1), c.removed, 0.1 * c.removed + 1e-9);
    const CarvedColouring colours = ColourCarved(carved, part, SilhouetteTree(part), 0.01);
    const float left = *std::max_element(colours.MaterialLeft.begin(), colours.MaterialLeft.end());
    EXPECT_LE(left, d.LargestDistance);  // the facets' centres, within the bound
    if (c.removed > 0) {
      EXPECT_NEAR(d.DeepestCut, 1.6, s.Resolution);
      // The top's two facets are taken, the others not.
      EXPECT_EQ(std::count(colours.Taken.begin(), colours.Taken.end(), true), 2);
      continue;
    }
    EXPECT_EQ(std::count(colours.Taken.begin(), colours.Taken.end(), true), 0);
    EXPECT_EQ(d.DeepestCut, 0);
    EXPECT_GE(d.CarvedVolume, d.ModelVolume.value_or(HUGE_VAL) - 1e-6);
    double farthest = 0;  // of the solid's corners, brute force over the box's faces
    testing::ForEachVertex(*carved.Solid, [&](const Vec3& v) {
      const double dx = std::max({-10.0 - v[0], v[0] - 10.0, 0.0});
      const double dy = std::max({(c.model == bar ? -30.0 : -15.0) - v[1],
                                  v[1] - (c.model == bar ? 30.0 : 15.0), 0.0});
      const double dz = std::max({-double(v[2]), v[2] - 10.0, 0.0});
      farthest = std::max(farthest, std::sqrt(dx * dx + dy * dy + dz * dz));
    });
    EXPECT_GE(d.LargestDistance, farthest);
    // The part's corners, a hair above the platform the solid stands on.
    testing::ForEachVertex(part, [&](const Vec3& v) {
      EXPECT_NEAR(WindingNumber(*carved.Solid, {v[0], v[1], std::max(v[2], 1e-3f)}), 1, 1e-6);
    });
  }
}

// Whatever changes the model, its set-up or the memo, or starts another sweep, leaves
// no program to carve.
TEST(CarveSweptProgram, NothingIsCarvedOnceTheSweptProgramGoes) {
  const std::pair<const char*, std::function<void(Job&)>> forgetting[] = {
      {"nothing swept", nullptr},
      {"memo cleared", [](Job& j) { ClearNcProgram(j.session); }},
      {"set up again",
       [](Job& j) { ASSERT_TRUE(SetUpToolPath(j.store(), j.session, j.table(), j.host, {})); }},
      {"sweep without a path",
       [](Job& j) {
         ASSERT_TRUE(DefineStartPosition(j.store(), 50.0f, -10.0f, 10.0f));
         NcProgram program;
         ASSERT_FALSE(j.Run({0, 90, 90}, program));
       }},
      {"model read",
       [](Job& j) {
         const std::string stl = testing::TextStlBox(20, 20);
         FacetTable table(100);
         ASSERT_TRUE(ReadStlModel(std::as_bytes(std::span(stl)), "box.stl", j.store(), j.session,
                                  table, j.host));
       }},
  };
  for (const auto& [name, act] : forgetting) {
    SCOPED_TRACE(name);
    auto job = PreparedJob(Slab);
    if (act) {
      NcProgram program;
      ASSERT_TRUE(job->Run({0, 90, 90}, program));
      act(*job);
    }
    SweptCarving carving;
    const Status s = CarveSweptProgram(job->store(), job->session, job->table(), carving);
    EXPECT_EQ(s.message(), kNoSweptProgram);
    EXPECT_FALSE(carving.Model);
  }
}

}  // namespace
}  // namespace vantora
