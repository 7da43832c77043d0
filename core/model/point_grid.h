#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/common/reserved_array.h"

namespace vantora {

// One point of a grid: position in mm and a flag byte.
struct GridCell {
  float X = 0;
  float Y = 0;
  float Z = 0;
  std::uint8_t Marked = 0;
};

// A logical Limit x Limit table of cell slots indexed [i][j], each slot empty or
// holding one cell. Memory follows the data: slots live in 64 x 64 tiles, taken from a
// reserved pool the first time a cell in them is created, so an empty grid costs
// nothing and a 2000 x 2000 scan about 64 MB. The pool's pages arrive zeroed (an empty
// tile) and as huge pages, which makes filling a large grid several times cheaper.
class PointGrid {
 public:
  static constexpr int Limit = 6000;

  static bool InRange(int i, int j) { return i >= 0 && j >= 0 && i < Limit && j < Limit; }

  // The cell at [i][j], or nullptr when the slot is empty or outside the table.
  GridCell* Find(int i, int j);
  const GridCell* Find(int i, int j) const;
  // Puts a fresh all-zero cell into slot [i][j] (replacing any cell there) and returns
  // it. The indices must be InRange.
  GridCell& Create(int i, int j);
  // The cell at [i][j], which must exist.
  GridCell& At(int i, int j) { return *Find(i, j); }
  const GridCell& At(int i, int j) const { return *Find(i, j); }

  // Empties every slot and returns the tiles' memory.
  void Clear();
  std::size_t AllocatedTiles() const;

 private:
  static constexpr int kTileBits = 6;
  static constexpr int kTileSize = 1 << kTileBits;
  static constexpr int kTilesPerSide = (Limit + kTileSize - 1) / kTileSize;

  struct Tile {
    std::array<GridCell, kTileSize * kTileSize> cells;
    std::bitset<kTileSize * kTileSize> present;
  };

  static int TileIndex(int i, int j) {
    return (j >> kTileBits) * kTilesPerSide + (i >> kTileBits);
  }
  static int SlotIndex(int i, int j) {
    return ((j & (kTileSize - 1)) << kTileBits) | (i & (kTileSize - 1));
  }

  Tile* FindTile(int i, int j) const;

  // Both created with the first cell: the pool and, per tile of the table, its place in
  // the pool (or -1).
  std::unique_ptr<ReservedArray<Tile>> pool_;
  std::vector<std::int32_t> placeOfTile_;
  std::int32_t tilesUsed_ = 0;
};

}  // namespace vantora
