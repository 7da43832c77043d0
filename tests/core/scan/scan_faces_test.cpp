#include "core/scan/scan_faces.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantora {
namespace {

// A compensated grid whose cell [i][j] lies at (i, 10 j) with the given heights, one
// line of `width` heights after another.
std::unique_ptr<TDataModule1> HeightGrid(int width, const std::vector<float>& heights) {
  auto store = std::make_unique<TDataModule1>();
  const int lines = int(heights.size()) / width;
  store->ScanMaxI = width - 1;
  store->ScanMaxJ = lines - 1;
  store->ViewDistance = 1.0f;
  for (int j = 0; j < lines; ++j) {
    for (int i = 0; i < width; ++i) {
      GridCell& cell = store->BaseGrid.Create(i, j);
      cell.X = float(i);
      cell.Y = float(10 * j);
      cell.Z = heights[std::size_t(j * width + i)];
    }
  }
  return store;
}

// The facets built from the one square of a 2 x 2 grid with the heights of its corners
// A (0, 0), B (1, 0), C (1, 10) and D (0, 10), named by their corners: "ABC ACD".
std::string SquareFacets(std::array<float, 4> abcd, bool reversed = false) {
  const auto store = HeightGrid(2, {abcd[0], abcd[1], abcd[3], abcd[2]});
  FacetTable table(16);
  EXPECT_TRUE(BuildFaces(*store, table, reversed));
  std::string names;
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    if (k > 0) names += ' ';
    for (const Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const int corner = (*v)[1] == 0 ? ((*v)[0] == 0 ? 0 : 1) : ((*v)[0] == 0 ? 3 : 2);
      EXPECT_EQ((*v)[2], abcd[std::size_t(corner)]) << "height of corner " << corner;
      names += char('A' + corner);
    }
  }
  return names;
}

TEST(BuildFaces, DiagonalChoicePlatformTrianglesAndWinding) {
  const struct {
    std::array<float, 4> abcd;
    bool reversed;
    const char* facets;
  } cases[] = {
      {{1, 0, 1, 0}, false, "ABC ACD"},  // A-C carries more
      {{0, 1, 0, 0}, false, "BCD BDA"},  // B-D carries more; B + D + A = 1 keeps the second
      {{1, 0, 0, 0}, false, "ABC ACD"},  // A + D + C = 1 keeps the second triangle too
      {{0.5f, 1, 0.5f, 0}, false, "ABC ACD"},  // a tie goes to A-C
      {{1, 0, 1, 0}, true, "CBA DCA"},
      // Triangles on the platform are dropped: the first follows the diagonal alone,
      // the second needs its three corners to add up to more than 0.
      {{0, 0, 0, 0}, false, ""},
      {{-1, 0.5f, 0.5f, -1}, false, ""},
      {{1, -5, 0, -2}, false, "ABC"},
      {{-2, 2, 0, -1}, false, "BCD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SquareFacets(c.abcd, c.reversed), c.facets)
        << c.abcd[0] << " " << c.abcd[1] << " " << c.abcd[2] << " " << c.abcd[3];
  }
}

TEST(BuildFaces, SquaresInLineOrderInViewUnits) {
  auto store = HeightGrid(3, {1, 1, 1, 1, 1, 1, 1, 1, 1});
  store->ViewDistance = 2.0f;
  FacetTable table(16);
  ASSERT_TRUE(BuildFaces(*store, table, false));
  ASSERT_EQ(table.FacetCount, 8);
  // First corner of each facet: squares [0][0], [1][0], [0][1], [1][1], two facets each.
  const float firstX[] = {0, 0, 0.5f, 0.5f, 0, 0, 0.5f, 0.5f};
  const float firstY[] = {0, 0, 0, 0, 5, 5, 5, 5};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(table.Facets[std::size_t(k)].V1, (Vec3{firstX[k], firstY[k], 0.5f})) << k;
  }
}

TEST(BuildFaces, SingleLineOrColumnGivesNothingAndAFullTableStops) {
  FacetTable table(3);
  EXPECT_TRUE(BuildFaces(*HeightGrid(4, {1, 1, 1, 1}), table, false));
  EXPECT_TRUE(BuildFaces(*HeightGrid(1, {1, 1, 1, 1}), table, false));
  EXPECT_EQ(table.FacetCount, 0);
  EXPECT_EQ(BuildFaces(*HeightGrid(3, {1, 1, 1, 1, 1, 1}), table, false).code(),
            ErrorCode::CapacityExceeded);
  EXPECT_EQ(table.FacetCount, 3);
}

}  // namespace
}  // namespace vantora
