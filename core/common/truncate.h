#pragma once

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

}  // namespace vantora
