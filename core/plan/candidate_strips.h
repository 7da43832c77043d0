#pragma once

#include <vector>

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/plan/angle_choice.h"
#include "core/toolpath/section_lanes.h"

namespace vantora {

// The distinct sections among a sweep's candidate angles and the strip each keeps.
// C and C + 180 cut the same strip, mirrored: each such pair is one candidate, at the
// angle of it that comes first.
struct CandidateSections {
  std::vector<float> Angles;  // of Strips.Candidates, in the sweep's order
  StripSet Strips;
  double AllPathLength = 0;   // mm of wire path of every angle given, estimated
};

// Measures the strips of the sections at `angles` (ascending) on the store's raster
// (set up, and clear): each section's silhouette is filled as a sweep fills it, or under
// FillScope::Outline drawn from the edges that can bound it (see SectionLanes), grown
// by the wire margin, its enclosed holes filled, and read row by row from the platform
// up to the highest top of all of them (a section keeps nothing above its own top;
// below the start height a row keeps what lies between the ends of the start height's):
// the path runs on the first and last cell of a row's grown silhouette and the wire's
// radius along it, so the row keeps what lies between. The model's facets stand at
// `turnAngle`; the raster is left clear.
Status MeasureCandidates(TDataModule1& store, const FacetTable& table, Host& host,
                         float turnAngle, const std::vector<float>& angles, FillScope scope,
                         CandidateSections& candidates);

}  // namespace vantora
