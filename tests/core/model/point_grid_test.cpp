#include "core/model/point_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantora {
namespace {

TEST(PointGrid, SlotsFromZeroTo5999) {
  PointGrid grid;
  for (auto [i, j] : {std::pair{0, 0}, {5999, 0}, {0, 5999}, {5999, 5999}, {63, 64}}) {
    GridCell& cell = grid.Create(i, j);
    cell.Z = float(i + j);
    EXPECT_EQ(grid.Find(i, j), &cell);
    EXPECT_EQ(grid.At(i, j).Z, float(i + j));
  }
  EXPECT_EQ(grid.Find(6000, 0), nullptr);
  EXPECT_EQ(grid.Find(0, -1), nullptr);
  EXPECT_EQ(grid.Find(1, 0), nullptr);  // same tile as (0, 0), still empty
  EXPECT_THROW(grid.Create(6000, 0), std::out_of_range);
  EXPECT_EQ(grid.AllocatedTiles(), 5u);
}

}  // namespace
}  // namespace vantora
