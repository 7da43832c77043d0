// The section raster against its literal reference and its invariants: fill, growth,
// outline and enclosed cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "literal_toolpath.h"
#include "scripted_host.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_mesh.h"
#include "core/toolpath/section_outline.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using namespace testing;

ToolPathModel SetUpModel(void (*build)(FacetTable&), float resolution = 0.2f,
                         float wire = 1.0f) {
  ToolPathModel m;
  build(*m.table);
  EXPECT_TRUE(testing::SetUpRaster(m, resolution, wire));
  return m;
}

void ExpectSameRaster(const SectionRaster& fast, LiteralRaster& literal, const char* what) {
  ASSERT_EQ(fast.Columns(), literal.columns);
  ASSERT_EQ(fast.Rows(), literal.rows);
  for (int i = 0; i < literal.columns; ++i) {
    for (int j = 0; j < literal.rows; ++j) {
      ASSERT_EQ(fast.Marked(i, j), literal.Marked(i, j) == 1) << what << " cell " << i << "," << j;
      ASSERT_EQ(float(fast.OutlineWeight(i, j)), literal.Weight(i, j))
          << what << " weight " << i << "," << j;
    }
  }
}

void MarkBoth(TDataModule1& s, LiteralRaster& literal, int i, int j) {
  s.Raster.Mark(i, j);
  literal.Marked(i, j) = 1;
}

void TenMillimetreBox(FacetTable& t) { testing::AddBox(t, -5, 5, -5, 5, 0, 10); }

// Facets where the crossings alone do not bound a column: all three corners at one x
// (no edge is hit, the column takes the whole height), an edge parallel to z (never
// hit), and a first column that hits one edge only because the edge arriving at the
// leftmost corner misses it by rounding (that crossing is the column's one sample).
// Then random facets; the raster covers the box only, so samples outside are dropped.
TEST(FillTriangle, MatchesTheLiteralFill) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  FacetTable facets(5100);
  const std::array<Vec3, 3> special[] = {
      {{{1, 0, 2}, {1, 1, 4}, {1, 2, 3}}},
      {{{0, 0, 0}, {0, 0, 2}, {1, 0, 1}}},
      {{{1, 0, 1}, {-0.3f, 0, 3.1f}, {-0.3f, 0, 0.7f}}},
      {{{2.2f, 0, 5}, {0.4f, 0, 5}, {0.4f, 0, 2}}},
      {{{2.67754865f, 0, 8.72566605f}, {1.07289064f, 0, 2.2213552f},
        {2.99398637f, 0, 5.25403023f}}},
      {{{1.43813598f, 0, 1.34710157f}, {3.70543242f, 0, 5.33017969f},
        {3.96153641f, 0, 3.99395704f}}},
      {{{3.43901324f, 0, 1.38163841f}, {1.15778971f, 0, 6.82972956f},
        {2.04314375f, 0, 8.03858757f}}},
  };
  for (const auto& [a, b, c] : special) facets.AddFacet(a, b, c, 1.0f);
  testing::AddRandomFacets(facets, 5000, 12.0f, 14.0f, 1.5f, 7);
  LiteralRaster literal(s);
  for (int k = 0; k < facets.FacetCount; ++k) {
    const Facet& f = facets.Facets[std::size_t(k)];
    const double x[3] = {f.V1[0], f.V2[0], f.V3[0]}, z[3] = {f.V1[2], f.V2[2], f.V3[2]};
    ClearRaster(s);
    literal.Clear();
    FillTriangle(s, x, z);
    testing::LiteralFillTriangle(s, f, literal);
    ExpectSameRaster(s.Raster, literal, "fill");
    if (HasFatalFailure()) FAIL() << "facet " << k;
  }
}

void RandomMesh(FacetTable& t) { testing::AddRandomFacets(t, 4000, 15, 12, 2.5f, 3); }
void Cylinder(FacetTable& t) { testing::AddCylinder(t, 10.05f, 20, 90); }

TEST(RasterizeSection, MatchesTheLiteralSectionAtEveryAngle) {
  for (auto build : {RandomMesh, TenMillimetreBox, Cylinder}) {
    ToolPathModel m = SetUpModel(build);
    TDataModule1& s = *m.store;
    ToolPathModel reference = SetUpModel(build);
    ScriptedHost host;
    LiteralRaster literal(s);
    float literalTurned = 0;
    const SectionMesh mesh(*m.table, s);
    TurnedVertices vertices(mesh, s, 0);
    for (float angle : {0.0f, 5.0f, 10.0f, 47.5f, 180.0f, 359.0f}) {
      ClearRaster(s);
      literal.Clear();
      vertices.RotateModel(angle);
      vertices.LocateColumns(s.Raster);
      FillSection(s, mesh, vertices, s.Raster);
      MarkOutline(s, host);
      testing::LiteralRotateModel(*reference.table, literalTurned, angle);
      testing::LiteralRasterizeSection(*reference.store, *reference.table, literal, host);
      ExpectSameRaster(s.Raster, literal, "section");
      // The set-up's path, straight from the table, gives the same section.
      vertices.StoreInto(*m.table);
      ClearRaster(s);
      RasterizeSection(s, *m.table, host);
      ExpectSameRaster(s.Raster, literal, "section from the table");
    }
    EXPECT_EQ(vertices.TurnAngle(), 359.0f);
    // Clearing forgets every weight, also one set outside the outline it grew from.
    s.Raster.SetOutlineWeight(0, 0, -1);
    ClearRaster(s);
    literal.Clear();
    ExpectSameRaster(s.Raster, literal, "cleared");
    for (int k = 0; k < m.table->FacetCount; ++k) {
      const Facet& f = m.table->Facets[std::size_t(k)];
      const Facet& g = reference.table->Facets[std::size_t(k)];
      ASSERT_EQ(std::memcmp(&f, &g, sizeof f), 0) << "facet " << k;
    }
  }
}

// Random marks of each density, grown by each margin (none, one cell, the set-up's
// eight), all such that the grown marks enclose no hole: the literal outline leaves holes
// open, where the engine marks them (MarkEnclosedCells, tested on its own). Last, a fine
// raster whose row 100 holds 400 runs and column 500 350, grown by two cells: a line with
// more run ends than the lists hold grows its first 300 only and says so; nothing beyond
// the lists is written.
TEST(MarkOutline, MatchesTheLiteralOnRandomRasters) {
  const struct {
    double density;
    int margin;
    float resolution = 0.1f, wire = 0.3f;
  } cases[] = {{0.002, 8}, {0.002, 1}, {0.05, 0}, {0.3, 3}, {0.7, 8}, {0, 2, 0.01f, 0.005f}};
  for (const auto& c : cases) {
    ToolPathModel m = SetUpModel(TenMillimetreBox, c.resolution, c.wire);
    TDataModule1& s = *m.store;
    s.WireMarginCells = c.margin;
    LiteralRaster literal(s);
    std::mt19937 random(int(c.density * 1000));
    std::bernoulli_distribution marked(c.density);
    for (int i = 0; i < literal.columns; ++i) {
      for (int j = 0; j < literal.rows; ++j) {
        if (marked(random)) MarkBoth(s, literal, i, j);
      }
    }
    if (c.density == 0) {
      ASSERT_GE(s.Raster.Columns(), 800);
      for (int i = 0; i < 800; i += 2) MarkBoth(s, literal, i, 100);
      for (int j = 0; j < 700 && j < literal.rows; j += 2) MarkBoth(s, literal, 500, j);
    }
    ScriptedHost fast, reference;
    MarkOutline(s, fast);
    testing::LiteralMarkOutline(s, literal, reference);
    ExpectSameRaster(s.Raster, literal, "outline");
    EXPECT_EQ(fast.messages, reference.messages);
    EXPECT_EQ(fast.messages.empty(), c.density != 0) << c.density;
  }
}

// A round margin marks exactly the cells whose centre lies within the radius of a marked
// cell's centre, by the Euclidean distance measured cell by cell: random marks and the
// raster's corners, radii below one cell, between whole cells and on them, wider than words.
TEST(GrowByWireMargin, RoundMarginIsTheDiscOfItsRadius) {
  const std::pair<double, double> cases[] = {{0.001, 0.9}, {0.001, 2.3}, {0.002, 3},
                                             {0.01, 3.71}, {0.05, 1.5},  {0.0005, 70.2}};
  for (const auto& [density, radius] : cases) {
    ToolPathModel m = SetUpModel(TenMillimetreBox, 0.1f, 0.3f);
    TDataModule1& s = *m.store;
    s.Margin.Shape = MarginShape::Round, s.WireMarginRadius = radius;
    const int columns = s.Raster.Columns(), rows = s.Raster.Rows();
    std::vector<std::pair<int, int>> marks = {{0, 0}, {columns - 1, rows - 1}};
    std::mt19937 random(int(radius * 100));
    for (int k = 0; k < columns * rows; ++k) {
      if (std::bernoulli_distribution(density)(random)) marks.emplace_back(k / rows, k % rows);
    }
    for (const auto& [i, j] : marks) s.Raster.Mark(i, j);
    ScriptedHost host;
    GrowByWireMargin(s, host);
    for (int k = 0; k < columns * rows; ++k) {
      const int i = k / rows, j = k % rows;
      const bool near = std::any_of(marks.begin(), marks.end(), [&](const auto& p) {
        return std::pow(p.first - i, 2) + std::pow(p.second - j, 2) <= radius * radius;
      });
      ASSERT_EQ(s.Raster.Marked(i, j), near) << radius << " cell " << i << "," << j;
    }
  }
}

// Rings of marked cells across word boundaries: what they enclose is marked, unless a
// 4-connected gap lets the border reach in (a diagonal gap does not).
TEST(MarkEnclosedCells, MarksWhatTheBorderCannotReach) {
  enum Gap { kNone, kStraight, kDiagonal };
  const struct {
    Gap gap;
    bool holeMarked;
  } cases[] = {{kNone, true}, {kStraight, false}, {kDiagonal, true}};
  for (const auto& c : cases) {
    SectionRaster raster;
    raster.Resize(20, 150);
    const int i0 = 3, i1 = 15, j0 = 50, j1 = 100;  // the ring's rows span two words
    for (int i = i0; i <= i1; ++i) raster.Mark(i, j0), raster.Mark(i, j1);
    for (int j = j0; j <= j1; ++j) raster.Mark(i0, j), raster.Mark(i1, j);
    if (c.gap == kStraight) raster.Unmark(i1, 70);
    if (c.gap == kDiagonal) {
      // The corner cell opens only diagonally: its two 4-neighbours inside stay marked.
      raster.Unmark(i1, j1);
      raster.Mark(i1 - 1, j1 - 1);
    }
    MarkEnclosedCells(raster);
    EXPECT_EQ(raster.Marked(8, 75), c.holeMarked) << c.gap;
    EXPECT_EQ(raster.Marked(i1 - 1, j0 + 1), c.holeMarked) << c.gap;
    EXPECT_FALSE(raster.Marked(1, 75)) << c.gap;    // outside stays clear
    EXPECT_FALSE(raster.Marked(8, 149)) << c.gap;   // the top row too
  }
}

}  // namespace
}  // namespace vantora
