#include "core/model/solid_volume.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantora {

double EnclosedVolume(const FacetTable& table) {
  double sixfold = 0;
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    const double ax = f.V1[0], ay = f.V1[1], az = f.V1[2];
    const double bx = f.V2[0], by = f.V2[1], bz = f.V2[2];
    const double cx = f.V3[0], cy = f.V3[1], cz = f.V3[2];
    sixfold += ax * (by * cz - bz * cy) + ay * (bz * cx - bx * cz) + az * (bx * cy - by * cx);
  }
  return sixfold / 6;
}

std::optional<double> ClosedVolume(const FacetTable& table) {
  // Every directed edge a -> b must meet exactly one b -> a: sorted by their lower
  // corner first, the two run in opposite directions and come out side by side.
  struct Edge {
    Vec3 low, high;
    bool forward;  // runs from low to high
  };
  std::vector<Edge> edges;
  edges.reserve(std::size_t(table.FacetCount) * 3);
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    const Vec3* corner[3] = {&f.V1, &f.V2, &f.V3};
    for (int e = 0; e < 3; ++e) {
      const Vec3& a = *corner[e];
      const Vec3& b = *corner[(e + 1) % 3];
      if (a == b) return std::nullopt;
      edges.push_back(a < b ? Edge{a, b, true} : Edge{b, a, false});
    }
  }
  if (edges.empty()) return std::nullopt;
  std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) {
    if (l.low != r.low) return l.low < r.low;
    if (l.high != r.high) return l.high < r.high;
    return l.forward < r.forward;
  });
  for (std::size_t k = 0; k < edges.size(); k += 2) {
    const Edge& first = edges[k];
    if (k + 1 == edges.size()) return std::nullopt;
    const Edge& second = edges[k + 1];
    const bool shared = first.low == second.low && first.high == second.high;
    if (!shared || first.forward == second.forward) return std::nullopt;
    if (k + 2 < edges.size() && edges[k + 2].low == first.low && edges[k + 2].high == first.high) {
      return std::nullopt;
    }
  }
  return std::abs(EnclosedVolume(table));
}

}  // namespace vantora
