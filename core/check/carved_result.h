#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/check/carved_measure.h"
#include "core/check/nc_replay.h"
#include "core/check/silhouette_tree.h"
#include "core/check/wire_motion.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// What one section of a program (its moves at one rotary position C) removes that no
// other section removes: the stock the others leave at its slices and it does not (mm³),
// and the length of its path (mm). Idle sections remove nothing that the program's
// sections that are not idle do not remove: the program could do without all of them.
struct SectionShare {
  double C = 0;
  double PathLength = 0;
  double SoleVolume = 0;
  bool Idle = false;
};

// The solid a program leaves standing, in the model's frame (mm), the slices it was
// built from, its deviation and each section's share, in program order.
struct CarvedResult {
  std::unique_ptr<FacetTable> Solid;  // closed, normals outward
  std::vector<CarvedSlice> Slices;    // from the lowest up, one slice step apart
  CarvedDeviation Deviation;
  std::vector<SectionShare> Shares;
};

// What the stock holds besides every path: the model as it stands (mm).
struct StockExtent {
  double Bottom = 0;  // the platform, where the stock begins
  double Top = 0;     // the model's highest point
  double Reach = 0;   // the model's farthest point from the axis
};

// The stock a program cuts: the square about the axis that holds the model and every
// section's path, from stock.Bottom up. In each section (the program's moves at one
// rotary position) the wire leaves standing everything below the start height (the
// path's lowest height) and, above it, what its path encloses from where it first
// climbs out of the start height to where it first comes back; a path that never comes
// back severs nothing. Every move at that position takes the wire's radius along it.
// The solid is sliced every `sliceStep` mm of height; a slice is exact (the stock cut
// by every section's strips), and neighbouring slices are joined by the hull between
// them, so the solid lies within one step of the exact one. Refused at once when the
// slices or the work would exceed what is carved in about a second, and when a slice
// falls into more pieces or the solid into more facets than can be built.
Status CarveSolid(const WireFrame& frame, const NcMotionList& motion, const StockExtent& stock,
                  double sliceStep, CarvedResult& result);

// Carves the program `motion` on the model set up on the store's raster (as the program
// check does), the model's facets standing at `standAngle`, sliced at the set-up's
// resolution, and measures it.
Status CarveNcProgram(const FacetTable& model, const SilhouetteTree& tree,
                      const TDataModule1& store, double standAngle, const NcMotionList& motion,
                      CarvedResult& result);

// What the carved view colours: for each facet of the solid the material it leaves over
// the model (mm: its centre's distance from the model, within `slack`), and for each
// facet of the model whether the program takes it (its centre lies outside the solid's
// slice nearest it, beyond the check's tolerance; none where the deviation says the
// program takes nothing).
struct CarvedColouring {
  std::vector<float> MaterialLeft;
  std::vector<bool> Taken;
};
CarvedColouring ColourCarved(const CarvedResult& carved, const FacetTable& model,
                             const SilhouetteTree& tree, double slack);

}  // namespace vantora
