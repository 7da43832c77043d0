#pragma once

#include "core/common/host.h"
#include "core/model/data_module.h"
#include "core/toolpath/section_mesh.h"
#include "core/model/facet_table.h"

namespace vantora {

// Fills the facet whose vertices' x and z are `x` and `z` into the store's raster: for the columns x = xLo, xLo + Resolution, ... up to xHi, the
// heights between the column's crossings with the facet's edges, sampled every
// Resolution, mark their cells. Samples outside the raster are dropped.
void FillTriangle(TDataModule1& store, const double (&x)[3], const double (&z)[3]);

// The silhouette of every facet of the table as it stands, as FillTriangle fills them,
// then grown by the wire margin and outlined (MarkOutline). Facets whose reachable
// cells are all marked already are passed over: they would mark nothing new.
void RasterizeSection(TDataModule1& store, const FacetTable& table, Host& host);

// How a facet narrower than a cell is filled: Sampled takes the heights of its one
// column sample as every facet does; NarrowWhole marks its whole height range in the
// columns of both its ends, so that a thin wall seen almost edge-on stays whole.
enum class FillCoverage { Sampled, NarrowWhole };

// The fill of RasterizeSection for the mesh's facets with their vertices turned as
// given, into `raster` (of the store's geometry). It touches nothing else, so a sweep
// may fill one section on another thread while it walks the one before.
void FillSection(const TDataModule1& store, const SectionMesh& mesh,
                 const TurnedVertices& vertices, SectionRaster& raster,
                 FillCoverage coverage = FillCoverage::Sampled);

}  // namespace vantora
