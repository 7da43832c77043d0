#include "core/toolpath/outline_walk.h"

#include <algorithm>

#include "core/common/truncate.h"

namespace vantora {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void OutlineWalk::TraceOutline() {
  TDataModule1& s = store_;
  s.PathClosing = 0;
  s.PathFirst = 1;
  runDi_ = runDj_ = 0;
  s.TraceMinJ = TruncateToInt(s.StartHeight / s.Resolution + 0.5 + s.WireMarginCells + 1.0);
  s.TraceJ = s.TraceMinJ;
  s.TraceMinI = TruncateToInt((s.BeginRange - s.MinX) / s.Resolution + 0.5);
  s.TraceMaxI = TruncateToInt((s.EndRange - s.MinX) / s.Resolution + 0.5);
  s.TraceI = s.TraceMinI;
  if (!FindStart()) return;
  EmitPathPoint(s.TraceI, s.TraceJ);
  s.TraceJ += 1;
  s.Raster.SetOutlineWeight(s.TraceI, s.TraceJ, 0);
  while (TraceStep(2) || TraceStep(1)) {
  }
  s.PathClosing = 1;
  EmitPathPoint(s.TraceI, s.TraceJ);
}

// Reads row TraceMinJ from column TraceMinI rightward (up to TraceMaxI - 1), then the
// rows above it, for a cell of weight 2. The search stops before any row above
// RasterMaxJ - 1, the last row a step may use. When BeginRange lies right of EndRange
// it stops at once, whatever the weight of its first cell.
bool OutlineWalk::FindStart() {
  TDataModule1& s = store_;
  const int lastRow = s.RasterMaxJ - 1;
  if (s.TraceMinI > s.TraceMaxI) return s.TraceJ <= lastRow;
  // Only cells inside the raster can weigh 2: rows below it and columns beside it are
  // skipped rather than read one by one.
  const int first = std::max(s.TraceMinI, 0);
  const int last = std::min(std::max(s.TraceMinI, s.TraceMaxI - 1), s.Raster.Columns() - 1);
  for (int j = std::max(s.TraceJ, 0); j <= lastRow; ++j) {
    for (int i = first; i <= last; ++i) {
      if (s.Raster.OutlineWeight(i, j) == 2) {
        s.TraceI = i;
        s.TraceJ = j;
        return true;
      }
    }
  }
  return false;
}

bool OutlineWalk::TraceStep(int threshold) {
  TDataModule1& s = store_;
  if (s.TraceI > s.TraceMaxI + 1 || s.TraceI < s.TraceMinI - 1 || s.TraceJ < s.TraceMinJ ||
      s.TraceJ > s.RasterMaxJ - 1) {
    return false;
  }
  for (int k = 0; k < 8; ++k) {
    const int i = s.TraceI + TDataModule1::NeighbourDx[std::size_t(k)];
    const int j = s.TraceJ + TDataModule1::NeighbourDy[std::size_t(k)];
    if (s.Raster.OutlineWeight(i, j) >= threshold) {
      s.Raster.SetOutlineWeight(s.TraceI, s.TraceJ, s.Raster.OutlineWeight(s.TraceI, s.TraceJ) - 1);
      EmitPathPoint(i, j);
      s.TraceI = i;
      s.TraceJ = j;
      return true;
    }
  }
  return false;
}

// A point continuing a straight run is held back as pending; it is stored when the
// run turns, reverses or goes on diagonally, so a straight run yields its first and
// last cell and a turn from a vertical into a horizontal run keeps its corner.
PathPoint OutlineWalk::PointOf(const TDataModule1& s, int i, int j) {
  return {float(i) * s.Resolution + float(s.MinX), float(j) * s.Resolution + float(s.MinZ)};
}

bool OutlineWalk::EndedInDeadEnd() const {
  const TDataModule1& s = store_;
  return s.PathCount > 0 && s.TraceJ >= s.TraceMinJ && s.TraceJ <= s.RasterMaxJ - 1 &&
         s.TraceI >= s.TraceMinI - 1 && s.TraceI <= s.TraceMaxI + 1;
}

void OutlineWalk::EmitPathPoint(int i, int j) {
  TDataModule1& s = store_;
  const auto [x, y] = PointOf(s, i, j);
  if (s.PathFirst == 1) {
    StorePoint(x, y);
    s.PathPending = 0;
    s.PathFirst = 0;
    previousI_ = i;
    previousJ_ = j;
    previousX_ = x;
    previousY_ = y;
  }
  const int di = Sign(i - previousI_), dj = Sign(j - previousJ_);
  const bool straight = di == 0 || dj == 0;
  if (straight && s.PathClosing != 1) {
    const bool moved = di != 0 || dj != 0;
    const bool runTurns = (runDi_ != 0 || runDj_ != 0) && (di != runDi_ || dj != runDj_);
    if (s.PathPending == 1 && moved && runTurns) StorePoint(previousX_, previousY_);
    s.PathPending = 1;
    if (moved) {
      runDi_ = di;
      runDj_ = dj;
    }
  } else {
    if (s.PathPending == 1) {
      StorePoint(previousX_, previousY_);
      s.PathPending = 0;
    }
    StorePoint(x, y);
  }
  previousI_ = i;
  previousJ_ = j;
  previousX_ = x;
  previousY_ = y;
}

void OutlineWalk::StorePoint(float x, float y) {
  TDataModule1& s = store_;
  s.ToolPath.push_back({x, y});
  s.PathCount += 1;
  runDi_ = runDj_ = 0;
  host_.ProcessPendingMessages();
}

}  // namespace vantora
