#include "core/toolpath/section_mesh.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/toolpath/cell_ladder.h"

namespace vantora {
namespace {

using Key = std::array<std::uint32_t, 3>;

Key BitsOf(float x, float y, float z) {
  return {std::bit_cast<std::uint32_t>(x), std::bit_cast<std::uint32_t>(y),
          std::bit_cast<std::uint32_t>(z)};
}

// The top `bits` bits of a hash of a vertex's coordinate bits.
std::size_t HashBits(const Key& k, int bits) {
  const std::uint64_t h = k[0] * 0x9E3779B97F4A7C15u ^ k[1] * 0xC2B2AE3D27D4EB4Fu ^
                          k[2] * 0x165667B19E3779F9u;
  return std::size_t(h >> (64 - bits));
}

// Recently seen vertices, by the bits of their coordinates: a direct-mapped table small
// enough to stay in cache, holding a few rows of facets of any common mesh.
class RecentVertices {
 public:
  RecentVertices() : slots_(kSlots) {}

  // The index of `v` if it was seen recently, else `fresh`, which it is known by from
  // now on; `isNew` tells which.
  std::uint32_t Find(const Vec3& v, std::uint32_t fresh, bool& isNew) {
    const Key key = BitsOf(v[0], v[1], v[2]);
    Slot& slot = slots_[HashBits(key, kSlotBits)];
    isNew = slot.index == kNone || slot.key[0] != key[0] || slot.key[1] != key[1] ||
            slot.key[2] != key[2];
    if (isNew) slot = {key, fresh};
    return slot.index;
  }

 private:
  static constexpr int kSlotBits = 14;
  static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
  static constexpr std::uint32_t kNone = ~std::uint32_t{0};
  struct Slot {
    Key key{};
    std::uint32_t index = kNone;
  };

  std::vector<Slot> slots_;
};

}  // namespace

SectionMesh::SectionMesh(const FacetTable& table, const TDataModule1& store)
    : facetCount_(std::size_t(table.FacetCount)),
      facets_(facetCount_),
      rows_(facetCount_),
      x_(3 * facetCount_),
      y_(3 * facetCount_),
      z_(3 * facetCount_) {
  RecentVertices recent;
  for (std::size_t k = 0; k < facetCount_; ++k) {
    const Facet& f = table.Facets[k];
    const Vec3* corners[3] = {&f.V1, &f.V2, &f.V3};
    for (std::size_t c = 0; c < 3; ++c) {
      bool isNew = false;
      const Vec3& v = *corners[c];
      facets_[k][c] = recent.Find(v, std::uint32_t(vertexCount_), isNew);
      if (isNew) {
        x_[vertexCount_] = v[0];
        y_[vertexCount_] = v[1];
        z_[vertexCount_] = v[2];
        ++vertexCount_;
      }
    }
  }
  LocateRows(store);
}

std::vector<std::uint32_t> SectionMesh::FirstIndices() const {
  // Open addressing over every vertex: at least twice as many slots as vertices.
  const int bits = int(std::bit_width(std::max<std::size_t>(2 * vertexCount_, 2) - 1));
  const std::size_t mask = (std::size_t{1} << bits) - 1;
  constexpr std::uint32_t kNone = ~std::uint32_t{0};
  std::vector<std::uint32_t> slots(mask + 1, kNone);
  std::vector<std::uint32_t> first(vertexCount_);
  for (std::uint32_t v = 0; v < vertexCount_; ++v) {
    const Key key = BitsOf(x_[v], y_[v], z_[v]);
    std::size_t h = HashBits(key, bits);
    while (slots[h] != kNone && BitsOf(x_[slots[h]], y_[slots[h]], z_[slots[h]]) != key) {
      h = (h + 1) & mask;
    }
    if (slots[h] == kNone) slots[h] = v;
    first[v] = slots[h];
  }
  return first;
}

void SectionMesh::LocateRows(const TDataModule1& store) {
  // Every turn keeps |x| within |x| + |y| of the start; the fill's crossing heights
  // stray from the corners' z by far less than 2^-30 of the coordinates.
  double reach = 0;
  for (std::size_t v = 0; v < vertexCount_; ++v) {
    reach = std::max(reach, double(std::abs(x_[v])) + std::abs(y_[v]) + std::abs(z_[v]));
  }
  const double guard = reach * 0x1p-28;
  const CellLadder rows(store.Raster.RowEdges, store.Resolution, store.WireMarginCells);
  for (std::size_t k = 0; k < facetCount_; ++k) {
    const auto [a, b, c] = facets_[k];
    const double zLo = std::min({z_[a], z_[b], z_[c]}), zHi = std::max({z_[a], z_[b], z_[c]});
    rows_[k] = {std::int16_t(rows.Locate(zLo - guard)), std::int16_t(rows.Locate(zHi + guard))};
  }
}

TurnedVertices::TurnedVertices(const SectionMesh& mesh, const TDataModule1& store,
                               float turnAngle)
    : mesh_(mesh),
      store_(store),
      turnAngle_(turnAngle),
      count_(mesh.VertexCount()),
      x_(count_),
      y_(count_),
      column_(count_) {
  std::copy(mesh.X().begin(), mesh.X().end(), x_.data());
  std::copy(mesh.Y().begin(), mesh.Y().end(), y_.data());
}

void TurnedVertices::RotateModel(float angle) {
  const float delta = angle - turnAngle_;
  const double r = delta * kTableDegreesToRadians;
  const double c = std::cos(r), s = std::sin(r);
  for (std::size_t v = 0; v < count_; ++v) {
    const double x = x_[v], y = y_[v];
    x_[v] = float(c * x - s * y);
    y_[v] = float(s * x + c * y);
  }
  turnAngle_ = angle;
}

void TurnedVertices::LocateColumns(const SectionRaster& raster) {
  const CellLadder columns(raster.ColumnEdges, store_.Resolution, store_.AxisColumn);
  for (std::size_t v = 0; v < count_; ++v) {
    column_[v] = columns.Locate(x_[v]);
  }
}

void TurnedVertices::StoreInto(FacetTable& table) const {
  const auto facets = mesh_.Facets();
  for (std::size_t k = 0; k < facets.size(); ++k) {
    Facet& f = table.Facets[k];
    Vec3* corners[3] = {&f.V1, &f.V2, &f.V3};
    for (std::size_t c = 0; c < 3; ++c) {
      const std::uint32_t v = facets[k][c];
      (*corners[c])[0] = x_[v];
      (*corners[c])[1] = y_[v];
    }
  }
}

}  // namespace vantora
