#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <vector>

#include "core/model/facet_table.h"

namespace vantora::testing {

// How many edges of the facets no facet runs back along: none for a closed surface whose
// facets share their corners exactly and agree on which side is out, also where two
// parts of it touch along an edge.
inline std::size_t OpenEdges(const FacetTable& table) {
  using Edge = std::array<float, 6>;
  std::vector<Edge> along, back;
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    const Vec3* corners[] = {&f.V1, &f.V2, &f.V3};
    for (int e = 0; e < 3; ++e) {
      const Vec3 &a = *corners[e], &b = *corners[(e + 1) % 3];
      along.push_back({a[0], a[1], a[2], b[0], b[1], b[2]});
      back.push_back({b[0], b[1], b[2], a[0], a[1], a[2]});
    }
  }
  std::sort(along.begin(), along.end());
  std::sort(back.begin(), back.end());
  std::vector<Edge> unmatched;
  std::set_symmetric_difference(along.begin(), along.end(), back.begin(), back.end(),
                                std::back_inserter(unmatched));
  return unmatched.size() / 2;
}

}  // namespace vantora::testing
