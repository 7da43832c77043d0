#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace vantora {

// One point of a wire path in mm: X across the section from the rotation axis, Y up
// from the raster's bottom row.
struct PathPoint {
  float X = 0;
  float Y = 0;
};

// The section raster of the tool path: Columns() x Rows() cells [i][j], i along the
// section's x and j along z. The store keeps it in compact arrays sized once per
// set-up instead of grid cells.
//
// Marked flags are bits, each column's rows in consecutive 64-bit words (row j is bit
// j % 64 of word j / 64), so whole columns are grown and compared a word at a time; the
// bits above the top row stay clear. X and Y of the samples that filled a cell are not
// kept: nothing reads them, and keeping the last sample's would tie the fill to one
// order.
//
// Outline weights are small whole numbers (2 on a fresh outline cell, lowered by the
// walk to 1, 0 and, on the cell above the start, -1), one signed byte per cell. The
// raster remembers the box of cells whose weight was set, so clearing touches only
// those.
class SectionRaster {
 public:
  using Word = std::uint64_t;

  // Where the cells begin along one axis, for the rasterizer: a sample v falls in cell
  // k when Edges[k] <= v < Edges[k + 1] (k from 0 to Cells - 1), below the raster when
  // v < Edges[0] and above it when v >= Edges[Cells].
  struct CellEdges {
    std::vector<double> Edges;
    int Cells = 0;
  };

  // Sizes the raster, every cell clear.
  void Resize(int columns, int rows);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int WordsPerColumn() const { return wordsPerColumn_; }
  bool Contains(int i, int j) const {
    return i >= 0 && j >= 0 && i < columns_ && j < rows_;
  }

  bool Marked(int i, int j) const {
    return (Column(i)[j >> 6] >> (j & 63)) & 1u;
  }
  void Mark(int i, int j) { Column(i)[j >> 6] |= Word{1} << (j & 63); }
  void Unmark(int i, int j) { Column(i)[j >> 6] &= ~(Word{1} << (j & 63)); }
  // The words of column i.
  Word* Column(int i) { return marks_.data() + std::size_t(i) * wordsPerColumn_; }
  const Word* Column(int i) const { return marks_.data() + std::size_t(i) * wordsPerColumn_; }
  // The bits of the top word of a column that lie inside the raster.
  Word TopWordMask() const { return topWordMask_; }
  // The outline weight of cell (i, j); 0 outside the raster.
  int OutlineWeight(int i, int j) const {
    return Contains(i, j) ? weights_[Index(i, j)] : 0;
  }
  // Sets the weight of a cell inside the raster; cells outside stay 0.
  void SetOutlineWeight(int i, int j, int weight);

  // Every mark and weight back to zero.
  void Clear();

  CellEdges ColumnEdges;  // x of the samples, set with the geometry by RasterSetup
  CellEdges RowEdges;     // z of the samples

 private:
  std::size_t Index(int i, int j) const { return std::size_t(i) * rows_ + j; }
  void ForgetWeightBox();

  int columns_ = 0;
  int rows_ = 0;
  int wordsPerColumn_ = 0;
  Word topWordMask_ = 0;
  std::vector<Word> marks_;
  std::vector<std::int8_t> weights_;
  // Box of cells whose weight was set since the last Clear (empty when min > max).
  int weightMinI_ = std::numeric_limits<int>::max(), weightMaxI_ = -1;
  int weightMinJ_ = std::numeric_limits<int>::max(), weightMaxJ_ = -1;
};

}  // namespace vantora
