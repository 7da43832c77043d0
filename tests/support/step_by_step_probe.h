#pragma once

// The probe compensation by its definition, ball after ball: what the fast line-by-line
// computation is checked and measured against. Its cost grows with the square of the
// ball's reach.

#include <algorithm>

#include "core/scan/probe_compensation.h"

namespace vantora::testing {

// The contribution of one raw point [i][j] of height z: a ball resting with its lowest
// point at z lowers every BaseGrid cell it reaches to its underside and marks it;
// neighbours beyond the grid fall onto its border. Points at or above ScanTopZ lower
// nothing. SetProbeRadius must have run.
inline void CompensatePoint(TDataModule1& store, int i, int j, float z) {
  if (z >= store.ScanTopZ) return;
  const float top = z + store.ProbeRadius;
  const int n = store.ProbeRadiusCells;
  for (int dj = 0; dj <= n; ++dj) {
    for (int di = 0; di <= n; ++di) {
      const auto depth = BallUndersideDepth(di, dj, store.ScanPitch, store.ProbeRadius);
      if (!depth) continue;
      const float zc = top - *depth;
      const int right = std::min(i + di, store.ScanMaxI), left = std::max(i - di, 0);
      const int up = std::min(j + dj, store.ScanMaxJ), down = std::max(j - dj, 0);
      for (GridCell* cell : {&store.BaseGrid.At(right, up), &store.BaseGrid.At(right, down),
                             &store.BaseGrid.At(left, up), &store.BaseGrid.At(left, down)}) {
        if (zc < cell->Z) {
          cell->Z = zc;
          cell->Marked = 1;
        }
      }
    }
  }
}

// The definition over a whole scan: SetProbeRadius, then CompensatePoint for every raw
// point, line by line.
inline void CompensateProbeStepByStep(TDataModule1& store) {
  SetProbeRadius(store);
  for (int j = 0; j <= store.ScanMaxJ; ++j) {
    for (int i = 0; i <= store.ScanMaxI; ++i) {
      CompensatePoint(store, i, j, store.ScanGrid.At(i, j).Z);
    }
  }
}

}  // namespace vantora::testing
