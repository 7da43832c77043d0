#include "core/toolpath/section_fill.h"

#include <algorithm>
#include <cmath>

#include "core/toolpath/cell_ladder.h"
#include "core/toolpath/section_outline.h"

namespace vantora {
namespace {

// One edge (a, b) of a facet in the section plane, and where a column crosses it.
//
// The edge is hit at column x when the crossing height zc = (x - xa) ((zb - za) /
// (xb - xa)) + za lies within the edge's length of both ends, by square roots in
// double. Those distances differ from the length by at least the distance of x from
// the edge's x range, while their rounding errors stay below 2^-45 of the facet's
// coordinates; so x clearly inside the range is a hit and clearly outside a miss, and
// only near an end (within `guard`) are the square roots taken, in the same order.
class EdgeCrossing {
 public:
  EdgeCrossing(double xa, double za, double xb, double zb)
      : xa_(xa), za_(za), xb_(xb), zb_(zb),
        lower_(std::min(xa, xb)), upper_(std::max(xa, xb)),
        slope_(xa != xb ? (zb - za) / (xb - xa) : 0.0) {}

  double Cross(double x) const { return (x - xa_) * slope_ + za_; }

  bool Hit(double x, double guard, double& zc) const {
    if (xa_ == xb_) return false;  // parallel to z: never hit
    if (x > lower_ + guard && x < upper_ - guard) {
      zc = Cross(x);
      return true;
    }
    if (x < lower_ - guard || x > upper_ + guard) return false;
    if (x == xa_) {  // zc is za exactly, at distance 0 from a and the length from b
      zc = za_;
      return true;
    }
    return HitNearEnd(x, zc);
  }

  bool HitNearEnd(double x, double& zc) const {
    zc = Cross(x);
    const double dx = xb_ - xa_, dz = zb_ - za_;
    const double len2 = dx * dx + dz * dz;
    const double da2 = (x - xa_) * (x - xa_) + (zc - za_) * (zc - za_);
    const double db2 = (x - xb_) * (x - xb_) + (zc - zb_) * (zc - zb_);
    if (da2 <= len2 && db2 <= len2) return true;  // the square root keeps that order
    const double len = std::sqrt(len2);
    return std::sqrt(da2) <= len && std::sqrt(db2) <= len;
  }

 private:
  double xa_, za_, xb_, zb_;
  double lower_, upper_;
  double slope_;
};

// A facet in the section plane and the height range of each of its columns.
//
// The range follows the edges a column hits: the smallest and largest crossing of two
// or three, the facet's whole height for none, the previous column's range for one
// (on the first column, where there is none, the one crossing). Most columns need no
// test of each edge: away from the middle vertex's x, a column crosses the edge from
// the lowest to the highest vertex and the one edge beside the middle vertex on its
// side; and the first column passes through the lowest vertex, the end of two edges.
class FacetColumns {
 public:
  FacetColumns(const double (&x)[3], const double (&z)[3])
      : edges_{{x[0], z[0], x[1], z[1]}, {x[1], z[1], x[2], z[2]}, {x[2], z[2], x[0], z[0]}} {
    for (int k = 1; k < 3; ++k) {
      if (x[k] < x[low_]) low_ = k;
      if (x[k] > x[high_]) high_ = k;
    }
    XLo = x[low_];
    XHi = x[high_];
    zLo_ = std::min({z[0], z[1], z[2]});
    zHi_ = std::max({z[0], z[1], z[2]});
    guard_ = std::max({std::abs(XLo), std::abs(XHi), std::abs(zLo_), std::abs(zHi_)}) * 0x1p-30;
    zLow_ = z[low_];
    // With three equal x there is no middle vertex; only the general rule then applies.
    const int mid = low_ == high_ ? low_ : 3 - low_ - high_;
    xMid_ = x[mid];
    longEdge_ = &edges_[EdgeIndex(low_, high_)];
    lowEdge_ = &edges_[EdgeIndex(low_, mid)];
    highEdge_ = &edges_[EdgeIndex(mid, high_)];
  }

  double XLo = 0, XHi = 0;
  double ZLo() const { return zLo_; }
  double ZHi() const { return zHi_; }

  // The range of column x; `lo` and `hi` hold the previous column's range.
  void Range(double x, bool firstColumn, double& lo, double& hi) const {
    if (firstColumn ? FirstColumnRange(lo, hi) : InnerColumnRange(x, lo, hi)) return;
    double zc[3];
    int hits = 0;
    for (const EdgeCrossing& edge : edges_) hits += edge.Hit(x, guard_, zc[hits]);
    if (hits >= 2) {
      lo = std::min(zc[0], zc[1]);
      hi = std::max(zc[0], zc[1]);
      if (hits == 3) {
        lo = std::min(lo, zc[2]);
        hi = std::max(hi, zc[2]);
      }
    } else if (hits == 0) {
      lo = zLo_;
      hi = zHi_;
    } else if (firstColumn) {
      lo = hi = zc[0];
    }
  }

 private:
  // Edge k joins vertex k to vertex k + 1.
  static int EdgeIndex(int p, int q) { return (p + 1) % 3 == q ? p : q; }

  // Column x = XLo, when the lowest vertex alone has that x: the edge leaving it is hit
  // at its start (zc is its z exactly), the edge arriving at it is tested at its end,
  // and the third edge lies clearly to the right.
  bool FirstColumnRange(double& lo, double& hi) const {
    if (!(xMid_ - XLo > guard_)) return false;
    const EdgeCrossing& arriving = edges_[(low_ + 2) % 3];
    double zc = arriving.Cross(XLo);
    if (zc == zLow_) {
      lo = hi = zLow_;
    } else if (arriving.HitNearEnd(XLo, zc)) {
      lo = std::min(zLow_, zc);
      hi = std::max(zLow_, zc);
    } else {
      lo = hi = zLow_;
    }
    return true;
  }

  // A column clearly inside the facet's x range and clear of the middle vertex.
  bool InnerColumnRange(double x, double& lo, double& hi) const {
    if (!(std::abs(x - xMid_) > guard_ && x < XHi - guard_)) return false;
    const double a = longEdge_->Cross(x);
    const double b = (x < xMid_ ? lowEdge_ : highEdge_)->Cross(x);
    lo = std::min(a, b);
    hi = std::max(a, b);
    return true;
  }

  EdgeCrossing edges_[3];
  int low_ = 0, high_ = 0;
  double zLo_ = 0, zHi_ = 0, zLow_ = 0, xMid_ = 0, guard_ = 0;
  const EdgeCrossing* longEdge_;
  const EdgeCrossing* lowEdge_;
  const EdgeCrossing* highEdge_;
};

// Where a facet's samples can land: the columns of its lowest and highest x and the
// rows between which the heights of its samples lie, as CellLadder::Locate gives them
// (-1 below the raster, Cells() above). The rows come from the facet's lowest and
// highest z widened by a guard far larger than the rounding of the crossing heights.
struct FacetReach {
  int firstColumn, lastColumn;
  int firstRow, lastRow;
};

// Fills facets into a raster with the store's geometry.
class TriangleFiller {
 public:
  TriangleFiller(const TDataModule1& store, SectionRaster& raster,
                 FillCoverage coverage = FillCoverage::Sampled)
      : resolution_(store.Resolution),
        coverage_(coverage),
        columns_(raster.ColumnEdges, store.Resolution, store.AxisColumn),
        rows_(raster.RowEdges, store.Resolution, store.WireMarginCells),
        rowEdges_(raster.RowEdges.Edges.data()),
        marks_(raster.Column(0)),
        wordsPerColumn_(raster.WordsPerColumn()) {}

  // The reach of a facet from its coordinates, guarded by 2^-28 of the largest.
  FacetReach ReachOf(const double (&x)[3], const double (&z)[3]) const {
    const double zLo = std::min({z[0], z[1], z[2]}), zHi = std::max({z[0], z[1], z[2]});
    const double guard = std::max({std::abs(x[0]), std::abs(x[1]), std::abs(x[2]),
                                   std::abs(z[0]), std::abs(z[1]), std::abs(z[2])}) *
                         0x1p-28;
    return {columns_.Locate(std::min({x[0], x[1], x[2]})),
            columns_.Locate(std::max({x[0], x[1], x[2]})), rows_.Locate(zLo - guard),
            rows_.Locate(zHi + guard)};
  }

  // Whether a facet of that reach can mark a cell that is not marked yet.
  bool Reaches(const FacetReach& reach) const {
    const int i0 = std::max(reach.firstColumn, 0);
    const int i1 = std::min(reach.lastColumn, columns_.Cells() - 1);
    const int j0 = std::max(reach.firstRow, 0), j1 = std::min(reach.lastRow, rows_.Cells() - 1);
    return i0 <= i1 && j0 <= j1 && !BoxMarked(i0, i1, j0, j1);
  }

  // For the columns x = xLo, xLo + Resolution, ... up to xHi (in double), the samples
  // z = lo, lo + Resolution, ... up to hi of the column's range mark their cells.
  void Fill(const double (&xs)[3], const double (&zs)[3], const FacetReach& reach) const {
    int i = reach.firstColumn;
    if (i == columns_.Cells()) return;  // the facet lies right of the raster
    const FacetColumns facet(xs, zs);
    if (coverage_ == FillCoverage::NarrowWhole && facet.XLo + resolution_ > facet.XHi) {
      return FillNarrow(facet, reach);
    }
    double lo = 0, hi = 0;
    facet.Range(facet.XLo, true, lo, hi);
    if (i >= 0) FillColumn(i, lo, hi, reach);
    for (double x = facet.XLo + resolution_; x <= facet.XHi; x += resolution_) {
      i = columns_.Climb(x, i);
      if (i == columns_.Cells()) return;  // this column and the later ones lie right of it
      facet.Range(x, false, lo, hi);
      if (i >= 0) FillColumn(i, lo, hi, reach);
    }
  }

 private:
  using Word = SectionRaster::Word;

  // Facets up to this many rows high find their samples' rows by counting the row
  // edges below them; taller ones climb the rows from the first sample's.
  static constexpr int kFewRows = 4;

  // Whether every cell of columns i0..i1 and rows j0..j1 is marked.
  bool BoxMarked(int i0, int i1, int j0, int j1) const {
    for (int w = j0 >> 6; w <= j1 >> 6; ++w) {
      const int from = std::max(j0 - 64 * w, 0), to = std::min(j1 - 64 * w, 63);
      const Word bits = (~Word{0} >> (63 - (to - from))) << from;
      Word all = bits;
      for (int i = i0; i <= i1; ++i) all &= marks_[std::size_t(i) * wordsPerColumn_ + w];
      if (all != bits) return false;
    }
    return true;
  }

  // The samples lo, lo + Resolution, ... up to hi; there is always the first, as every
  // range has lo <= hi.
  void FillColumn(int i, double lo, double hi, const FacetReach& reach) const {
    Word* column = marks_ + std::size_t(i) * wordsPerColumn_;
    if (reach.lastRow - reach.firstRow >= kFewRows) return FillTallColumn(column, lo, hi);
    for (double z = lo; z <= hi; z += resolution_) {
      int j = reach.firstRow;
      for (int edge = reach.firstRow + 1; edge <= reach.lastRow; ++edge) j += z >= rowEdges_[edge];
      if (unsigned(j) < unsigned(rows_.Cells())) column[j >> 6] |= Word{1} << (j & 63);
    }
  }

  // A facet narrower than a cell gets a single column sample, which would keep only the
  // height range on its left end (for a sliver seen almost edge-on, one vertex) and
  // lose the rest of a thin wall. Its whole height range marks the columns of both its
  // ends instead, sampled as every column is.
  void FillNarrow(const FacetColumns& facet, const FacetReach& reach) const {
    for (int i : {reach.firstColumn, columns_.Locate(facet.XHi)}) {
      if (i >= 0 && i < columns_.Cells()) FillColumn(i, facet.ZLo(), facet.ZHi(), reach);
    }
  }

  void FillTallColumn(Word* column, double lo, double hi) const {
    int j = rows_.Locate(lo);
    for (double z = lo; z <= hi; z += resolution_) {
      j = rows_.Climb(z, j);
      if (j == rows_.Cells()) return;  // this sample and the later ones lie above it
      if (j >= 0) column[j >> 6] |= Word{1} << (j & 63);
    }
  }

  double resolution_;
  FillCoverage coverage_;
  CellLadder columns_;
  CellLadder rows_;
  const double* rowEdges_;
  Word* marks_;
  int wordsPerColumn_;
};

}  // namespace

void FillTriangle(TDataModule1& store, const double (&x)[3], const double (&z)[3]) {
  const TriangleFiller filler(store, store.Raster);
  filler.Fill(x, z, filler.ReachOf(x, z));
}

void FillSection(const TDataModule1& store, const SectionMesh& mesh,
                 const TurnedVertices& vertices, SectionRaster& raster, FillCoverage coverage) {
  const TriangleFiller filler(store, raster, coverage);
  const auto facets = mesh.Facets();
  const auto rows = mesh.Rows();
  const auto x = vertices.X();
  const auto z = mesh.Z();
  const auto column = vertices.Column();
  for (std::size_t k = 0; k < facets.size(); ++k) {
    const auto [a, b, c] = facets[k];
    const FacetReach reach{std::min({column[a], column[b], column[c]}),
                           std::max({column[a], column[b], column[c]}), rows[k].first,
                           rows[k].last};
    if (filler.Reaches(reach)) filler.Fill({x[a], x[b], x[c]}, {z[a], z[b], z[c]}, reach);
  }
}

void RasterizeSection(TDataModule1& store, const FacetTable& table, Host& host) {
  const TriangleFiller filler(store, store.Raster);
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    const double x[3] = {f.V1[0], f.V2[0], f.V3[0]}, z[3] = {f.V1[2], f.V2[2], f.V3[2]};
    const FacetReach reach = filler.ReachOf(x, z);
    if (filler.Reaches(reach)) filler.Fill(x, z, reach);
  }
  MarkOutline(store, host);
}

}  // namespace vantora
