#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/model/facet_table.h"

namespace vantora::bench {

// Fills `table` with a closed torus about the z axis (R 100 mm, r 30 mm, lying on
// z = 0..60) of 2 x nu x nv facets, nu = 2 nv, close to `facets` in all.
inline void FillTorus(FacetTable& table, long facets) {
  const int nv = std::max(3, int(std::lround(std::sqrt(double(facets) / 4.0))));
  const int nu = 2 * nv;
  const double pi2 = 2 * std::numbers::pi;
  auto point = [&](int u, int v) -> Vec3 {
    const double a = pi2 * u / nu;
    const double b = pi2 * v / nv;
    const double rho = 100.0 + 30.0 * std::cos(b);
    return {float(rho * std::cos(a)), float(rho * std::sin(a)), float(30.0 + 30.0 * std::sin(b))};
  };
  for (int u = 0; u < nu; ++u) {
    for (int v = 0; v < nv; ++v) {
      // Wrap the indices so neighbouring quads share bit-identical corners.
      const int u1 = (u + 1) % nu, v1 = (v + 1) % nv;
      const Vec3 p00 = point(u, v), p10 = point(u1, v), p11 = point(u1, v1), p01 = point(u, v1);
      table.AddFacet(p00, p10, p11, 1.0f);
      table.AddFacet(p00, p11, p01, 1.0f);
    }
  }
}

}  // namespace vantora::bench
