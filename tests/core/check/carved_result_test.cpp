#include "core/check/carved_result.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/model/solid_volume.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

constexpr double kStep = 0.2;
constexpr double kWire = 1.0;

// One section that goes up at x0, across at height top and down at x1, starting and
// ending at height 0; the frame puts the program's coordinates on the model's.
void AddSection(NcMotionList& program, double c, std::vector<PlanePoint> path) {
  for (const PlanePoint& p : path) program.Motions.push_back({p.x, p.z, c, 0});
}

std::vector<PlanePoint> Over(double x0, double x1, double top) {
  return {{x0, 0}, {x0, top}, {x1, top}, {x1, 0}};
}

std::unique_ptr<FacetTable> Carve(const NcMotionList& program) {
  std::unique_ptr<FacetTable> solid;
  EXPECT_TRUE(CarveSolid(WireFrame{0, 0, 0, kWire}, program, 0, kStep, solid));
  return solid;
}

// The carved solid is closed, and its volume as far as its edges tell is the volume
// its facets enclose.
void ExpectClosed(const FacetTable& solid) {
  const std::optional<double> closed = ClosedVolume(solid);
  ASSERT_TRUE(closed.has_value());
  EXPECT_NEAR(*closed, EnclosedVolume(solid), 1e-6 * *closed);
  EXPECT_GT(EnclosedVolume(solid), 0) << "normals point outward";
}

// The top of a slice-built solid lies up to one slice below the exact top.
double Tolerance(double area) { return area * kStep; }

TEST(CarveSolid, ABoxCutFromTwoSidesIsTheBoxTheWireLeaves) {
  // A 1 mm wire 1.5 mm off a 20 mm box leaves 22 mm by 22 mm, 21 mm high.
  NcMotionList program;
  AddSection(program, 0, Over(-11.5, 11.5, 21.5));
  AddSection(program, 90, Over(11.5, -11.5, 21.5));
  const auto solid = Carve(program);
  ExpectClosed(*solid);
  EXPECT_NEAR(EnclosedVolume(*solid), 22 * 22 * 21, Tolerance(22 * 22));
}

TEST(CarveSolid, ACylinderAt72SectionsIsThePolygonAroundIt) {
  // Every section leaves |u| <= 11, so the result is the 72-gon prism about a circle
  // of radius 11 (the turns are not exactly 5 degrees apart: a little irregular).
  NcMotionList program;
  for (int k = 0; k < 72; ++k) AddSection(program, 5.0 * k, Over(-11.5, 11.5, 21.5));
  const auto solid = Carve(program);
  ExpectClosed(*solid);
  const double polygon = 72 * 11 * 11 * std::tan(std::numbers::pi / 72);
  EXPECT_NEAR(EnclosedVolume(*solid), polygon * 21, 0.01 * polygon * 21);
}

TEST(CarveSolid, AGapSeenFromOneSideSplitsTheSolid) {
  // From 0 degrees the wire goes down between two boxes; from 90 degrees they stand
  // one behind the other. What stays is two blocks, each closed.
  NcMotionList program;
  AddSection(program, 0,
             {{-21.5, 0},
              {-21.5, 11.5},
              {-3.5, 11.5},
              {-3.5, 0},
              {3.5, 0},
              {3.5, 11.5},
              {21.5, 11.5},
              {21.5, 0}});
  AddSection(program, 90, Over(11.5, -11.5, 11.5));
  const auto solid = Carve(program);
  ExpectClosed(*solid);
  // Each block is 17 mm wide (-21 to -4), 22 mm deep and 11 mm high.
  EXPECT_NEAR(EnclosedVolume(*solid), 2 * 17 * 22 * 11, Tolerance(2 * 17 * 22));
}

TEST(CarveSolid, TwoTowersOnABaseKeepTheirVolume) {
  // From 0 degrees the wire comes down between the towers to 10.5 mm: the slices split
  // there, and the solid stays closed and as large as base and towers together.
  NcMotionList program;
  AddSection(program, 0,
             {{-21.5, 0}, {-21.5, 21.5}, {-3.5, 21.5}, {-3.5, 10.5}, {3.5, 10.5}, {3.5, 21.5},
              {21.5, 21.5}, {21.5, 0}});
  AddSection(program, 90, Over(11.5, -11.5, 21.5));
  const auto solid = Carve(program);
  ExpectClosed(*solid);
  EXPECT_NEAR(EnclosedVolume(*solid), 42 * 22 * 10 + 2 * 17 * 22 * 11, 2 * Tolerance(42 * 22));
}

TEST(CarveSolid, MovesAboveThePathOnlyCut) {
  // After the section the wire climbs over the top and comes down on the other side
  // at the same rotary position: the solid is still the box the section leaves.
  NcMotionList program;
  AddSection(program, 0,
             {{-11.5, 0}, {-11.5, 21.5}, {11.5, 21.5}, {11.5, 0}, {11.5, 40}, {-30, 40}});
  AddSection(program, 90, Over(11.5, -11.5, 21.5));
  const auto solid = Carve(program);
  ExpectClosed(*solid);
  EXPECT_NEAR(EnclosedVolume(*solid), 22 * 22 * 21, Tolerance(22 * 22));
}

TEST(CarveSolid, RefusesWhatCannotBeSliced) {
  NcMotionList flat;
  AddSection(flat, 0, {{-5, 0}, {5, 0}});
  std::unique_ptr<FacetTable> solid;
  EXPECT_FALSE(CarveSolid(WireFrame{0, 0, 0, 0}, flat, 0, kStep, solid));
  EXPECT_FALSE(CarveSolid(WireFrame{0, 0, 0, kWire}, NcMotionList{}, 0, kStep, solid));
  NcMotionList program;
  AddSection(program, 0, Over(-11.5, 11.5, 21.5));
  EXPECT_FALSE(CarveSolid(WireFrame{0, 0, 0, kWire}, program, 0, 0, solid));
  EXPECT_FALSE(CarveSolid(WireFrame{0, 0, 0, kWire}, program, 0, 1e-8, solid));
  EXPECT_FALSE(solid);
}

TEST(MeasureCarved, GivesTheMaterialLeftAroundTheModel) {
  NcMotionList program;
  AddSection(program, 0, Over(-11.5, 11.5, 21.5));
  AddSection(program, 90, Over(11.5, -11.5, 21.5));
  const auto solid = Carve(program);
  FacetTable model(64);
  testing::AddBox(model, -10, 10, -10, 10, 0, 20);
  const CarvedDeviation d = MeasureCarved(*solid, model, SilhouetteTree(model), kStep);
  ASSERT_TRUE(d.ModelVolume.has_value());
  EXPECT_NEAR(*d.ModelVolume, 8000, 1e-3);
  EXPECT_NEAR(*d.Excess(), 22 * 22 * 21 - 8000, Tolerance(22 * 22));
  EXPECT_NEAR(*d.ExcessPercent(), *d.Excess() / 80, 1e-9);
  // The top corners: 1 mm out on both sides and 1 mm up.
  EXPECT_NEAR(d.LargestDistance, std::sqrt(3.0), kStep);

  // Without its top the model has no volume, but the distance is still known.
  FacetTable open(64);
  testing::AddBox(open, -10, 10, -10, 10, 0, 20);
  open.FacetCount -= 2;
  std::swap(open.Facets[2], open.Facets[10]);
  std::swap(open.Facets[3], open.Facets[11]);
  const CarvedDeviation o = MeasureCarved(*solid, open, SilhouetteTree(open), kStep);
  EXPECT_FALSE(o.ModelVolume.has_value());
  EXPECT_FALSE(o.Excess().has_value());
  EXPECT_GT(o.LargestDistance, 1);
}

TEST(ClosedVolume, TellsAClosedModelFromOpenOrMixedOnes) {
  FacetTable box(64);
  testing::AddBox(box, 0, 2, 0, 3, 0, 4);
  EXPECT_NEAR(ClosedVolume(box).value_or(0), 24, 1e-9);
  FacetTable flipped(64);
  testing::AddBox(flipped, 0, 2, 0, 3, 0, 4);
  std::swap(flipped.Facets[0].V2, flipped.Facets[0].V3);
  EXPECT_FALSE(ClosedVolume(flipped));
  FacetTable doubled(64);
  testing::AddBox(doubled, 0, 2, 0, 3, 0, 4);
  testing::AddBox(doubled, 0, 2, 0, 3, 0, 4);
  EXPECT_FALSE(ClosedVolume(doubled));
  EXPECT_FALSE(ClosedVolume(FacetTable(4)));
}

}  // namespace
}  // namespace vantora
