#include "core/toolpath/section_outline.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace vantora {
namespace {

using Word = SectionRaster::Word;

constexpr int kRunEndCapacity = 300;  // run ends a line can grow

// Bit j set when cell j - 1 of the column is marked.
Word BelowBits(const Word* column, int w) {
  return (column[w] << 1) | (w > 0 ? column[w - 1] >> 63 : 0);
}
// Bit j set when cell j + 1 of the column is marked.
Word AboveBits(const Word* column, int w, int words) {
  return (column[w] >> 1) | (w + 1 < words ? column[w + 1] << 63 : 0);
}

// How a growth pass scans its lines: along the rows (i changes) or along the
// columns, toward higher (+1) or lower (-1) indices.
struct Pass {
  bool alongRows;
  int direction;
};

// Growing a pass's lines a word at a time: a pass marks, after every run that ends
// inside its line, the r cells from the run's end on; over the whole line that is the
// union of the line shifted by 0 to r cells in the scan direction. The shifts are
// doubled up, so r = 7 takes three rounds.
template <typename OrShifted>
void DilateByDoubling(int r, const OrShifted& orShifted) {
  for (int covered = 1; covered < r + 1;) {
    const int shift = std::min(covered, r + 1 - covered);
    orShifted(shift);
    covered += shift;
  }
}

void DilateAlongRows(SectionRaster& raster, int direction, int r) {
  Word* marks = raster.Column(0);
  const long words = raster.WordsPerColumn();
  const long total = raster.Columns() * words;
  DilateByDoubling(r, [&](int shiftCells) {
    const long shift = shiftCells * words;  // whole columns
    if (direction > 0) {
      for (long k = total - 1; k >= shift; --k) marks[k] |= marks[k - shift];
    } else {
      for (long k = 0; k + shift < total; ++k) marks[k] |= marks[k + shift];
    }
  });
}

// column |= column shifted toward higher rows by s cells (lower words first read).
void OrShiftedUp(Word* column, int words, int s) {
  const int q = s >> 6, b = s & 63;
  for (int w = words - 1; w >= q; --w) {
    Word v = column[w - q] << b;
    if (b != 0 && w - q - 1 >= 0) v |= column[w - q - 1] >> (64 - b);
    column[w] |= v;
  }
}
// column |= column shifted toward lower rows by s cells.
void OrShiftedDown(Word* column, int words, int s) {
  const int q = s >> 6, b = s & 63;
  for (int w = 0; w + q < words; ++w) {
    Word v = column[w + q] >> b;
    if (b != 0 && w + q + 1 < words) v |= column[w + q + 1] << (64 - b);
    column[w] |= v;
  }
}

// Dilates the columns of `marks`, laid out as the raster's, by r cells in `direction`.
void DilateColumns(Word* marks, const SectionRaster& raster, int direction, int r) {
  const int words = raster.WordsPerColumn();
  for (int i = 0; i < raster.Columns(); ++i) {
    Word* column = marks + std::size_t(i) * std::size_t(words);
    DilateByDoubling(r, [&](int shift) {
      direction > 0 ? OrShiftedUp(column, words, shift) : OrShiftedDown(column, words, shift);
    });
    column[words - 1] &= raster.TopWordMask();
  }
}

void DilateAlongColumns(SectionRaster& raster, int direction, int r) {
  DilateColumns(raster.Column(0), raster, direction, r);
}

// ---- The round margin ----

// The largest h with dx^2 + h^2 <= radius^2, for 0 <= dx <= radius.
int DiscHalfHeight(int dx, double radius) {
  const double left = radius * radius - double(dx) * dx;
  int h = int(std::sqrt(left));
  while (double(h + 1) * (h + 1) <= left) ++h;
  while (h > 0 && double(h) * h > left) --h;
  return h;
}

// Marks every cell whose centre lies within `radius` cells of a marked cell's centre:
// the marks grown by the disc, the union over its columns dx of the marks shifted by dx
// and stretched by the disc's half height there. Going from the disc's edge to its
// middle, the half height only grows, so one copy of the marks is stretched step by
// step and ORed in at -dx and +dx.
void GrowByDisc(SectionRaster& raster, double radius) {
  Word* marks = raster.Column(0);
  const std::size_t words = std::size_t(raster.WordsPerColumn());
  const std::size_t total = std::size_t(raster.Columns()) * words;
  thread_local std::vector<Word> stretched;  // kept from section to section
  stretched.assign(marks, marks + total);
  const int widest = int(radius);
  int stretchedBy = 0;
  for (int dx = widest; dx >= 0; --dx) {
    const int h = DiscHalfHeight(dx, radius);
    if (h > stretchedBy) {
      DilateColumns(stretched.data(), raster, 1, h - stretchedBy);
      DilateColumns(stretched.data(), raster, -1, h - stretchedBy);
      stretchedBy = h;
    }
    const std::size_t shift = std::size_t(dx) * words;  // whole columns
    for (std::size_t k = shift; k < total; ++k) marks[k] |= stretched[k - shift];
    if (dx == 0) break;
    for (std::size_t k = 0; k + shift < total; ++k) marks[k] |= stretched[k + shift];
  }
}

// ---- Lines with more run ends than the lists hold, grown cell by cell ----

// One raster line in scan order: cell k is (i0 + k di, j0 + k dj).
struct Line {
  int i0, j0, di, dj, length;
};

Line LineOf(const SectionRaster& raster, Pass pass, int index) {
  if (pass.alongRows) {
    return {pass.direction > 0 ? 0 : raster.Columns() - 1, index, pass.direction, 0,
            raster.Columns()};
  }
  return {index, pass.direction > 0 ? 0 : raster.Rows() - 1, 0, pass.direction, raster.Rows()};
}

std::vector<bool> ReadLine(const SectionRaster& raster, const Line& line) {
  std::vector<bool> cells(std::size_t(line.length));
  for (int k = 0; k < line.length; ++k) {
    cells[std::size_t(k)] = raster.Marked(line.i0 + k * line.di, line.j0 + k * line.dj);
  }
  return cells;
}

// Writes the line as the pass grows it when only its first 300 run ends fit the lists.
void RegrowLine(SectionRaster& raster, const Line& line, const std::vector<bool>& before,
                int r) {
  std::vector<bool> after = before;
  bool inRun = false;
  int ends = 0;
  for (int k = 0; k < line.length; ++k) {
    if (before[std::size_t(k)]) {
      inRun = true;
    } else if (inRun) {
      inRun = false;
      if (ends++ >= kRunEndCapacity) continue;
      for (int m = 0; m < r && k + m < line.length; ++m) after[std::size_t(k + m)] = true;
    }
  }
  for (int k = 0; k < line.length; ++k) {
    const int i = line.i0 + k * line.di, j = line.j0 + k * line.dj;
    after[std::size_t(k)] ? raster.Mark(i, j) : raster.Unmark(i, j);
  }
}

// Run ends of the rows in column i: cells whose neighbour before them in the scan
// direction is marked while they are not.
Word RowRunEnds(const SectionRaster& raster, int direction, int i, int w) {
  return raster.Column(i - direction)[w] & ~raster.Column(i)[w];
}

// Run ends of a column in the scan direction, rows inside the raster only.
Word ColumnRunEnds(const SectionRaster& raster, int direction, const Word* column, int w) {
  const int words = raster.WordsPerColumn();
  const Word before = direction > 0 ? BelowBits(column, w) : AboveBits(column, w, words);
  return before & ~column[w] & (w + 1 == words ? raster.TopWordMask() : ~Word{0});
}

std::vector<int> LongRows(const SectionRaster& raster, int direction) {
  const int words = raster.WordsPerColumn();
  const int first = direction > 0 ? 1 : 0;
  const int last = direction > 0 ? raster.Columns() - 1 : raster.Columns() - 2;
  long total = 0;
  for (int i = first; i <= last; ++i) {
    for (int w = 0; w < words; ++w) total += std::popcount(RowRunEnds(raster, direction, i, w));
  }
  if (total <= kRunEndCapacity) return {};
  std::vector<int> perRow(std::size_t(raster.Rows()));
  for (int i = first; i <= last; ++i) {
    for (int w = 0; w < words; ++w) {
      for (Word e = RowRunEnds(raster, direction, i, w); e != 0; e &= e - 1) {
        ++perRow[std::size_t(w * 64 + std::countr_zero(e))];
      }
    }
  }
  std::vector<int> rows;
  for (int k = 0; k < raster.Rows(); ++k) {
    const int j = direction > 0 ? k : raster.Rows() - 1 - k;
    if (perRow[std::size_t(j)] > kRunEndCapacity) rows.push_back(j);
  }
  return rows;
}

std::vector<int> LongColumns(const SectionRaster& raster, int direction) {
  std::vector<int> columns;
  for (int k = 0; k < raster.Columns(); ++k) {
    const int i = direction > 0 ? k : raster.Columns() - 1 - k;
    const Word* column = raster.Column(i);
    int ends = 0;
    for (int w = 0; w < raster.WordsPerColumn(); ++w) {
      ends += std::popcount(ColumnRunEnds(raster, direction, column, w));
    }
    if (ends > kRunEndCapacity) columns.push_back(i);
  }
  return columns;
}

void GrowPass(SectionRaster& raster, Pass pass, int r, Host& host) {
  const std::vector<int> longLines =
      pass.alongRows ? LongRows(raster, pass.direction) : LongColumns(raster, pass.direction);
  std::vector<std::vector<bool>> before;
  for (int index : longLines) before.push_back(ReadLine(raster, LineOf(raster, pass, index)));
  if (r > 0) {
    pass.alongRows ? DilateAlongRows(raster, pass.direction, r)
                   : DilateAlongColumns(raster, pass.direction, r);
  }
  for (std::size_t k = 0; k < longLines.size(); ++k) {
    host.ShowMessage("STL File Error");
    RegrowLine(raster, LineOf(raster, pass, longLines[k]), before[k], r);
  }
}

}  // namespace

void GrowByWireMargin(TDataModule1& store, Host& host, int extraCells) {
  if (store.Margin.Shape == MarginShape::Round) {
    return GrowByDisc(store.Raster, store.WireMarginRadius + extraCells);
  }
  for (Pass pass : {Pass{true, 1}, Pass{false, 1}, Pass{true, -1}, Pass{false, -1}}) {
    GrowPass(store.Raster, pass, store.WireMarginCells + extraCells, host);
  }
}

namespace {

// A run of unmarked cells in one column: rows first..last.
struct FreeRun {
  int first, last;
};

// The first row at or after `from` whose mark is `marked`, or `rows`.
int NextRow(const Word* column, int from, int rows, bool marked) {
  if (from >= rows) return rows;
  int w = from >> 6;
  Word bits = (marked ? column[w] : ~column[w]) & (~Word{0} << (from & 63));
  while (bits == 0) {
    if (++w * 64 >= rows) return rows;
    bits = marked ? column[w] : ~column[w];
  }
  return std::min(w * 64 + std::countr_zero(bits), rows);
}

void MarkRows(Word* column, int first, int last) {
  for (int j = first; j <= last; ++j) column[j >> 6] |= Word{1} << (j & 63);
}

}  // namespace

// The unmarked cells form runs in every column; runs of neighbouring columns that share
// a row are 4-connected. A search over the runs from those on the border finds every
// unmarked cell the border reaches; the runs it does not reach get marked.
void MarkEnclosedCells(SectionRaster& raster) {
  const int columns = raster.Columns(), rows = raster.Rows();
  std::vector<FreeRun> runs;
  std::vector<std::size_t> columnStart(std::size_t(columns) + 1, 0);
  for (int i = 0; i < columns; ++i) {
    columnStart[std::size_t(i)] = runs.size();
    const Word* column = raster.Column(i);
    for (int j = NextRow(column, 0, rows, false); j < rows;) {
      const int end = NextRow(column, j, rows, true);
      runs.push_back({j, end - 1});
      j = NextRow(column, end, rows, false);
    }
  }
  columnStart[std::size_t(columns)] = runs.size();
  auto columnOf = [&](std::size_t run) {
    return int(std::upper_bound(columnStart.begin(), columnStart.end(), run) - columnStart.begin()) - 1;
  };

  std::vector<char> reached(runs.size(), 0);
  std::vector<std::size_t> pending;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const int i = columnOf(r);
    if (i == 0 || i == columns - 1 || runs[r].first == 0 || runs[r].last == rows - 1) {
      reached[r] = 1;
      pending.push_back(r);
    }
  }
  while (!pending.empty()) {
    const std::size_t r = pending.back();
    pending.pop_back();
    const int i = columnOf(r);
    for (const int n : {i - 1, i + 1}) {
      if (n < 0 || n >= columns) continue;
      // The neighbour's runs are in row order: start at the first that ends at or above
      // this run's first row, stop at the first that begins above its last.
      const auto begin = runs.begin() + std::ptrdiff_t(columnStart[std::size_t(n)]);
      const auto end = runs.begin() + std::ptrdiff_t(columnStart[std::size_t(n) + 1]);
      auto it = std::lower_bound(begin, end, runs[r].first,
                                 [](const FreeRun& run, int row) { return run.last < row; });
      for (; it != end && it->first <= runs[r].last; ++it) {
        const auto k = std::size_t(it - runs.begin());
        if (reached[k] == 0) {
          reached[k] = 1;
          pending.push_back(k);
        }
      }
    }
  }
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (reached[r] == 0) MarkRows(raster.Column(columnOf(r)), runs[r].first, runs[r].last);
  }
}

void MarkOutline(TDataModule1& store, Host& host, int extraCells) {
  GrowByWireMargin(store, host, extraCells);
  MarkEnclosedCells(store.Raster);
  SectionRaster& raster = store.Raster;
  const int words = raster.WordsPerColumn();
  const int topRow = raster.Rows() - 1;
  for (int i = 0; i < raster.Columns(); ++i) {
    const Word* column = raster.Column(i);
    const Word* left = i > 0 ? raster.Column(i - 1) : nullptr;
    const Word* right = i + 1 < raster.Columns() ? raster.Column(i + 1) : nullptr;
    for (int w = 0; w < words; ++w) {
      const Word marked = column[w];
      if (marked == 0) continue;
      Word columnEnds = marked & ~AboveBits(column, w, words);
      if (w == topRow >> 6) columnEnds &= ~(Word{1} << (topRow & 63));  // reaches the top
      Word outline = (marked & ~BelowBits(column, w)) | columnEnds;
      outline |= marked & ~(left != nullptr ? left[w] : 0);
      if (right != nullptr) outline |= marked & ~right[w];
      for (; outline != 0; outline &= outline - 1) {
        raster.SetOutlineWeight(i, w * 64 + std::countr_zero(outline), 2);
      }
    }
  }
}

void ClearRaster(TDataModule1& store) { store.Raster.Clear(); }

}  // namespace vantora
