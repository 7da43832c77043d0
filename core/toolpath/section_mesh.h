#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "core/common/reserved_array.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// The model's facets as a sweep rasterizes them, section after section.
//
// Each distinct vertex (bit for bit) is kept once, so turning it once turns every facet
// corner that shares it exactly as turning the corners one by one would; facets refer
// to their corners by index. Shared vertices are looked for among recent facets only,
// where meshes keep them; a vertex found twice is merely turned twice.
//
// Each facet also carries the raster rows its samples can reach (z does not turn): the
// rows of its lowest and highest z, widened by far more than the rounding of the
// fill's crossing heights. Arrays are reserved for every corner a distinct vertex and
// take memory (in huge pages, cheap to touch first) only as far as they are used.
class SectionMesh {
 public:
  using Corners = std::array<std::uint32_t, 3>;
  // Rows first..last, as CellLadder::Locate gives them: -1 below the raster, the
  // number of rows above it.
  struct RowSpan {
    std::int16_t first;
    std::int16_t last;
  };

  // The facets of `table` on the store's raster (after RasterSetup).
  SectionMesh(const FacetTable& table, const TDataModule1& store);

  std::span<const Corners> Facets() const { return {facets_.data(), facetCount_}; }
  std::span<const RowSpan> Rows() const { return {rows_.data(), facetCount_}; }
  std::size_t VertexCount() const { return vertexCount_; }
  // The vertices as the table holds them.
  std::span<const float> X() const { return {x_.data(), vertexCount_}; }
  std::span<const float> Y() const { return {y_.data(), vertexCount_}; }
  std::span<const float> Z() const { return {z_.data(), vertexCount_}; }
  // For every vertex the first index of its coordinates (bit for bit): where a vertex
  // is kept twice, both name the first.
  std::vector<std::uint32_t> FirstIndices() const;

 private:
  void LocateRows(const TDataModule1& store);

  std::size_t facetCount_;
  std::size_t vertexCount_ = 0;
  ReservedArray<Corners> facets_;
  ReservedArray<RowSpan> rows_;
  ReservedArray<float> x_, y_, z_;
};

// The mesh's vertices as the model turns, with the raster column of each one's x.
class TurnedVertices {
 public:
  // The vertices as the mesh holds them, standing at `turnAngle`.
  TurnedVertices(const SectionMesh& mesh, const TDataModule1& store, float turnAngle);

  float TurnAngle() const { return turnAngle_; }
  // Turns every vertex about the z axis so that the model stands at `angle` (degrees)
  // instead of TurnAngle(), which becomes `angle`. The turn accumulates in the
  // vertices: r = (angle - TurnAngle()) x pi / 180 in double, x' = cos r x - sin r y and
  // y' = sin r x + cos r y in double, stored as f32.
  void RotateModel(float angle);
  // The columns of the vertices as they now stand, on `raster` (of the store's
  // geometry).
  void LocateColumns(const SectionRaster& raster);
  // Writes the vertices into the facets of the table the mesh was made from.
  void StoreInto(FacetTable& table) const;

  std::span<const float> X() const { return {x_.data(), count_}; }
  std::span<const int> Column() const { return {column_.data(), count_}; }

 private:
  const SectionMesh& mesh_;
  const TDataModule1& store_;
  float turnAngle_;
  std::size_t count_;
  ReservedArray<float> x_, y_;
  ReservedArray<int> column_;
};

}  // namespace vantora
