#include "core/toolpath/outline_walk.h"

#include <algorithm>
#include <array>

#include "core/common/truncate.h"

namespace vantora {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// The walk's neighbours in the order it tries them: left, then counterclockwise.
constexpr std::array<int, 8> kNeighbourDi{-1, -1, 0, 1, 1, 1, 0, -1};
constexpr std::array<int, 8> kNeighbourDj{0, 1, 1, 1, 0, -1, -1, -1};

}  // namespace

TraceWindow OutlineWalk::WindowOf(const TDataModule1& s) {
  return {TruncateToInt(NearestCell(s.BeginRange / s.Resolution) + s.AxisColumn),
          TruncateToInt(NearestCell(s.EndRange / s.Resolution) + s.AxisColumn),
          TruncateToInt(s.StartHeight / s.Resolution + 0.5 + s.WireMarginCells + 1.0)};
}

void OutlineWalk::TraceOutline() {
  closing_ = false;
  first_ = true;
  pending_ = false;
  runDi_ = runDj_ = 0;
  window_ = WindowOf(store_);
  i_ = window_.MinI;
  j_ = window_.MinJ;
  if (!FindStart()) return;
  EmitPathPoint(i_, j_);
  j_ += 1;
  store_.Raster.SetOutlineWeight(i_, j_, 0);
  while (TraceStep(2) || TraceStep(1)) {
  }
  closing_ = true;
  EmitPathPoint(i_, j_);
}

// Reads row MinJ from column MinI rightward (up to MaxI - 1), then the
// rows above it, for a cell of weight 2. The search stops before any row above
// RasterMaxJ - 1, the last row a step may use. When BeginRange lies right of EndRange
// it stops at once, whatever the weight of its first cell.
bool OutlineWalk::FindStart() {
  const TDataModule1& s = store_;
  const int lastRow = s.RasterMaxJ - 1;
  if (window_.MinI > window_.MaxI) return j_ <= lastRow;
  // Only cells inside the raster can weigh 2: rows below it and columns beside it are
  // skipped rather than read one by one.
  const int first = std::max(window_.MinI, 0);
  const int last = std::min(std::max(window_.MinI, window_.MaxI - 1), s.Raster.Columns() - 1);
  for (int j = std::max(j_, 0); j <= lastRow; ++j) {
    for (int i = first; i <= last; ++i) {
      if (s.Raster.OutlineWeight(i, j) == 2) {
        i_ = i;
        j_ = j;
        return true;
      }
    }
  }
  return false;
}

bool OutlineWalk::InWindow() const {
  return i_ <= window_.MaxI + 1 && i_ >= window_.MinI - 1 && j_ >= window_.MinJ &&
         j_ <= store_.RasterMaxJ - 1;
}

bool OutlineWalk::TraceStep(int threshold) {
  SectionRaster& raster = store_.Raster;
  if (!InWindow()) return false;
  for (int k = 0; k < 8; ++k) {
    const int i = i_ + kNeighbourDi[std::size_t(k)];
    const int j = j_ + kNeighbourDj[std::size_t(k)];
    if (raster.OutlineWeight(i, j) >= threshold) {
      raster.SetOutlineWeight(i_, j_, raster.OutlineWeight(i_, j_) - 1);
      EmitPathPoint(i, j);
      i_ = i;
      j_ = j;
      return true;
    }
  }
  return false;
}

// A point continuing a straight run is held back as pending; it is stored when the
// run turns, reverses or goes on diagonally, so a straight run yields its first and
// last cell and a turn from a vertical into a horizontal run keeps its corner.
PathPoint OutlineWalk::PointOf(const TDataModule1& s, int i, int j) {
  return {float(i - s.AxisColumn) * s.Resolution, float(j) * s.Resolution + float(s.MinZ)};
}

bool OutlineWalk::EndedInDeadEnd() const { return !store_.ToolPath.empty() && InWindow(); }

void OutlineWalk::EmitPathPoint(int i, int j) {
  const auto [x, y] = PointOf(store_, i, j);
  if (first_) {
    StorePoint(x, y);
    pending_ = false;
    first_ = false;
    previousI_ = i;
    previousJ_ = j;
    previousX_ = x;
    previousY_ = y;
  }
  const int di = Sign(i - previousI_), dj = Sign(j - previousJ_);
  const bool straight = di == 0 || dj == 0;
  if (straight && !closing_) {
    const bool moved = di != 0 || dj != 0;
    const bool runTurns = (runDi_ != 0 || runDj_ != 0) && (di != runDi_ || dj != runDj_);
    if (pending_ && moved && runTurns) StorePoint(previousX_, previousY_);
    pending_ = true;
    if (moved) {
      runDi_ = di;
      runDj_ = dj;
    }
  } else {
    if (pending_) {
      StorePoint(previousX_, previousY_);
      pending_ = false;
    }
    StorePoint(x, y);
  }
  previousI_ = i;
  previousJ_ = j;
  previousX_ = x;
  previousY_ = y;
}

void OutlineWalk::StorePoint(float x, float y) {
  store_.ToolPath.push_back({x, y});
  runDi_ = runDj_ = 0;
  host_.ProcessPendingMessages();
}

}  // namespace vantora
