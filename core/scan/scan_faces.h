#pragma once

#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// Turns the compensated BaseGrid of a scan into triangles appended to `table`: each
// square of four neighbouring points A [i][j], B [i+1][j], C [i+1][j+1], D [i][j+1]
// is split along the diagonal whose two heights add up to more (A-C on a tie), and
// triangles lying on the platform are dropped. A triangle (P, Q, R) is added in that
// order, or as (R, Q, P) when `reversed`. When the table fills up, building stops
// there and the status says so; the facets added until then stay.
Status BuildFaces(const TDataModule1& store, FacetTable& table, bool reversed);

}  // namespace vantora
