#pragma once

#include <algorithm>

#include "core/common/truncate.h"
#include "core/model/section_raster.h"

namespace vantora {

// The cells of one raster axis, looked up against the raster's exact cell edges, so
// that a sample lands in the cell NearestCell(v / Resolution) + offset gives it.
class CellLadder {
 public:
  CellLadder(const SectionRaster::CellEdges& edges, float resolution, int offset)
      : edges_(edges.Edges.data()),
        cells_(edges.Cells),
        perCell_(1.0 / resolution),
        offset_(offset) {}

  int Cells() const { return cells_; }

  // The cell of v: -1 below the raster, Cells() above it. Starts from the cell rule with
  // a multiplication for the division, which is rarely a cell off, and settles on the
  // edges.
  int Locate(double v) const {
    const double cellRule = std::clamp(NearestCell(v * perCell_), -kFar, kFar);
    int k = std::clamp(int(cellRule) + offset_, -1, cells_);
    while (k >= 0 && v < edges_[k]) --k;
    return Climb(v, k);
  }
  // The cell of v, knowing that v lies at or above cell `from`.
  int Climb(double v, int from) const {
    while (from < cells_ && v >= edges_[from + 1]) ++from;
    return from;
  }

 private:
  static constexpr double kFar = 1 << 30;  // beyond every raster, and int-safe

  const double* edges_;
  int cells_;
  double perCell_;
  int offset_;
};

}  // namespace vantora
