#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/check/silhouette_tree.h"
#include "core/model/facet_table.h"

namespace vantora {

// How far what a program leaves standing lies from the model (mm, mm³).
struct CarvedDeviation {
  double SliceStep = 0;               // the height between the solid's slices
  std::optional<double> ModelVolume;  // none when the model is not closed
  double CarvedVolume = 0;
  // The most material left anywhere: an upper bound of the largest distance from the
  // carved surface to the model, at most one slice step above it.
  double LargestDistance = 0;
  // What the program takes from the model: the model's volume outside the carved solid
  // (none when the model is not closed) and how far the deepest point of it lies from
  // the solid; both 0 for a program that keeps off the part.
  std::optional<double> RemovedVolume;
  double DeepestCut = 0;

  // The carved volume beyond the model's, in mm³ and as a share of the model (%).
  std::optional<double> Excess() const;
  std::optional<double> ExcessPercent() const;
  bool CutsThePart() const { return DeepestCut > 0 || RemovedVolume.value_or(0) > 0; }
};

// One slice of a carved solid: its convex pieces at height Z, each counter-clockwise,
// with x and y of the model's frame in PlanePoint's x and z.
struct CarvedSlice {
  double Z = 0;
  std::vector<std::vector<PlanePoint>> Pieces;
};

// The deviation from the model in `tree`, whose facets `model` holds, of a carved
// solid and the slices it was built from, `sliceStep` apart.
CarvedDeviation MeasureCarved(const FacetTable& solid, const std::vector<CarvedSlice>& slices,
                              const FacetTable& model, const SilhouetteTree& tree,
                              double sliceStep);

// The deviation as the operator reads it, a few lines; and as the members of a JSON
// object (without braces).
std::string DeviationText(const CarvedDeviation& deviation);
std::string DeviationJsonMembers(const CarvedDeviation& deviation);

}  // namespace vantora
