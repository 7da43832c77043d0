// The section raster against its literal reference and its invariants: fill, growth,
// outline and clearing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "literal_toolpath.h"
#include "scripted_host.h"
#include "core/toolpath/raster_setup.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_mesh.h"
#include "core/toolpath/section_outline.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using testing::LiteralRaster;
using testing::ScriptedHost;
using testing::ToolPathModel;

// A model whose raster is set up over its bounds.
ToolPathModel SetUpModel(void (*build)(FacetTable&), float resolution = 0.2f,
                         float wire = 1.0f) {
  ToolPathModel m;
  build(*m.table);
  testing::FitBounds(*m.store, *m.table);
  m.store->MinZ = 0;
  m.store->Resolution = resolution;
  m.store->WireDia = wire;
  ScriptedHost host;
  EXPECT_TRUE(RasterSetup(*m.store, host));
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

void FillOne(TDataModule1& s, const Vec3& a, const Vec3& b, const Vec3& c) {
  s.TriangleX = {a[0], b[0], c[0]};
  s.TriangleZ = {a[2], b[2], c[2]};
}

void TenMillimetreBox(FacetTable& t) { testing::AddBox(t, -5, 5, -5, 5, 0, 10); }

TEST(FillTriangle, MatchesTheLiteralFillOnRandomFacets) {
  // The raster covers the box only; random facets reach beyond it, so samples outside
  // are dropped too.
  ToolPathModel m = SetUpModel(TenMillimetreBox, 0.2f, 1.0f);
  FacetTable facets(5000);
  testing::AddRandomFacets(facets, 5000, 12.0f, 14.0f, 1.5f, 7);
  LiteralRaster literal(*m.store);
  for (int k = 0; k < facets.FacetCount; ++k) {
    const Facet& f = facets.Facets[std::size_t(k)];
    FillOne(*m.store, f.V1, f.V2, f.V3);
    ClearRaster(*m.store);
    literal.Clear();
    FillTriangle(*m.store);
    testing::LiteralFillTriangle(*m.store, literal);
    ExpectSameRaster(m.store->Raster, literal, "facet");
    if (HasFatalFailure()) FAIL() << "facet " << k;
  }
}

TEST(FillTriangle, AFacetAtOneXFillsItsColumnOverItsHeight) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  FillOne(s, {1.0f, 0, 2.0f}, {1.0f, 1, 4.0f}, {1.0f, 2, 3.0f});
  FillTriangle(s);
  // No edge is hit: the column x = 1 takes the whole height, sampled from z = 2.
  std::set<int> rows;
  for (double z = 2.0; z <= 4.0; z += s.Resolution) {
    rows.insert(int(z / s.Resolution + 0.5) + s.WireMarginCells);
  }
  EXPECT_EQ(rows.size(), 10u);
  const int column = 5 + s.AxisColumn;
  for (int i = 0; i < s.Raster.Columns(); ++i) {
    for (int j = 0; j < s.Raster.Rows(); ++j) {
      EXPECT_EQ(s.Raster.Marked(i, j), i == column && rows.count(j) == 1) << i << "," << j;
    }
  }
}

// An edge parallel to z is never hit: the other two edges bound each column, and in the
// first column, where one of them is met at its end, the crossing decides.
TEST(FillTriangle, EdgesParallelToZAreNeverHit) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  LiteralRaster literal(s);
  for (const auto& [a, b, c] : {std::array<Vec3, 3>{{{0, 0, 0}, {0, 0, 2}, {1, 0, 1}}},
                                std::array<Vec3, 3>{{{1, 0, 1}, {-0.3f, 0, 3.1f}, {-0.3f, 0, 0.7f}}},
                                std::array<Vec3, 3>{{{2.2f, 0, 5}, {0.4f, 0, 5}, {0.4f, 0, 2}}}}) {
    ClearRaster(s);
    literal.Clear();
    FillOne(s, a, b, c);
    FillTriangle(s);
    testing::LiteralFillTriangle(s, literal);
    ExpectSameRaster(s.Raster, literal, "vertical edge");
  }
}

// A first column that hits exactly one edge takes that crossing as its range: one
// sample, where a facet with no previous column has nothing else to go by.
TEST(FillTriangle, FirstColumnWithOneHitTakesTheCrossing) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  std::mt19937 random(11);
  // Right of the axis, where every cell is one resolution wide (truncation toward zero
  // makes the cell at the axis twice as wide), so the first column has a cell of its own.
  std::uniform_real_distribution<float> across(0.5f, 4.5f), up(1, 9);
  int found = 0;
  for (int tries = 0; tries < 200000 && found < 20; ++tries) {
    const Vec3 a{across(random), 0, up(random)};
    const Vec3 b{across(random), 0, up(random)};
    const Vec3 c{across(random), 0, up(random)};
    // The edge arriving at the lowest vertex misses it by rounding?
    const Vec3* p[3] = {&a, &b, &c};
    int low = 0;
    for (int k = 1; k < 3; ++k) low = (*p[k])[0] < (*p[low])[0] ? k : low;
    const Vec3& from = *p[(low + 2) % 3];
    const Vec3& at = *p[low];
    const double xa = from[0], za = from[2], xb = at[0], zb = at[2];
    const double len = std::sqrt((xb - xa) * (xb - xa) + (zb - za) * (zb - za));
    const double zc = (xb - xa) * ((zb - za) / (xb - xa)) + za;
    const double da = std::sqrt((xb - xa) * (xb - xa) + (zc - za) * (zc - za));
    if (da <= len) continue;
    ++found;
    ClearRaster(s);
    FillOne(s, a, b, c);
    FillTriangle(s);
    int column = 0, row = 0;
    ASSERT_TRUE(testing::LiteralCell(xb, s.Resolution, s.AxisColumn, column));
    ASSERT_TRUE(testing::LiteralCell(zb, s.Resolution, s.WireMarginCells, row));
    for (int j = 0; j < s.Raster.Rows(); ++j) {
      EXPECT_EQ(s.Raster.Marked(column, j), j == row) << "first column, row " << j;
    }
  }
  EXPECT_GT(found, 0);
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
    for (int k = 0; k < m.table->FacetCount; ++k) {
      const Facet& f = m.table->Facets[std::size_t(k)];
      const Facet& g = reference.table->Facets[std::size_t(k)];
      ASSERT_EQ(std::memcmp(&f, &g, sizeof f), 0) << "facet " << k;
    }
  }
}

TEST(GrowByWireMargin, GrowsACellIntoASquareOfTwiceTheMarginPlusOne) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  ASSERT_EQ(s.WireMarginCells, 7);
  s.Raster.Mark(40, 50);
  ScriptedHost host;
  GrowByWireMargin(s, host);
  for (int i = 0; i < s.Raster.Columns(); ++i) {
    for (int j = 0; j < s.Raster.Rows(); ++j) {
      EXPECT_EQ(s.Raster.Marked(i, j), std::abs(i - 40) <= 7 && std::abs(j - 50) <= 7);
    }
  }
  s.WireMarginCells = 0;
  ClearRaster(s);
  s.Raster.Mark(40, 50);
  GrowByWireMargin(s, host);
  EXPECT_TRUE(s.Raster.Marked(40, 50));
  EXPECT_FALSE(s.Raster.Marked(41, 50));
  EXPECT_TRUE(host.messages.empty());
}

TEST(MarkOutline, MatchesTheLiteralOnRandomRasters) {
  for (double density : {0.002, 0.05, 0.3, 0.7}) {
    ToolPathModel m = SetUpModel(TenMillimetreBox, 0.1f, 0.3f);
    TDataModule1& s = *m.store;
    LiteralRaster literal(s);
    std::mt19937 random(int(density * 1000));
    std::bernoulli_distribution marked(density);
    for (int i = 0; i < literal.columns; ++i) {
      for (int j = 0; j < literal.rows; ++j) {
        if (marked(random)) MarkBoth(s, literal, i, j);
      }
    }
    ScriptedHost fast, reference;
    MarkOutline(s, fast);
    testing::LiteralMarkOutline(s, literal, reference);
    ExpectSameRaster(s.Raster, literal, "outline");
    EXPECT_EQ(fast.messages, reference.messages);
  }
}

TEST(MarkOutline, WeighsTheEndsOfRunsThatEndInsideTheirLine) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  s.WireMarginCells = 0;
  const int top = s.Raster.Rows() - 1, right = s.Raster.Columns() - 1;
  s.Raster.Mark(10, 10);                                      // a single cell
  for (int i = right - 3; i <= right; ++i) s.Raster.Mark(i, 20);  // a run up to the end
  ScriptedHost host;
  MarkOutline(s, host);
  EXPECT_EQ(s.Raster.OutlineWeight(10, 10), 2);
  EXPECT_EQ(s.Raster.OutlineWeight(right - 3, 20), 2);  // first of its row run
  EXPECT_EQ(s.Raster.OutlineWeight(right - 2, 20), 2);  // a single cell in its column
  EXPECT_EQ(s.Raster.OutlineWeight(11, 10), 0);
  ClearRaster(s);
  for (int j = top - 2; j <= top; ++j) s.Raster.Mark(30, j);  // a column run to the top
  for (int i = 29; i <= 31; ++i) s.Raster.Mark(i, top - 1);
  MarkOutline(s, host);
  EXPECT_EQ(s.Raster.OutlineWeight(30, top - 2), 2);
  EXPECT_EQ(s.Raster.OutlineWeight(30, top - 1), 0);  // inside its row run and its column run
  EXPECT_EQ(s.Raster.OutlineWeight(30, top), 2);      // a single cell in its row
}

// A line with more run ends than the lists hold grows its first 300 only and says so
// once; nothing beyond the lists is written.
TEST(GrowByWireMargin, LinesWithMoreThan300RunEndsGrowTheFirst300) {
  ToolPathModel m = SetUpModel(TenMillimetreBox, 0.01f, 0.005f);
  TDataModule1& s = *m.store;
  ASSERT_GE(s.Raster.Columns(), 800);
  LiteralRaster literal(s);
  for (int i = 0; i < 800; i += 2) MarkBoth(s, literal, i, 100);  // 400 runs in row 100
  for (int j = 0; j < 700 && j < literal.rows; j += 2) MarkBoth(s, literal, 500, j);
  ScriptedHost fast, reference;
  GrowByWireMargin(s, fast);
  testing::LiteralGrowByWireMargin(s, literal, reference);
  EXPECT_FALSE(fast.messages.empty());
  EXPECT_EQ(fast.messages, reference.messages);
  for (const std::string& message : fast.messages) EXPECT_EQ(message, "STL File Error");
  for (int i = 0; i < literal.columns; ++i) {
    for (int j = 0; j < literal.rows; ++j) {
      ASSERT_EQ(s.Raster.Marked(i, j), literal.Marked(i, j) == 1) << i << "," << j;
    }
  }
}

TEST(ClearRaster, LeavesNoMarkOrWeight) {
  ToolPathModel m = SetUpModel(TenMillimetreBox);
  TDataModule1& s = *m.store;
  ScriptedHost host;
  RasterizeSection(s, *m.table, host);
  s.Raster.SetOutlineWeight(0, 0, -1);
  ClearRaster(s);
  for (int i = 0; i < s.Raster.Columns(); ++i) {
    for (int j = 0; j < s.Raster.Rows(); ++j) {
      ASSERT_FALSE(s.Raster.Marked(i, j));
      ASSERT_EQ(s.Raster.OutlineWeight(i, j), 0);
    }
  }
}

}  // namespace
}  // namespace vantora

namespace vantora {
namespace {

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
