#include "model/point_grid.h"

#include <algorithm>
#include <utility>
#include <stdexcept>

namespace vantora {

GridCell* PointGrid::Find(int i, int j) {
  return const_cast<GridCell*>(std::as_const(*this).Find(i, j));
}

const GridCell* PointGrid::Find(int i, int j) const {
  if (!InRange(i, j) || tiles_.empty()) return nullptr;
  const Tile* tile = tiles_[TileIndex(i, j)].get();
  const int slot = SlotIndex(i, j);
  return tile != nullptr && tile->present[slot] ? &tile->cells[slot] : nullptr;
}

GridCell& PointGrid::Create(int i, int j) {
  if (!InRange(i, j)) throw std::out_of_range("grid slot outside the 6000 x 6000 table");
  if (tiles_.empty()) tiles_.resize(kTilesPerSide * kTilesPerSide);
  auto& tile = tiles_[TileIndex(i, j)];
  if (!tile) tile = std::make_unique<Tile>();
  const int slot = SlotIndex(i, j);
  tile->present.set(slot);
  tile->cells[slot] = GridCell{};
  return tile->cells[slot];
}

void PointGrid::Clear() {
  tiles_.clear();
  tiles_.shrink_to_fit();
}

std::size_t PointGrid::AllocatedTiles() const {
  return static_cast<std::size_t>(
      std::count_if(tiles_.begin(), tiles_.end(), [](const auto& t) { return t != nullptr; }));
}

}  // namespace vantora
