#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/model/data_module.h"
#include "core/toolpath/section_mesh.h"

namespace vantora {

// The edges of a mesh that can bound the silhouette of each of a sweep's sections.
//
// Where an edge joins exactly two facets whose far corners lie on opposite sides of it
// in the section plane, the two cover both sides next to it, so no point of it lies on
// the silhouette's outline. Every other edge (a fold, one seen edge-on, an open edge, one
// of three or more facets) may. The outline is made of such edges, so the cells they pass
// through form a closed ring about every part of the silhouette, which MarkEnclosedCells
// fills: for a caller that fills the enclosed cells anyway, drawing those edges takes the
// place of filling every facet.
//
// On a smooth surface an edge folds only while the view runs nearly along both its
// facets, a narrow range of turns worked out once for every edge; each section then draws
// only the few edges folding at its angle. Edges are matched by their corners'
// coordinates.
class SectionContour {
 public:
  // The mesh stands at `turnAngle`; `angles` are the sections' (degrees).
  SectionContour(const SectionMesh& mesh, const std::vector<float>& angles, float turnAngle);

  // Whether drawing the edges saves work over filling the facets, and the sections'
  // lists of edges take memory in proportion to the mesh. When not, the lists are empty.
  bool SavesWork() const { return !start_.empty(); }

  // Marks into `raster` (of the store's geometry) every cell passed through by an edge
  // that can bound section k's silhouette, the mesh turned to the section's angle. Only
  // where SavesWork().
  void Mark(int k, const TDataModule1& store, SectionRaster& raster) const;

 private:
  using Edge = std::array<std::uint32_t, 2>;
  void Sort(const SectionMesh& mesh, const std::vector<double>& turns);

  const SectionMesh& mesh_;
  std::vector<double> cos_, sin_;       // of each section's turn
  std::vector<Edge> edges_;             // every edge that folds at some turn
  std::vector<std::uint32_t> always_;   // edges_ that may fold at any turn
  std::vector<std::size_t> start_;      // section k's edges: folding_[start_[k] .. start_[k + 1])
  std::vector<std::uint32_t> folding_;  // indices into edges_
};

}  // namespace vantora
