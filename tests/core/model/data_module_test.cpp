#include "core/model/data_module.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantora {
namespace {

TEST(TDataModule1, StartsWithTheDefaults) {
  const auto s = std::make_unique<TDataModule1>();
  EXPECT_EQ(s->MaxX, 0.0);
  EXPECT_EQ(s->MinZ, 0.0);
  EXPECT_EQ(s->Resolution, 0.2f);
  EXPECT_EQ(s->WireDia, 1.5f);
  EXPECT_EQ(s->GridLimit, 6000);
  EXPECT_EQ(s->PathFirst, 1);
  EXPECT_EQ(s->WireMarginCells, 3);
  EXPECT_EQ(s->ToolPathReady, 0);
  EXPECT_EQ(TDataModule1::NeighbourDx, (std::array<int, 8>{-1, -1, 0, 1, 1, 1, 0, -1}));
  EXPECT_EQ(TDataModule1::NeighbourDy, (std::array<int, 8>{0, 1, 1, 1, 0, -1, -1, -1}));
  EXPECT_EQ(s->ScanGrid.Find(0, 0), nullptr);
  EXPECT_EQ(s->BaseGrid.Find(5999, 5999), nullptr);
  EXPECT_EQ(s->ScanGrid.AllocatedTiles(), 0u);
}

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

TEST(PointGrid, CreateReplacesWithAFreshCell) {
  PointGrid grid;
  GridCell& cell = grid.Create(7, 9);
  cell = {1, 2, 3, 1};
  const GridCell& fresh = grid.Create(7, 9);
  EXPECT_EQ(fresh.X, 0);
  EXPECT_EQ(fresh.Z, 0);
  EXPECT_EQ(fresh.Marked, 0);
  grid.Clear();
  EXPECT_EQ(grid.Find(7, 9), nullptr);
  EXPECT_EQ(grid.AllocatedTiles(), 0u);
}

}  // namespace
}  // namespace vantora
