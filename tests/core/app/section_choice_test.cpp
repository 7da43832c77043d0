#include "core/app/section_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "core/check/plane_geometry.h"
#include "scripted_host.h"
#include "torus.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using namespace testing;

struct Job {
  ToolPathModel model;
  Session session;
  ScriptedHost host;
  TDataModule1& store() { return *model.store; }
  FacetTable& table() { return *model.table; }
};

std::unique_ptr<Job> SetUpJob(void (*build)(FacetTable&), float resolution = 0.2f) {
  auto job = std::make_unique<Job>();
  build(job->table());
  FitBounds(job->store(), job->table());
  EXPECT_TRUE(SetUpToolPath(job->store(), job->session, job->table(), job->host,
                            {resolution, 1.0f}));
  return job;
}

// Turns the table's corners by `degrees` about the z axis.
void Turn(FacetTable& t, double degrees) {
  const double r = degrees * std::numbers::pi / 180, c = std::cos(r), s = std::sin(r);
  for (int k = 0; k < t.FacetCount; ++k) {
    Facet& f = t.Facets[std::size_t(k)];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const double x = (*v)[0], y = (*v)[1];
      *v = {float(c * x - s * y), float(s * x + c * y), (*v)[2]};
    }
  }
}

void SquareBox(FacetTable& t) { AddBox(t, -10.05f, 10.05f, -6.05f, 6.05f, 0, 12.05f); }
// The same box, square to the wire at C 20: the table turns the model by +C.
void TurnedBox(FacetTable& t) {
  AddBox(t, -10.05f, 10.05f, -6.05f, 6.05f, 0, 12.05f);
  Turn(t, -20);
}
void Cylinder(FacetTable& t) { AddCylinder(t, 10.05f, 10.1f, 360); }
void RandomMesh(FacetTable& t) { AddRandomFacets(t, 400, 12, 10, 4.0f, 7); }
// A tall narrow block beside a low wide one.
void Heptagon(FacetTable& t) { AddCylinder(t, 12.05f, 8.05f, 7); }
void Steps(FacetTable& t) {
  AddBox(t, -12.05f, 0.05f, -3.05f, 3.05f, 0, 10.05f);
  AddBox(t, -0.05f, 12.05f, -6.05f, 6.05f, 0, 6.05f);
}
// A torus standing on its rim (R 10, r 3): large enough that its candidates are drawn
// from their outlines rather than filled.
void StandingTorus(FacetTable& t) {
  bench::FillTorus(t, 20'000);
  ForEachVertex(t, [](Vec3& v) { v = {0.1f * v[0], 0.1f * (v[2] - 30), 0.1f * v[1] + 13}; });
}

// The box needs two sections to leave what every section leaves, square to its faces:
// all but the corners every other angle rounds off, where the grown silhouette keeps its
// margin from the box's edges (0.69 mm deep here).
TEST(ChooseSections, ABoxGetsTheTwoAnglesSquareToItsFaces) {
  const struct {
    void (*build)(FacetTable&);
    std::vector<float> angles;
  } cases[] = {{SquareBox, {0, 90}}, {TurnedBox, {20, 110}}};
  for (const auto& c : cases) {
    auto job = SetUpJob(c.build);
    ChosenSections chosen;
    ASSERT_TRUE(ChooseSections(job->store(), job->session, job->table(), job->host, {0, 1, 359},
                               {0.75f, 0}, chosen));
    EXPECT_EQ(chosen.Angles, c.angles);
    EXPECT_EQ(chosen.CandidateCount, 360);
    EXPECT_EQ(chosen.Candidates.Angles.size(), 180u);
    EXPECT_LE(chosen.Choice.Deviation, 0.75);
  }
}

// A cylinder: every strip is as good as another, so the chosen ones share the half turn
// evenly; and no model gets C and C + 180 (the same strip) together, however many
// sections are asked for.
TEST(ChooseSections, SpreadsEvenlyAndNeverTakesAStripTwice) {
  const struct {
    void (*build)(FacetTable&);
    SectionRequest request;
    std::size_t most;
    double largestGap;  // degrees between neighbours, modulo 180
  } cases[] = {{Cylinder, {0.5f, 0}, 9, 45},  // 6 and 10 at the fewest
               {Cylinder, {0.2f, 0}, 15, 25},
               {RandomMesh, {0, 100}, 36, 180},
               {Steps, {0, 100}, 36, 180}};
  for (const auto& c : cases) {
    auto job = SetUpJob(c.build);
    ChosenSections chosen;
    ASSERT_TRUE(ChooseSections(job->store(), job->session, job->table(), job->host, {0, 5, 355},
                               c.request, chosen));
    std::set<double> halves;
    for (float a : chosen.Angles) halves.insert(std::fmod(a, 180.0));
    EXPECT_EQ(halves.size(), chosen.Angles.size());
    EXPECT_LE(chosen.Angles.size(), c.most);
    double gap = *halves.begin() + 180 - *halves.rbegin();
    for (auto a = halves.begin(), b = std::next(a); b != halves.end(); ++a, ++b) {
      gap = std::max(gap, *b - *a);
    }
    EXPECT_LE(gap, c.largestGap) << chosen.Angles.size();
  }
}

// The carved solid of the chosen program lies within the deviation asked for (and the
// raster's cell) of the carved solid of all candidates' program, slice by slice.
double SliceDeviation(const CarvedResult& chosen, const CarvedResult& all) {
  double deviation = 0;
  for (std::size_t k = 0; k < std::min(chosen.Slices.size(), all.Slices.size()); ++k) {
    for (const auto& piece : chosen.Slices[k].Pieces) {
      for (const PlanePoint& p : piece) {
        double nearest = HUGE_VAL;
        for (const auto& target : all.Slices[k].Pieces) {
          nearest = std::min(nearest, plane::PointPolygonDistance(p, target));
        }
        deviation = std::max(deviation, nearest);
      }
    }
  }
  return deviation;
}

TEST(ChooseSections, TheChosenCarvingLiesWithinTheDeviationOfAllCandidates) {
  const SweepAngles candidates{0, 5, 355};
  for (auto build : {Heptagon, Steps, StandingTorus}) {
    for (float deviation : {0.5f, 2.0f}) {
      auto all = SetUpJob(build, 0.25f);
      NcProgram uniform;
      ASSERT_TRUE(RunToolPath(all->store(), all->session, all->table(), all->host, candidates,
                              uniform));
      SweptCarving allCarving;
      ASSERT_TRUE(CarveSweptProgram(all->store(), all->session, all->table(), allCarving));

      auto job = SetUpJob(build, 0.25f);
      ChosenSections chosen;
      ASSERT_TRUE(ChooseSections(job->store(), job->session, job->table(), job->host,
                                 candidates, {deviation, 0}, chosen));
      NcProgram program;
      ProgramReport check;
      ASSERT_TRUE(RunToolPathAt(job->store(), job->session, job->table(), job->host,
                                chosen.Angles, program, {{}, &check}));
      EXPECT_TRUE(check.Clean());
      SweptCarving carving;
      ASSERT_TRUE(CarveSweptProgram(job->store(), job->session, job->table(), carving));
      EXPECT_LE(SliceDeviation(carving.Carved, allCarving.Carved), deviation + 0.25)
          << deviation;
      EXPECT_LT(chosen.Angles.size(), 36u);
    }
  }
}

// The carved result says what each section alone removes, and which sections the
// program could do without all together: of two sections half a turn apart, one.
TEST(CarveSweptProgram, NamesTheSectionsThatRemoveNothingTheOthersDoNot) {
  const struct {
    void (*build)(FacetTable&);
    SweepAngles angles;
    std::size_t idle;
  } cases[] = {{SquareBox, {0, 90, 270}, 2}, {SquareBox, {0, 45, 90}, 0}, {Cylinder, {0, 30, 330}, 6}};
  for (const auto& c : cases) {
    auto job = SetUpJob(c.build);
    NcProgram program;
    ASSERT_TRUE(RunToolPath(job->store(), job->session, job->table(), job->host, c.angles, program));
    SweptCarving carving;
    ASSERT_TRUE(CarveSweptProgram(job->store(), job->session, job->table(), carving));
    std::set<double> idle, needed;
    for (const SectionShare& s : carving.Carved.Shares) {
      EXPECT_GE(s.SoleVolume, -1e-6);
      (s.Idle ? idle : needed).insert(std::fmod(s.C, 180.0));
    }
    EXPECT_EQ(idle.size(), c.idle) << c.angles.Step;
    EXPECT_EQ(needed.size() + idle.size(), carving.Carved.Shares.size());  // one of each twin
    for (const SectionShare& s : carving.Carved.Shares) {
      if (!s.Idle && c.angles.Step == 45) {
        EXPECT_GT(s.SoleVolume, 1.0) << s.C;
      }
    }
  }
}

}  // namespace
}  // namespace vantora
