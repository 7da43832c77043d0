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

// The corners of the one square of a 2 x 2 grid, by name.
const Vec3 A{0, 0, 0}, B{1, 0, 0}, C{1, 10, 0}, D{0, 10, 0};

Vec3 At(Vec3 corner, float z) { return {corner[0], corner[1], z}; }

struct Square {
  // Heights of A, B, C, D.
  Square(float a, float b, float c, float d, bool reversed = false)
      : store(HeightGrid(2, {a, b, d, c})),
        status(BuildFaces(*store, *table, reversed)),
        a_(At(A, a)), b_(At(B, b)), c_(At(C, c)), d_(At(D, d)) {}

  std::vector<std::array<Vec3, 3>> Facets() const {
    std::vector<std::array<Vec3, 3>> facets;
    for (int k = 0; k < table->FacetCount; ++k) {
      const Facet& f = table->Facets[std::size_t(k)];
      facets.push_back({f.V1, f.V2, f.V3});
    }
    return facets;
  }

  std::unique_ptr<TDataModule1> store;
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(16);
  Status status;
  Vec3 a_, b_, c_, d_;
};

using Facets = std::vector<std::array<Vec3, 3>>;

TEST(BuildFaces, DiagonalChoice) {
  {
    const Square s(1, 0, 1, 0);  // A-C carries more
    EXPECT_EQ(s.Facets(), (Facets{{s.a_, s.b_, s.c_}, {s.a_, s.c_, s.d_}}));
  }
  {
    const Square s(0, 1, 0, 0);  // B-D carries more; B + D + A = 1 keeps the second
    EXPECT_EQ(s.Facets(), (Facets{{s.b_, s.c_, s.d_}, {s.b_, s.d_, s.a_}}));
  }
  {
    const Square s(1, 0, 0, 0);  // A + D + C = 1 keeps the second triangle too
    EXPECT_EQ(s.Facets(), (Facets{{s.a_, s.b_, s.c_}, {s.a_, s.c_, s.d_}}));
  }
  {
    const Square s(0.5f, 1, 0.5f, 0);  // a tie goes to A-C
    EXPECT_EQ(s.Facets(), (Facets{{s.a_, s.b_, s.c_}, {s.a_, s.c_, s.d_}}));
  }
}

TEST(BuildFaces, PlatformTrianglesAreDropped) {
  EXPECT_TRUE(Square(0, 0, 0, 0).Facets().empty());
  EXPECT_TRUE(Square(-1, 0.5f, 0.5f, -1).Facets().empty());  // both sums 0 or below
  // The first triangle follows the diagonal alone; the second needs its three corners
  // to add up to more than 0.
  const Square ac(1, -5, 0, -2);
  EXPECT_EQ(ac.Facets(), (Facets{{ac.a_, ac.b_, ac.c_}}));
  const Square bd(-2, 2, 0, -1);
  EXPECT_EQ(bd.Facets(), (Facets{{bd.b_, bd.c_, bd.d_}}));
}

TEST(BuildFaces, ReversedWindingSwapsFirstAndThirdCorner) {
  const Square s(1, 0, 1, 0, true);
  EXPECT_EQ(s.Facets(), (Facets{{s.c_, s.b_, s.a_}, {s.d_, s.c_, s.a_}}));
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
    EXPECT_EQ(table.Facets[std::size_t(k)].V1[0], firstX[k]) << k;
    EXPECT_EQ(table.Facets[std::size_t(k)].V1[1], firstY[k]) << k;
    EXPECT_EQ(table.Facets[std::size_t(k)].V1[2], 0.5f) << k;
  }
}

TEST(BuildFaces, SingleLineOrColumnGivesNothing) {
  FacetTable table(16);
  EXPECT_TRUE(BuildFaces(*HeightGrid(4, {1, 1, 1, 1}), table, false));
  EXPECT_TRUE(BuildFaces(*HeightGrid(1, {1, 1, 1, 1}), table, false));
  EXPECT_EQ(table.FacetCount, 0);
}

TEST(BuildFaces, StopsWhenTheTableIsFull) {
  auto store = HeightGrid(3, {1, 1, 1, 1, 1, 1});
  FacetTable table(3);
  const Status s = BuildFaces(*store, table, false);
  EXPECT_EQ(s.code(), ErrorCode::CapacityExceeded);
  EXPECT_EQ(s.message(),
            "The scan gives more facets than a view can hold (3): the faces beyond that were "
            "left out.");
  EXPECT_EQ(table.FacetCount, 3);
}

}  // namespace
}  // namespace vantora
