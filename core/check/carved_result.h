#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/check/nc_replay.h"
#include "core/check/silhouette_tree.h"
#include "core/check/wire_motion.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// How far what a program leaves standing lies from the model (mm, mm³).
struct CarvedDeviation {
  double SliceStep = 0;               // the height between the solid's slices
  std::optional<double> ModelVolume;  // none when the model is not closed
  double CarvedVolume = 0;
  double LargestDistance = 0;  // from the carved surface to the model: the most
                               // material left anywhere

  // The carved volume beyond the model's, in mm³ and as a share of the model (%).
  std::optional<double> Excess() const;
  std::optional<double> ExcessPercent() const;
};

// The solid a program leaves standing, in the model's frame (mm), and its deviation.
struct CarvedResult {
  std::unique_ptr<FacetTable> Solid;  // closed, normals outward
  CarvedDeviation Deviation;
};

// The stock a program cuts: the square about the axis that holds every section's path,
// from `bottomZ` (the platform) up. In each section (the program's moves at one rotary
// position) the wire leaves standing what its path encloses with the start height (the
// path's lowest height) and everything below that height, less the wire's radius along
// every move at that position. The solid is sliced every `sliceStep` mm of height; a
// slice is exact (the stock cut by every section's strips), and neighbouring slices are
// joined by the hull between them, so the solid lies within one step of the exact one.
// Fails when a slice falls into more pieces than can be joined.
Status CarveSolid(const WireFrame& frame, const NcMotionList& motion, double bottomZ,
                  double sliceStep, std::unique_ptr<FacetTable>& solid);

// The deviation of a carved solid from the model in `tree`, whose facets `model` holds.
CarvedDeviation MeasureCarved(const FacetTable& solid, const FacetTable& model,
                              const SilhouetteTree& tree, double sliceStep);

// Carves the program `motion` on the model set up on the store's raster (as the program
// check does), the model's facets standing at `standAngle`, sliced at the set-up's
// resolution, and measures it.
Status CarveNcProgram(const FacetTable& model, const SilhouetteTree& tree,
                      const TDataModule1& store, double standAngle, const NcMotionList& motion,
                      CarvedResult& result);

// The deviation as the operator reads it, a few lines; and as the members of a JSON
// object (without braces).
std::string DeviationText(const CarvedDeviation& deviation);
std::string DeviationJsonMembers(const CarvedDeviation& deviation);

}  // namespace vantora
