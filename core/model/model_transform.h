#pragma once

#include <optional>

#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// The sizes a turn writes into the main window's dimension labels. A turn about Z
// leaves the Z label as it was.
struct TurnedDimensions {
  float X = 0, Y = 0;
  std::optional<float> Z;
  float Diameter = 0;
};

// Carries out the pending transform request of the store on the view's facets, each
// step only when its flag is set, in this order: mirror the newest facets (from
// FirstNewFacet) in Z; turn every facet about Z, then X, then Y by ImportAngle (degrees
// to radians by the factor 0.01745). A turn recomputes the bounds of its two axes from
// zero and the model diameter. Returns the dimensions of the last turn, if any.
std::optional<TurnedDimensions> ApplyModelTransform(TDataModule1& store, FacetTable& table);

}  // namespace vantora
