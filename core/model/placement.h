#pragma once

#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// The sizes the main window shows beside the model after a placement.
struct ModelDimensions {
  float X = 0, Y = 0, Z = 0, Diameter = 0;
};

// Centres the model's box over the origin in X and Y and sets its lowest point on the
// platform; fits ModelSize and ViewDistance to the footprint's diagonal with one wire
// diameter of margin. The bounds are left for RecentreModel, which follows at once.
ModelDimensions MoveToPlatform(TDataModule1& store, FacetTable& table);

// Recomputes the bounds of the facets from FirstNewFacet on (from zero, so the box
// always holds the origin) and moves them so the box is centred and does not reach
// below the platform; then recomputes the bounds again.
void RecentreModel(TDataModule1& store, FacetTable& table);

}  // namespace vantora
