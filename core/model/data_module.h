#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <optional>
#include <vector>

#include "core/model/point_grid.h"
#include "core/model/section_raster.h"

namespace vantora {

// A turn of the model's facets asked for: mirror the newest facets in Z, then turn all
// of them about Z, X or Y (in that order, each when asked) by `Angle` degrees.
struct ModelTurnRequest {
  bool MirrorZ = false;
  bool RotateX = false, RotateY = false, RotateZ = false;
  float Angle = 0;
};

// Degrees to radians where the operator turns the model in its view: slightly less
// than pi / 180, and every turned model saved since depends on it.
inline constexpr double kDegreesToRadians = 0.01745;
// Degrees to radians of the rotary table: the machine turns it by exact degrees, so the
// sweep, the program check and the carved result turn the model by pi / 180.
inline constexpr double kTableDegreesToRadians = std::numbers::pi / 180;

// The shape a section's silhouette grows by for the wire: a square of the margin's
// cells each way, or a disc of the margin's radius, which keeps the wire's centre as
// far from the model on a slope as on a flat side.
enum class MarginShape { Square, Round };

// What the wire keeps from the model. Without a stock its centre keeps the standard
// margin of trunc((WireDia + 0.5) / Resolution) cells; with a stock A (mm, 0 or more)
// its surface keeps A, its centre WireDia / 2 + A.
struct WireMargin {
  MarginShape Shape = MarginShape::Square;
  std::optional<float> Stock;
};

// The model store: the one object through which every subsystem shares the current
// model's bounds and sizes, the import dialog's placement choice, the scan and
// probe parameters, the two point grids and the tool-path parameters. Lengths in mm,
// angles in degrees. Every field starts at zero except the defaults set here.
struct TDataModule1 {
  // Model bounds and sizes.
  double MaxX = 0, MinX = 0, MaxY = 0, MinY = 0, MaxZ = 0, MinZ = 0;
  float ModelSize = 0;
  float ViewDistance = 0;  // mm per view unit of facets built from scans
  float OutputScale = 0;   // stored facet coordinates x OutputScale = mm
  float ModelDiameter = 0;

  // Scan and touch probe.
  float ScanPitch = 0;
  int ScanMaxI = 0;
  int ScanMaxJ = 0;
  float ScanTopZ = 0;
  float ProbeSize = 0;
  float ProbeRadius = 0;
  int ProbeRadiusCells = 0;

  // Tool-path parameters and working state.
  float Resolution = 0.2f;
  float WireDia = 1.5f;
  WireMargin Margin;
  int WireMarginCells = 3;
  double WireMarginRadius = 3;  // cells; a round margin's disc, WireMarginCells its whole part
  float StartHeight = 0, BeginRange = 0, EndRange = 0;
  float PathTolerance = 0;  // mm a smoothed path may lie from the staircase; 0 keeps it
  int AxisColumn = 0, RasterMaxI = 0, RasterMaxJ = 0;
  int ToolPathReady = 0;

  // Point grids of the scan points. RasterSetup empties them: the section raster and
  // the current section's wire path live in their own compact arrays below.
  PointGrid ScanGrid;
  PointGrid BaseGrid;
  SectionRaster Raster;
  std::vector<PathPoint> ToolPath;  // the current section's wire path
};

}  // namespace vantora
