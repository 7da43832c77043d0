#pragma once

#include <cmath>

namespace vantora {

// Converts to int by truncating toward zero, as the cell and key rules ask, but
// saturating at +-2^30 instead of overflowing: values that far out lie outside every
// raster either way, and adding a few cells to them stays within int.
inline int TruncateToInt(double v) {
  constexpr double kLimit = 1 << 30;
  if (v >= kLimit) return 1 << 30;
  if (v <= -kLimit) return -(1 << 30);
  return v == v ? static_cast<int>(v) : 0;
}

// The raster cell of a sample q cells from the rotation axis (or from the platform): the
// nearest whole number, halves away from zero, so that every cell is one cell wide and
// the cells mirror about zero. For q >= 0 it is trunc(q + 0.5).
inline double NearestCell(double q) { return q >= 0 ? std::trunc(q + 0.5) : -std::trunc(0.5 - q); }

}  // namespace vantora
