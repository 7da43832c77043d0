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

// Carries out `turn` on the view's facets, each step only when asked, in this order:
// mirror the newest facets (from FirstNewFacet) in Z; turn every facet about Z, then X,
// then Y by turn.Angle (degrees to radians by kDegreesToRadians). A turn recomputes the
// store's bounds of its two axes from zero and the model diameter. Returns the
// dimensions of the last turn, if any.
std::optional<TurnedDimensions> ApplyModelTransform(const ModelTurnRequest& turn,
                                                    TDataModule1& store, FacetTable& table);

}  // namespace vantora
