#include "core/app/tool_path_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "literal_toolpath.h"
#include "scripted_host.h"
#include "torus.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using testing::ScriptedHost;
using testing::ToolPathModel;

struct Job {
  ToolPathModel model;
  Session session;
  ScriptedHost host;
  TDataModule1& store() { return *model.store; }
  FacetTable& table() { return *model.table; }
};

// A model as an import leaves it (bounds fitted, on the platform), set up for tool paths.
std::unique_ptr<Job> PreparedJob(void (*build)(FacetTable&), ToolPathSetUp setUp = {}) {
  auto job = std::make_unique<Job>();
  build(job->table());
  testing::FitBounds(job->store(), job->table());
  EXPECT_TRUE(SetUpToolPath(job->store(), job->session, job->table(), job->host, setUp));
  return job;
}

std::vector<std::string> LinesOf(const NcProgram& program) {
  std::vector<std::string> lines;
  for (int k = 0; k < program.LineCount(); ++k) lines.emplace_back(program.Line(k));
  return lines;
}

// A box whose faces lie between cell samples, so its section is a clean rectangle.
void Cube(FacetTable& t) { testing::AddBox(t, -10.05f, 10.05f, -10.05f, 10.05f, 0, 20.05f); }
void Cylinder(FacetTable& t) { testing::AddCylinder(t, 10.05f, 20.1f, 72); }
void RandomMesh(FacetTable& t) { testing::AddRandomFacets(t, 3000, 15, 12, 3.0f, 5); }
void SmallTorus(FacetTable& t) { bench::FillTorus(t, 20000); }
void LargeTorus(FacetTable& t) { bench::FillTorus(t, 250000); }

TEST(SetUpToolPath, PresetsTheRangeAndRasterizesAsTheModelStands) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  EXPECT_EQ(job->session.ModelTurnAngle, 0.0f);
  EXPECT_EQ(s.ToolPathReady, 1);
  EXPECT_EQ(s.BeginRange, float(s.MinX));
  EXPECT_EQ(s.EndRange, float(s.MaxX));
  EXPECT_EQ(s.MaxX, -s.MinX);
  EXPECT_TRUE(s.Raster.Marked(s.AxisColumn, s.WireMarginCells));
  EXPECT_EQ(s.Raster.OutlineWeight(s.AxisColumn, 0), 2);  // grown down to row 0
}

void SunkBox(FacetTable& t) { testing::AddBox(t, -10, 10, -10, 10, -30, -10); }

TEST(SetUpToolPath, RefusesBeforeChangingAnything) {
  struct Case {
    void (*build)(FacetTable&);
    float wireDia;
    const char* says;
  };
  const Case cases[] = {
      {Cube, -1.0f, "The wire diameter must be greater than 0; it is -1."},
      // Cancel to "Move to platform ?": MinZ says 0, the facets lie below the platform.
      {SunkBox, 1.0f,
       "The model lies from Z -30 to Z -10; it must stand on the platform (Z 0) for a tool "
       "path."},
  };
  for (const Case& c : cases) {
    auto job = std::make_unique<Job>();
    c.build(job->table());
    testing::FitBounds(job->store(), job->table());
    job->store().MinZ = 0;
    job->session.ModelTurnAngle = 30;
    const Status status =
        SetUpToolPath(job->store(), job->session, job->table(), job->host, {0.2f, c.wireDia, 0});
    EXPECT_EQ(status.code(), ErrorCode::InvalidValue);
    EXPECT_EQ(status.message(), c.says);
    EXPECT_EQ(job->session.ModelTurnAngle, 30.0f);
    EXPECT_EQ(job->store().WireDia, 1.5f);
    EXPECT_EQ(job->store().ToolPathReady, 0);
    EXPECT_EQ(job->store().Raster.Rows(), 0);
  }
}

// A cube's section is a rectangle grown by the wire margin; the path climbs its left
// side, crosses the top and comes down the right side, keeping the corners.
TEST(RunToolPath, CubeSectionIsTheGrownRectangleWithItsCorners) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  std::vector<std::pair<int, int>> corners;
  auto onSection = [&](float) {
    int i0 = s.Raster.Columns(), i1 = -1, j1 = -1;
    for (int i = 0; i < s.Raster.Columns(); ++i) {
      for (int j = 0; j < s.Raster.Rows(); ++j) {
        if (!s.Raster.Marked(i, j)) continue;
        i0 = std::min(i0, i);
        i1 = std::max(i1, i);
        j1 = std::max(j1, j);
      }
    }
    // The cube spans columns -49..50 around the axis (the cell at the axis is twice as
    // wide, truncation going toward zero) and rows 7..107.
    EXPECT_EQ(i0, s.AxisColumn - 49 - 7);
    EXPECT_EQ(i1, s.AxisColumn + 50 + 7);
    EXPECT_EQ(j1, 107 + 7);
    for (int i = 0; i < s.Raster.Columns(); ++i) {
      for (int j = 0; j < s.Raster.Rows(); ++j) {
        ASSERT_EQ(s.Raster.Marked(i, j), i >= i0 && i <= i1 && j <= j1) << i << "," << j;
      }
    }
    for (const PathPoint& p : s.ToolPath) {
      corners.emplace_back(int(std::lround((p.X - float(s.MinX)) / s.Resolution)),
                           int(std::lround((p.Y - float(s.MinZ)) / s.Resolution)));
    }
  };
  NcProgram program;
  ASSERT_TRUE(RunToolPath(s, job->session, job->table(), job->host, {0, 5, 0}, program, {onSection}));
  const int left = s.AxisColumn - 56, right = s.AxisColumn + 57;
  EXPECT_EQ(corners, (std::vector<std::pair<int, int>>{
                         {left, 8}, {left, 114}, {right, 114}, {right, 7}, {right, 7}}));
  EXPECT_EQ(program.LineCount(), 1 + 4 + 1);  // first line, four moves, M30
}

TEST(RunToolPath, CylinderOnTheAxisGivesTheSameSectionAtEveryAngle) {
  auto job = PreparedJob(Cylinder);
  TDataModule1& s = job->store();
  std::vector<std::vector<PathPoint>> paths;
  NcProgram program;
  ASSERT_TRUE(RunToolPath(s, job->session, job->table(), job->host, {0, 15, 345}, program,
                          {[&](float) { paths.push_back(s.ToolPath); }}));
  ASSERT_EQ(paths.size(), 24u);
  ASSERT_GT(paths[0].size(), 4u);
  for (const auto& path : paths) {
    ASSERT_EQ(path.size(), paths[0].size());
    for (std::size_t k = 0; k < path.size(); ++k) {
      EXPECT_EQ(path[k].X, paths[0][k].X);
      EXPECT_EQ(path[k].Y, paths[0][k].Y);
    }
  }
}

// The path runs along the grown silhouette's edge and never through its inside.
TEST(RunToolPath, PathNeverEntersTheSilhouette) {
  auto job = PreparedJob(SmallTorus);
  TDataModule1& s = job->store();
  int points = 0;
  auto onSection = [&](float) {
    for (const PathPoint& p : s.ToolPath) {
      const int i = int(std::lround((p.X - float(s.MinX)) / s.Resolution));
      const int j = int(std::lround((p.Y - float(s.MinZ)) / s.Resolution));
      const bool inside = s.Raster.Marked(i, j) && s.Raster.Marked(i - 1, j) &&
                          s.Raster.Marked(i + 1, j) && s.Raster.Marked(i, j - 1) &&
                          s.Raster.Marked(i, j + 1);
      EXPECT_FALSE(inside) << "point in cell " << i << "," << j;
      ++points;
    }
  };
  NcProgram program;
  ASSERT_TRUE(RunToolPath(s, job->session, job->table(), job->host, {0, 30, 90}, program, {onSection}));
  EXPECT_GT(points, 100);
}

TEST(RunToolPath, SweepCountsSectionsAndAlternatesDirections) {
  auto job = PreparedJob(Cylinder);
  TDataModule1& s = job->store();
  std::vector<int> directions;
  NcProgram program;
  ASSERT_TRUE(RunToolPath(s, job->session, job->table(), job->host, {0, 5, 360}, program,
                          {[&](float) { directions.push_back(s.PathDirection); }}));
  ASSERT_EQ(directions.size(), 73u);
  EXPECT_EQ(directions[0], 1);
  EXPECT_EQ(directions[1], -1);
  EXPECT_EQ(directions[2], 1);
  EXPECT_EQ(job->host.progress.back(), (std::pair{73, 73}));
  EXPECT_EQ(job->session.ModelTurnAngle, 360.0f);
  // Each section starts where the one before ended: the cylinder's second section, the
  // same as the first written backward, turns the table at the first one's last point.
  const auto lines = LinesOf(program);
  const auto turn = std::find(lines.begin(), lines.end(), " C 5.000");
  EXPECT_NE(turn, lines.end());
}

TEST(RunToolPath, RefusalsComeBeforeAnything) {
  auto job = std::make_unique<Job>();
  Cube(job->table());
  testing::FitBounds(job->store(), job->table());
  NcProgram program;
  Status status = RunToolPath(job->store(), job->session, job->table(), job->host, {}, program);
  EXPECT_EQ(status.message(), "Tool path not find");

  job = PreparedJob(Cube);
  job->store().StartAngle = 7;
  const std::pair<SweepAngles, const char*> refused[] = {
      {{0, 0, 10}, "section step"},
      {{0, -5, 10}, "section step"},
      {{1e8f, 1, 1e9f}, "section step"},
      {{90, 5, 0},
       "The first section angle 90 lies after the last 0: there is no section to cut."},
  };
  for (const auto& [bad, says] : refused) {
    status = RunToolPath(job->store(), job->session, job->table(), job->host, bad, program);
    EXPECT_EQ(status.code(), ErrorCode::InvalidValue);
    EXPECT_NE(status.message().find(says), std::string::npos) << status.message();
  }
  EXPECT_EQ(program.LineCount(), 0);
  EXPECT_EQ(job->store().StartAngle, 7.0f);
  EXPECT_EQ(job->session.ModelTurnAngle, 0.0f);
}

// A program that cuts nothing is reported, not handed over as done: a resolution far
// coarser than the model, or a start height above it. The program an earlier run left
// stays as it was.
TEST(RunToolPath, SweepWithoutAnyPathFails) {
  auto coarse = PreparedJob(Cube, {100.0f, 1.0f, 0});
  auto high = PreparedJob(Cube);
  ASSERT_TRUE(DefineStartPosition(high->store(), 50.0f, -10.0f, 10.0f));
  for (Job* job : {coarse.get(), high.get()}) {
    NcProgram program;
    program.AppendLine("M30\n");
    const Status s = RunToolPath(job->store(), job->session, job->table(), job->host,
                                 {0, 90, 360}, program);
    EXPECT_EQ(s.code(), ErrorCode::InvalidValue);
    EXPECT_NE(s.message().find("No section has a tool path"), std::string::npos)
        << s.message();
    EXPECT_EQ(LinesOf(program), std::vector<std::string>{"M30\n"});
    EXPECT_EQ(job->host.progress.back(), (std::pair{5, 5}));
    EXPECT_EQ(job->session.ModelTurnAngle, 0.0f);  // the model stays as it stood
  }
  // A start height inside the model still cuts.
  ASSERT_TRUE(DefineStartPosition(high->store(), 10.0f, -10.0f, 10.0f));
  NcProgram program;
  EXPECT_TRUE(RunToolPath(high->store(), high->session, high->table(), high->host,
                          {0, 90, 360}, program));
}

TEST(DefineStartPosition, SetsTheWindowOrRefusesFarValues) {
  auto job = PreparedJob(Cube);
  TDataModule1& s = job->store();
  ASSERT_TRUE(DefineStartPosition(s, 5.0f, -3.0f, 4.0f));
  EXPECT_EQ(s.StartHeight, 5.0f);
  EXPECT_EQ(s.BeginRange, -3.0f);
  EXPECT_EQ(s.EndRange, 4.0f);
  const Status far = DefineStartPosition(s, 0.0f, -1e9f, 4.0f);
  EXPECT_NE(far.message().find("Begin Range"), std::string::npos) << far.message();
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
    std::vector<std::string> programs[2];
    std::vector<Facet> turned[2];
    for (int run = 0; run < 2; ++run) {
      auto job = PreparedJob(c.build);
      job->store().PathTolerance = c.tolerance;
      NcProgram program;
      ASSERT_TRUE(RunToolPath(job->store(), job->session, job->table(), job->host, c.angles,
                              program, {{}, nullptr, run == 0 ? LaneChoice::One : LaneChoice::Two}));
      programs[run] = LinesOf(program);
      turned[run].assign(&job->table().Facets[0], &job->table().Facets[0] + job->table().FacetCount);
    }
    EXPECT_EQ(programs[0], programs[1]);
    ASSERT_EQ(turned[0].size(), turned[1].size());
    EXPECT_EQ(std::memcmp(turned[0].data(), turned[1].data(), turned[0].size() * sizeof(Facet)), 0);
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
    ASSERT_TRUE(RunToolPath(fast->store(), fast->session, fast->table(), fast->host, c.angles,
                            program));
    testing::LiteralRunToolPath(reference->store(), reference->session, reference->table(),
                                reference->host, c.angles.Start, c.angles.Step, c.angles.End,
                                expected);
    EXPECT_EQ(LinesOf(program), LinesOf(expected));
    EXPECT_GT(program.LineCount(), 10);
    EXPECT_EQ(fast->host.messages, reference->host.messages);
    for (int k = 0; k < fast->table().FacetCount; ++k) {
      ASSERT_EQ(std::memcmp(&fast->table().Facets[std::size_t(k)],
                            &reference->table().Facets[std::size_t(k)], sizeof(Facet)),
                0)
          << "facet " << k;
    }
  }
}

}  // namespace
}  // namespace vantora
