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

// Over two blocks from -21 to 21 mm, coming down between them to `floor`.
std::vector<PlanePoint> Notched(double top, double floor) {
  return {{-21.5, 0},   {-21.5, top}, {-3.5, top}, {-3.5, floor},
          {3.5, floor}, {3.5, top},   {21.5, top}, {21.5, 0}};
}

NcMotionList Program(std::initializer_list<std::pair<double, std::vector<PlanePoint>>> sections) {
  NcMotionList program;
  for (const auto& [c, path] : sections) AddSection(program, c, path);
  return program;
}

CarvedResult Carve(const NcMotionList& program, const StockExtent& stock = {}) {
  CarvedResult carved;
  EXPECT_TRUE(CarveSolid(WireFrame{0, 0, kWire}, program, stock, kStep, carved));
  return carved;
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

// Two sections round a 20 mm box, starting `start` above where they end.
NcMotionList AroundTheBox(double start, double end) {
  return Program({{0, {{-11.5, start}, {-11.5, 21.5}, {11.5, 21.5}, {11.5, end}}},
                  {90, {{11.5, start}, {11.5, 21.5}, {-11.5, 21.5}, {-11.5, end}}}});
}

NcMotionList Cylinder72() {
  NcMotionList program;
  for (int k = 0; k < 72; ++k) AddSection(program, 5.0 * k, Over(-11.5, 11.5, 21.5));
  return program;
}

// Each solid stands on the platform and is closed, of the volume the wire leaves.
TEST(CarveSolid, EachProgramLeavesAClosedSolidOfItsVolume) {
  const double polygon = 72 * 11 * 11 * std::tan(std::numbers::pi / 72);
  const struct {
    const char* name;
    NcMotionList program;
    double volume, tolerance;
  } cases[] = {
      // A 1 mm wire 1.5 mm off a 20 mm box leaves 22 mm by 22 mm, 21 mm high, also when
      // the paths start a cell above where they end (and end a rounding below it).
      {"box", AroundTheBox(0, 0), 22 * 22 * 21, Tolerance(22 * 22)},
      {"box, paths starting higher", AroundTheBox(0.2, -1e-9), 22 * 22 * 21, Tolerance(22 * 22)},
      // Every section leaves |u| <= 11: the 72-gon prism about a circle of radius 11
      // (the turns are not exactly 5 degrees apart: a little irregular).
      {"cylinder at 72 sections", Cylinder72(), polygon * 21, 0.01 * polygon * 21},
      // From 0 degrees the wire goes down between two boxes; from 90 degrees they stand
      // one behind the other: two blocks 17 mm wide, 22 mm deep and 11 mm high.
      {"gap seen from one side", Program({{0, Notched(11.5, 0)}, {90, Over(11.5, -11.5, 11.5)}}),
       2 * 17 * 22 * 11, Tolerance(2 * 17 * 22)},
      // The wire comes down between the towers to 10.5 mm: the slices split there.
      {"two towers on a base", Program({{0, Notched(21.5, 10.5)}, {90, Over(11.5, -11.5, 21.5)}}),
       42 * 22 * 10 + 2 * 17 * 22 * 11, 2 * Tolerance(42 * 22)},
      // After the section the wire climbs over the top and comes down on the other side
      // at the same rotary position: only the section cuts.
      {"moves above the path",
       Program({{0, {{-11.5, 0}, {-11.5, 21.5}, {11.5, 21.5}, {11.5, 0}, {11.5, 40}, {-30, 40}}},
                {90, Over(11.5, -11.5, 21.5)}}),
       22 * 22 * 21, Tolerance(22 * 22)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CarvedResult carved = Carve(c.program);
    const FacetTable* solid = carved.Solid.get();
    ExpectClosed(*solid);
    EXPECT_NEAR(EnclosedVolume(*solid), c.volume, c.tolerance);
    float lowest = HUGE_VALF;
    for (int k = 0; k < solid->FacetCount; ++k) lowest = std::min(lowest, solid->Facets[k].V1[2]);
    EXPECT_EQ(lowest, 0);
  }
}

TEST(CarveSolid, RefusesWhatCannotBeSliced) {
  CarvedResult carved;
  const WireFrame frame{0, 0, kWire};
  EXPECT_FALSE(CarveSolid(frame, NcMotionList{}, {}, kStep, carved));
  const NcMotionList program = Program({{0, Over(-11.5, 11.5, 21.5)}});
  EXPECT_FALSE(CarveSolid(frame, program, {}, 0, carved));
  EXPECT_FALSE(CarveSolid(frame, program, {}, 1e-8, carved));
  // A program climbing 120 m is refused before a slice is cut.
  EXPECT_FALSE(CarveSolid(frame, Program({{0, Over(-5, 5, 120000)}}), {}, kStep, carved));
  EXPECT_FALSE(carved.Solid);
}

TEST(MeasureCarved, GivesTheMaterialLeftAroundTheModel) {
  const CarvedResult carved =
      Carve(Program({{0, Over(-11.5, 11.5, 21.5)}, {90, Over(11.5, -11.5, 21.5)}}));
  FacetTable model(64);
  testing::AddBox(model, -10, 10, -10, 10, 0, 20);
  const auto measure = [&](const FacetTable& m) {
    return MeasureCarved(*carved.Solid, carved.Slices, m, SilhouetteTree(m), kStep);
  };
  const CarvedDeviation d = measure(model);
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
  const CarvedDeviation o = measure(open);
  EXPECT_FALSE(o.ModelVolume.has_value());
  EXPECT_FALSE(o.Excess().has_value());
  EXPECT_GT(o.LargestDistance, 1);
}

TEST(ClosedVolume, TellsAClosedModelFromOpenOrMixedOnes) {
  const auto boxes = [](int count) {
    auto table = std::make_unique<FacetTable>(64);
    for (int k = 0; k < count; ++k) testing::AddBox(*table, 0, 2, 0, 3, 0, 4);
    return table;
  };
  EXPECT_NEAR(ClosedVolume(*boxes(1)).value_or(0), 24, 1e-9);
  const auto flipped = boxes(1);
  std::swap(flipped->Facets[0].V2, flipped->Facets[0].V3);
  EXPECT_FALSE(ClosedVolume(*flipped));
  EXPECT_FALSE(ClosedVolume(*boxes(2)));
  EXPECT_FALSE(ClosedVolume(*boxes(0)));
}

}  // namespace
}  // namespace vantora
