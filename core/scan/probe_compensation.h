#pragma once

#include <cmath>
#include <optional>

#include "core/common/host.h"
#include "core/model/data_module.h"

namespace vantora {

// How far the underside of a probe ball of `radius` lies below the ball's centre at the
// neighbour di, dj grid steps of `pitch` away: sqrt(r*r - d*d) with d = sqrt(dx*dx +
// dy*dy), all in f32. Nothing when the ball does not reach the neighbour (d > r).
inline std::optional<float> BallUndersideDepth(int di, int dj, float pitch, float radius) {
  const float dx = float(di) * pitch;
  const float dy = float(dj) * pitch;
  const float d = std::sqrt(dx * dx + dy * dy);
  if (d > radius) return std::nullopt;
  return std::sqrt(radius * radius - d * d);
}

// The radius of a probe ball in grid steps: (probeSize / pitch in f32) x 0.5 in
// double, truncated toward zero (and held within int when the pitch is tiny).
int ProbeRadiusCells(float probeSize, float pitch);

// ProbeRadius and ProbeRadiusCells from ProbeSize and ScanPitch.
void SetProbeRadius(TDataModule1& store);

// Probe-ball compensation of a whole scan: lowers every BaseGrid cell to the lower
// envelope of the balls resting on the raw ScanGrid points and marks the cells it
// lowers. A ball resting with its lowest point at a raw point's height lowers every
// cell it reaches to its underside (neighbours beyond the grid fall onto its border);
// points at or above ScanTopZ lower nothing. The result is bit for bit that of the
// step-by-step definition, ball after ball, that the tests keep. Both grids must hold a cell at every [0..ScanMaxI][0..ScanMaxJ].
void CompensateProbe(TDataModule1& store, Host& host);

}  // namespace vantora
