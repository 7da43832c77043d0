#include "core/model/placement.h"

#include <cmath>

namespace vantora {
namespace {

void ZeroBounds(TDataModule1& s) { s.MaxX = s.MinX = s.MaxY = s.MinY = s.MaxZ = s.MinZ = 0.0; }

void GrowBoundsFrom(TDataModule1& s, const FacetTable& table, int first) {
  for (int k = first; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[k];
    detail::GrowBounds(s, f.V1);
    detail::GrowBounds(s, f.V2);
    detail::GrowBounds(s, f.V3);
  }
}

template <typename Move>
void MoveVertices(FacetTable& table, int first, Move move) {
  for (int k = first; k < table.FacetCount; ++k) {
    Facet& f = table.Facets[k];
    move(f.V1);
    move(f.V2);
    move(f.V3);
  }
}

}  // namespace

ModelDimensions MoveToPlatform(TDataModule1& s, FacetTable& table) {
  const float cx = float((s.MaxX + s.MinX) * 0.5);
  const float cy = float((s.MaxY + s.MinY) * 0.5);
  const float cz = float(s.MinZ);
  const float dx = float(s.MaxX - s.MinX);
  const float dy = float(s.MaxY - s.MinY);
  const float h = float(s.MaxZ - s.MinZ);
  const float wx = dx + 2 * s.WireDia;
  const float wy = dy + 2 * s.WireDia;
  s.ModelDiameter = std::sqrt(wx * wx + wy * wy);
  s.ModelSize = s.ModelDiameter < h ? h : s.ModelDiameter;
  s.ViewDistance = float(kViewDistancePerModelSize * s.ModelSize);
  MoveVertices(table, 0, [&](Vec3& v) {
    v[0] -= cx;
    v[1] -= cy;
    v[2] -= cz;
  });
  return {dx, dy, h, s.ModelDiameter};
}

void RecentreModel(TDataModule1& s, FacetTable& table) {
  const int first = table.FirstNewFacet;
  ZeroBounds(s);
  GrowBoundsFrom(s, table, first);
  const float cx = float((s.MaxX + s.MinX) * 0.5);
  const float cy = float((s.MaxY + s.MinY) * 0.5);
  const double minZ = s.MinZ;
  MoveVertices(table, first, [&](Vec3& v) {
    v[0] -= cx;
    v[1] -= cy;
    v[2] = float(v[2] - minZ);
  });
  ZeroBounds(s);
  GrowBoundsFrom(s, table, first);
}

}  // namespace vantora
