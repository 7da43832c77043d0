#pragma once

#include <optional>

#include "core/model/facet_table.h"

namespace vantora {

// The volume the facets enclose (mm³ for facets in mm), by the divergence theorem:
// positive when their normals point outward.
double EnclosedVolume(const FacetTable& table);

// The volume of a closed model: one whose every edge joins exactly two facets that run
// along it in opposite directions (matched by the corners' coordinates). None for an
// open or inconsistently oriented one, whose volume is not defined.
std::optional<double> ClosedVolume(const FacetTable& table);

}  // namespace vantora
