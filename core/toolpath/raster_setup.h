#pragma once

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/data_module.h"

namespace vantora {

// The raster RasterSetup derives from the model bounds, the resolution and the wire
// diameter.
struct RasterGeometry {
  float Resolution = 0;   // enlarged when the raster would not fit 6000 columns or rows
  bool Enlarged = false;  // the fallback enlarged it
  double HalfWidth = 0;   // the new MaxX; MinX becomes its negative
  int RasterMaxI = 0, RasterMaxJ = 0;
  int AxisColumn = 0, WireMarginCells = 0;
  double WireMarginRadius = 0;  // cells; WireMarginCells is its whole part
};

// A section whose path still reaches into the model after its narrow facets were
// filled whole gets up to this many cells more margin, one at a time; the raster keeps
// room for them above the model and on both sides of it.
constexpr int kMaxExtraMarginCells = 3;

// How far a model reaches in Z.
struct HeightSpan {
  double Lowest = 0, Highest = 0;
};

// Computes the raster for `resolution`, `wireDia` and `margin` over the store's bounds,
// or refuses, changing nothing: a resolution or wire diameter that is not greater than 0,
// a stock that is negative or not finite,
// a model too large for single-precision spans, a model so tall for its width that
// more than 6000 rows would be needed even after enlarging the resolution, a model
// lying so far from the rotation axis that stepping one cell there is lost in rounding,
// and a model that does not stand on the platform. The rows start the wire margin
// below the platform, whatever the bounds: the model's lowest point must lie in them
// and its top reach the platform's row.
Status PlanRaster(const TDataModule1& store, float resolution, float wireDia,
                  const WireMargin& margin, RasterGeometry& geometry);

// The same with the model reaching over `model` in Z rather than from MinZ to MaxZ:
// Cancel to "Move to platform ?" leaves MinZ at 0 wherever the facets lie.
Status PlanRaster(const TDataModule1& store, const HeightSpan& model, float resolution,
                  float wireDia, const WireMargin& margin, RasterGeometry& geometry);

// How far from the axis a walk's cutting range may reach on either side: the raster's
// half width less the cell beside the range a walk may step to. The set-up presets the
// range to it, so the walk starts beyond every outline a section can have.
float RasterReach(const TDataModule1& store);

// Sizes the section raster from the store's bounds, Resolution, WireDia and Margin: MaxX
// and MinX become plus and minus the half width of the turning model, the raster's size,
// axis column and wire margin (cells and radius) are set, ScanGrid and BaseGrid are emptied and every
// raster cell is clear. Shows "Wrie dia > Resolution" when the resolution had to be
// enlarged beyond the wire diameter, and goes on. Refusals as PlanRaster's.
Status RasterSetup(TDataModule1& store, Host& host);

}  // namespace vantora
