// The silhouette drawn from the edges that can bound it against the facets filled.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "core/common/silent_host.h"
#include "core/toolpath/section_contour.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_mesh.h"
#include "core/toolpath/section_outline.h"
#include "toolpath_models.h"

namespace vantora {
namespace {

using namespace testing;

void Sphere(FacetTable& t) { AddSphere(t, 10, 24); }

// Two spheres 4 mm apart: a gap through every row that the margin does not close.
void TwoSpheres(FacetTable& t) {
  AddSphere(t, 8, 20);
  const int first = t.FacetCount;
  AddSphere(t, 8, 20);
  for (int k = 0; k < t.FacetCount; ++k) {
    for (Vec3* v : {&t.Facets[std::size_t(k)].V1, &t.Facets[std::size_t(k)].V2,
                    &t.Facets[std::size_t(k)].V3}) {
      (*v)[0] += k < first ? -10.0f : 10.0f;
    }
  }
}

// Open: a sphere without its top cap, seen from the side into the bowl at some turns.
void Bowl(FacetTable& t) {
  FacetTable sphere(4096);
  AddSphere(sphere, 10, 24);
  for (int k = 0; k < sphere.FacetCount; ++k) {
    const Facet& f = sphere.Facets[std::size_t(k)];
    if (std::max({f.V1[2], f.V2[2], f.V3[2]}) < 17) t.AddFacet(f.V1, f.V2, f.V3, 1.0f);
  }
}

// The sphere's facets in random order: shared corners are far apart in the table.
void ShuffledSphere(FacetTable& t) {
  FacetTable sphere(4096);
  AddSphere(sphere, 10, 24);
  std::vector<Facet> facets(sphere.Facets.data(), sphere.Facets.data() + sphere.FacetCount);
  std::shuffle(facets.begin(), facets.end(), std::mt19937(7));
  for (const Facet& f : facets) t.AddFacet(f.V1, f.V2, f.V3, 1.0f);
}

// Every other facet runs the other way round.
void TurnedOverFacets(FacetTable& t) {
  AddSphere(t, 10, 24);
  for (int k = 0; k < t.FacetCount; k += 2) {
    std::swap(t.Facets[std::size_t(k)].V2, t.Facets[std::size_t(k)].V3);
  }
}

// Grows the store's raster by the wire margin and fills its enclosed cells, as the
// candidates are measured, and returns it.
SectionRaster Finished(TDataModule1& s) {
  SilentHost host;
  GrowByWireMargin(s, host);
  MarkEnclosedCells(s.Raster);
  return s.Raster;
}

bool MarkedNear(const SectionRaster& r, int i, int j) {
  for (int di = -1; di <= 1; ++di) {
    for (int dj = -1; dj <= 1; ++dj) {
      const int a = i + di, b = j + dj;
      if (a >= 0 && a < r.Columns() && b >= 0 && b < r.Rows() && r.Marked(a, b)) return true;
    }
  }
  return false;
}

// Drawn, grown and filled, the silhouette covers every cell the facets' does and
// reaches at most a cell beyond it, at every turn: no gap lets the enclosed cells go
// unfilled, whatever the order, orientation or closedness of the facets.
TEST(SectionContour, CoversTheFilledSilhouetteToACell) {
  const std::pair<const char*, void (*)(FacetTable&)> models[] = {
      {"sphere", Sphere},
      {"two spheres", TwoSpheres},
      {"bowl", Bowl},
      {"shuffled", ShuffledSphere},
      {"turned over", TurnedOverFacets},
  };
  std::vector<float> angles;
  for (float a = 0; a < 180; a += 7) angles.push_back(a);
  for (const auto& [name, build] : models) {
    ToolPathModel m;
    build(*m.table);
    ASSERT_TRUE(SetUpRaster(m));
    TDataModule1& s = *m.store;
    const SectionMesh mesh(*m.table, s);
    const SectionContour contour(mesh, angles, 0);
    ASSERT_TRUE(contour.SavesWork()) << name;
    for (std::size_t k = 0; k < angles.size(); ++k) {
      ClearRaster(s);
      TurnedVertices turned(mesh, s, 0);
      turned.RotateModel(angles[k]);
      turned.LocateColumns(s.Raster);
      FillSection(s, mesh, turned, s.Raster);
      const SectionRaster filled = Finished(s);
      ClearRaster(s);
      contour.Mark(int(k), s, s.Raster);
      const SectionRaster drawn = Finished(s);
      for (int i = 0; i < drawn.Columns(); ++i) {
        for (int j = 0; j < drawn.Rows(); ++j) {
          if (filled.Marked(i, j)) {
            ASSERT_TRUE(drawn.Marked(i, j))
                << name << " at " << angles[k] << ": " << i << "," << j;
          } else if (drawn.Marked(i, j)) {
            ASSERT_TRUE(MarkedNear(filled, i, j))
                << name << " at " << angles[k] << ": " << i << "," << j;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vantora
