#include "core/toolpath/outline_walk.h"

#include <gtest/gtest.h>

#include <optional>

#include "scripted_host.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using testing::ScriptedHost;
using Cells = std::vector<std::pair<int, int>>;

// A clear raster over a 40 mm box at 0.2 mm with a 1 mm wire (margin 7 cells), the
// range from the raster's left edge to the preset end.
testing::ToolPathModel ClearModel() {
  testing::ToolPathModel m;
  testing::AddBox(*m.table, -20, 20, -20, 20, 0, 40);
  EXPECT_TRUE(testing::SetUpRaster(m));
  m.store->BeginRange = -float(m.store->AxisColumn) * m.store->Resolution;
  m.store->EndRange = float(m.store->MaxX);
  return m;
}

void Outline(TDataModule1& s, const Cells& cells) {
  for (auto [i, j] : cells) s.Raster.SetOutlineWeight(i, j, 2);
}

Cells Line(int i0, int j0, int i1, int j1) {
  Cells cells;
  const int di = (i1 > i0) - (i1 < i0), dj = (j1 > j0) - (j1 < j0);
  for (int i = i0, j = j0;; i += di, j += dj) {
    cells.emplace_back(i, j);
    if (i == i1 && j == j1) break;
  }
  return cells;
}

Cells Join(std::initializer_list<Cells> parts) {
  Cells cells;
  for (const Cells& part : parts) cells.insert(cells.end(), part.begin(), part.end());
  return cells;
}

// Up a wall, across the top and down below the start row; the wall alone.
const Cells kArch = Join({Line(10, 8, 10, 20), Line(11, 20, 30, 20), Line(30, 19, 30, 3)});
const Cells kWall = Line(10, 8, 10, 20);

// Walks the outline from scratch; the cells of the path's points, as EmitPathPoint made
// them, and whether the walk ended in a dead end.
Cells Trace(TDataModule1& s, bool* deadEnd = nullptr) {
  s.ToolPath.clear();
  ScriptedHost host;
  OutlineWalk walk(s, host);
  walk.TraceOutline();
  if (deadEnd) *deadEnd = walk.EndedInDeadEnd();
  Cells cells;
  for (const PathPoint& p : s.ToolPath) {
    const auto [i, j] = cells.emplace_back(testing::CellOf(s, p));
    EXPECT_EQ(p.X, float(i - s.AxisColumn) * s.Resolution);
    EXPECT_EQ(p.Y, float(j) * s.Resolution + float(s.MinZ));
  }
  return cells;
}

TEST(TraceOutline, WindowFromStartHeightAndRange) {
  auto m = ClearModel();
  TDataModule1& s = *m.store;
  ASSERT_EQ(s.WireMarginCells, 7);
  const TraceWindow window = OutlineWalk::WindowOf(s);
  EXPECT_EQ(window.MinJ, 8);  // trunc(0 / 0.2 + 0.5 + 7 + 1)
  EXPECT_EQ(window.MinI, 0);
  // Columns are counted from the axis, halves away from it: the preset range lies
  // symmetric about the axis column, one cell in from the raster's edge at least.
  s.BeginRange = float(s.MinX);
  const TraceWindow preset = OutlineWalk::WindowOf(s);
  EXPECT_EQ(preset.MinI + preset.MaxI, 2 * s.AxisColumn);
  EXPECT_GE(preset.MinI, 1);
  for (float x : {0.1f, 0.3f, 0.5f}) {
    s.BeginRange = -x, s.EndRange = x;
    const TraceWindow w = OutlineWalk::WindowOf(s);
    EXPECT_EQ(w.MinI + w.MaxI, 2 * s.AxisColumn) << x;
  }
}

// Straight runs keep their ends, a vertical run turning horizontal keeps its corner, a
// diagonal staircase every cell. The start is stored again when the first move is
// diagonal; the last cell twice. A walk that comes back down below the start row is
// complete; one that runs out of outline above it ends in a dead end.
TEST(TraceOutline, YieldsRunEndsCornersAndStaircaseCellsAndTellsADeadEnd) {
  const Cells up = Line(10, 8, 15, 13), down = Line(16, 12, 21, 7);
  const struct {
    Cells outline;
    std::optional<Cells> path;
    bool deadEnd;
  } cases[] = {
      {kArch, Cells{{10, 8}, {10, 20}, {30, 20}, {30, 7}, {30, 7}}, false},
      {Join({up, down}), Join({{{10, 8}}, up, down, {{21, 7}}}), false},
      {kWall, std::nullopt, true},
  };
  for (const auto& c : cases) {
    auto m = ClearModel();
    Outline(*m.store, c.outline);
    bool deadEnd = false;
    const Cells path = Trace(*m.store, &deadEnd);
    if (c.path) {
      EXPECT_EQ(path, *c.path);
    }
    EXPECT_EQ(deadEnd, c.deadEnd) << path.size();
  }
}

// A window without a fresh outline cell up to the last row a step may use gives no
// point, however high the start height lies.
TEST(TraceOutline, NoStartCellMeansNoPoint) {
  auto m = ClearModel();
  TDataModule1& s = *m.store;
  EXPECT_TRUE(Trace(s).empty());
  Outline(s, Line(10, s.RasterMaxJ, 20, s.RasterMaxJ));  // only on the top row
  EXPECT_TRUE(Trace(s).empty());
  s.StartHeight = 1e6f;
  EXPECT_TRUE(Trace(s).empty());
}

// With the range's begin right of its end the start is the window's first cell,
// whatever its weight; equal ends make the search climb that column alone.
TEST(TraceOutline, RangeBeginRightOfItsEnd) {
  auto m = ClearModel();
  TDataModule1& s = *m.store;
  s.BeginRange = 5.0f;
  s.EndRange = -5.0f;
  const Cells path = Trace(s);
  ASSERT_FALSE(path.empty());
  const TraceWindow window = OutlineWalk::WindowOf(s);
  EXPECT_EQ(path.front(), (std::pair{window.MinI, window.MinJ}));

  s.EndRange = s.BeginRange;
  Outline(s, Line(window.MinI + 1, 30, window.MinI + 1, 40));  // beside the column: unseen
  Outline(s, Line(window.MinI, 50, window.MinI, 60));
  EXPECT_EQ(Trace(s).front(), (std::pair{window.MinI, 50}));
}

}  // namespace
}  // namespace vantora
