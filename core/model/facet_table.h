#pragma once

#include <array>
#include <functional>

#include "core/common/host.h"
#include "core/common/reserved_array.h"
#include "core/model/data_module.h"

namespace vantora {

using Vec3 = std::array<float, 3>;

// One facet as an STL reader hands it to the table: the normal, then the vertex
// coordinates grouped by axis (X1 X2 X3, Y1 Y2 Y3, Z1 Z2 Z3), not by vertex.
enum StlFacetSlot : int { NX = 0, NY, NZ, X1, X2, X3, Y1, Y2, Y3, Z1, Z2, Z3 };
using StlFacetValues = std::array<double, 12>;

// A model's view distance (mm per view unit) as a share of its size.
inline constexpr double kViewDistancePerModelSize = 0.38;

// One triangle of a view's model. STL facets hold millimetres and the file's normal;
// facets built from scans hold view units (mm / ViewDistance) and no normal.
struct Facet {
  Vec3 Normal;
  Vec3 V1;
  Vec3 V2;
  Vec3 V3;
};

// The triangles of the model a 3D view shows, with the intake that STL readers drive
// facet by facet and the append that face building uses. Facets lie contiguously and
// never move; memory is committed only as the table fills.
class FacetTable {
 public:
  static constexpr int kCapacity = 4'000'000;

  explicit FacetTable(int capacity = kCapacity) : Facets(capacity), Capacity(capacity) {}
  FacetTable(const FacetTable&) = delete;
  FacetTable& operator=(const FacetTable&) = delete;

  ReservedArray<Facet> Facets;
  const int Capacity;         // how many facets the table can hold
  int FacetCount = 0;
  int FirstNewFacet = 0;      // first facet not yet compiled into a display list
  int CurrentFacetIndex = 0;  // the facet an STL reader is filling
  bool UseFileNormals = false;
  // Called when the first facet of an STL file arrives (the view shows its progress).
  std::function<void()> OnFirstStlFacet;

  // STL intake, in this order per facet: NewFacet, CopyFacetNormal, FillFacet, which
  // grows the store's bounds (the first facet, at index 0, starts them anew). The
  // caller keeps `index` below Capacity.
  void NewFacet(int index) { CurrentFacetIndex = index; }
  void CopyFacetNormal(const StlFacetValues& facet);
  void FillFacet(const StlFacetValues& facet, TDataModule1& store, Host& host);

  // Appends (a, b, c) divided by `viewDistance`; false when the table is full.
  bool AddFacet(const Vec3& a, const Vec3& b, const Vec3& c, float viewDistance);

  // Sets the store's ModelSize and ViewDistance from the bounds of an STL model.
  void FitViewDistance(TDataModule1& store);

};

// The unit normal ComputeNormal stores, for callers that need no table.
Vec3 TriangleNormal(const Vec3& a, const Vec3& b, const Vec3& c);

// The box that holds every vertex of a table's facets, in the table's units; for a
// table without facets Lo lies above Hi.
struct FacetBox {
  Vec3 Lo, Hi;
};
FacetBox BoundingBox(const FacetTable& table);

inline void FacetTable::CopyFacetNormal(const StlFacetValues& facet) {
  Facet& f = Facets[CurrentFacetIndex];
  f.Normal = {float(facet[NX]), float(facet[NY]), float(facet[NZ])};
}

namespace detail {
inline void GrowBounds(TDataModule1& s, const Vec3& v) {
  if (v[0] > s.MaxX) s.MaxX = v[0];
  if (v[0] < s.MinX) s.MinX = v[0];
  if (v[1] > s.MaxY) s.MaxY = v[1];
  if (v[1] < s.MinY) s.MinY = v[1];
  if (v[2] > s.MaxZ) s.MaxZ = v[2];
  if (v[2] < s.MinZ) s.MinZ = v[2];
}
}  // namespace detail

inline void FacetTable::FillFacet(const StlFacetValues& c, TDataModule1& store, Host& host) {
  host.ProcessPendingMessages();
  Facet& f = Facets[CurrentFacetIndex];
  f.V1 = {float(c[X1]), float(c[Y1]), float(c[Z1])};
  detail::GrowBounds(store, f.V1);
  if (CurrentFacetIndex == 0) {
    if (OnFirstStlFacet) OnFirstStlFacet();
    store.MaxX = store.MinX = f.V1[0];
    store.MaxY = store.MinY = f.V1[1];
    store.MaxZ = store.MinZ = f.V1[2];
  }
  f.V2 = {float(c[X2]), float(c[Y2]), float(c[Z2])};
  detail::GrowBounds(store, f.V2);
  f.V3 = {float(c[X3]), float(c[Y3]), float(c[Z3])};
  detail::GrowBounds(store, f.V3);
}

}  // namespace vantora
