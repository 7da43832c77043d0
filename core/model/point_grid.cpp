#include "core/model/point_grid.h"

#include <utility>
#include <stdexcept>

namespace vantora {

PointGrid::Tile* PointGrid::FindTile(int i, int j) const {
  if (!InRange(i, j) || !pool_) return nullptr;
  const std::int32_t place = placeOfTile_[TileIndex(i, j)];
  return place < 0 ? nullptr : &(*pool_)[std::size_t(place)];
}

GridCell* PointGrid::Find(int i, int j) {
  return const_cast<GridCell*>(std::as_const(*this).Find(i, j));
}

const GridCell* PointGrid::Find(int i, int j) const {
  const Tile* tile = FindTile(i, j);
  const int slot = SlotIndex(i, j);
  return tile != nullptr && tile->present[slot] ? &tile->cells[slot] : nullptr;
}

GridCell& PointGrid::Create(int i, int j) {
  if (!InRange(i, j)) throw std::out_of_range("grid slot outside the 6000 x 6000 table");
  if (!pool_) {
    pool_ = std::make_unique<ReservedArray<Tile>>(kTilesPerSide * kTilesPerSide);
    placeOfTile_.assign(kTilesPerSide * kTilesPerSide, -1);
  }
  std::int32_t& place = placeOfTile_[TileIndex(i, j)];
  if (place < 0) place = tilesUsed_++;
  Tile& tile = (*pool_)[std::size_t(place)];
  const int slot = SlotIndex(i, j);
  tile.present.set(slot);
  tile.cells[slot] = GridCell{};
  return tile.cells[slot];
}

void PointGrid::Clear() {
  pool_.reset();
  placeOfTile_ = {};
  tilesUsed_ = 0;
}

std::size_t PointGrid::AllocatedTiles() const { return std::size_t(tilesUsed_); }

}  // namespace vantora
