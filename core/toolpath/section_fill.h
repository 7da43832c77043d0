#pragma once

#include "app/host.h"
#include "model/data_module.h"
#include "toolpath/section_mesh.h"
#include "view3d/facet_table.h"

namespace vantora {

// How many threads the section raster is filled with: one per core, at most four.
// RasterSetup gives the raster one mark plane for each.
int RasterThreadLimit();

// Fills the facet whose vertices' x and z lie in the store's TriangleX and TriangleZ
// into the raster: for the columns x = xLo, xLo + Resolution, ... up to xHi, the
// heights between the column's crossings with the facet's edges, sampled every
// Resolution, mark their cells. Samples outside the raster are dropped.
void FillTriangle(TDataModule1& store);

// The silhouette of every facet of the mesh on the raster, as FillTriangle fills them
// (on all cores, skipping facets whose reachable cells are all marked already), then
// grown by the wire margin and outlined (MarkOutline).
void RasterizeSection(TDataModule1& store, const SectionMesh& mesh, Host& host);
// The same for the facets of a table as they stand.
void RasterizeSection(TDataModule1& store, const FacetTable& table, Host& host);

}  // namespace vantora
