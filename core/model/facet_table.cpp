#include "core/model/facet_table.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantora {

bool FacetTable::AddFacet(const Vec3& a, const Vec3& b, const Vec3& c, float viewDistance) {
  if (FacetCount >= Capacity) return false;
  Facet& f = Facets[FacetCount];
  f.Normal = {};
  f.V1 = {a[0] / viewDistance, a[1] / viewDistance, a[2] / viewDistance};
  f.V2 = {b[0] / viewDistance, b[1] / viewDistance, b[2] / viewDistance};
  f.V3 = {c[0] / viewDistance, c[1] / viewDistance, c[2] / viewDistance};
  ++FacetCount;
  return true;
}

void FacetTable::FitViewDistance(TDataModule1& store) {
  UseFileNormals = true;
  const float dx = float(store.MaxX - store.MinX);
  const float dy = float(store.MaxY - store.MinY);
  const float hz = float(store.MaxZ);  // the upper bound itself, not the extent
  if (dx >= dy && dx >= hz) {
    store.ModelSize = dx;
  } else if (dy >= dx && dy >= hz) {
    store.ModelSize = dy;
  } else {
    store.ModelSize = hz;
  }
  store.ViewDistance = float(kViewDistancePerModelSize * store.ModelSize);
}

Vec3 TriangleNormal(const Vec3& a, const Vec3& b, const Vec3& c) {
  const Vec3 u{c[0] - b[0], c[1] - b[1], c[2] - b[2]};
  const Vec3 w{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  const Vec3 n{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
  const double sum = double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2];
  float len = float(std::sqrt(sum));
  if (len == 0) len = 1;
  return {n[0] / len, n[1] / len, n[2] / len};
}

FacetBox BoundingBox(const FacetTable& table) {
  constexpr float kHuge = std::numeric_limits<float>::max();
  FacetBox box{{kHuge, kHuge, kHuge}, {-kHuge, -kHuge, -kHuge}};
  for (int i = 0; i < table.FacetCount; ++i) {
    for (const Vec3* v : {&table.Facets[i].V1, &table.Facets[i].V2, &table.Facets[i].V3}) {
      for (int axis = 0; axis < 3; ++axis) {
        box.Lo[axis] = std::min(box.Lo[axis], (*v)[axis]);
        box.Hi[axis] = std::max(box.Hi[axis], (*v)[axis]);
      }
    }
  }
  return box;
}

}  // namespace vantora
