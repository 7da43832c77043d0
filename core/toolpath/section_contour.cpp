#include "core/toolpath/section_contour.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <utility>

#include "core/toolpath/cell_ladder.h"

namespace vantora {
namespace {

constexpr double kPi = std::numbers::pi;
// Turns (radians) by which a fold's range is widened, far beyond the rounding of the
// turned coordinates: an edge drawn too often costs a little time, one missed a gap.
constexpr double kWiden = 1e-6;
// A fold's range at least this wide (radians) is drawn at every section.
constexpr double kWide = kPi / 4;

// The side of the edge a-b that corner c lies on in the section plane, for a turn r of the
// mesh, is the sign of cos r P - sin r Q (x turns to cos r x - sin r y; z stays).
struct SideTerms {
  double P, Q;
};
SideTerms SideOf(const SectionMesh& mesh, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  const auto x = mesh.X(), y = mesh.Y(), z = mesh.Z();
  const double dz = double(z[b]) - z[a], cz = double(z[c]) - z[a];
  return {(double(x[b]) - x[a]) * cz - dz * (double(x[c]) - x[a]),
          (double(y[b]) - y[a]) * cz - dz * (double(y[c]) - y[a])};
}

// The turns at which the edge with these two facets may bound the silhouette: the
// sides of the far corners, R1 cos(r + p1) and R2 cos(r + p2), are not strictly
// opposite, that is cos(2r + p1 + p2) >= -cos(p1 - p2). A range [From, From + Width]
// repeating every half turn; Width >= kWide stands for every turn.
struct FoldRange {
  double From, Width;
};
FoldRange FoldsAt(const SideTerms& s1, const SideTerms& s2) {
  const double r1 = std::hypot(s1.P, s1.Q), r2 = std::hypot(s2.P, s2.Q);
  if (r1 == 0 || r2 == 0) return {0, kWide};  // a facet seen edge-on at every turn
  const double cosDifference = (s1.P * s2.P + s1.Q * s2.Q) / (r1 * r2);
  const double threshold = -cosDifference - 1e-9;
  if (!(threshold > -1)) return {0, kWide};  // folds at every turn (or overflowed)
  const double w = std::acos(std::min(threshold, 1.0));
  const double sum = std::atan2(s1.P * s2.Q + s1.Q * s2.P, s1.P * s2.P - s1.Q * s2.Q);
  return {(-sum - w) / 2 - kWiden, w + 2 * kWiden};
}

// Calls visit(a, b, far, count) for every edge a-b of the mesh, with the third corners of
// the facets along it (the first two of them; count says how many there are). Corners
// are matched by their coordinates.
template <class Visit>
void ForEachEdge(const SectionMesh& mesh, Visit visit) {
  const std::vector<std::uint32_t> first = mesh.FirstIndices();
  auto corners = [&](const SectionMesh::Corners& f) {
    return SectionMesh::Corners{first[f[0]], first[f[1]], first[f[2]]};
  };
  // Every facet's edges listed under their lower corner (a counting sort), each with its
  // upper corner and the facet's third one.
  struct Side {
    std::uint32_t upper, far;
  };
  std::vector<std::size_t> start(mesh.VertexCount() + 1, 0);
  for (const auto& facet : mesh.Facets()) {
    const auto f = corners(facet);
    for (int e = 0; e < 3; ++e) ++start[std::min(f[e], f[(e + 1) % 3]) + 1];
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<Side> sides(start.back());
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (const auto& facet : mesh.Facets()) {
    const auto f = corners(facet);
    for (int e = 0; e < 3; ++e) {
      const auto [lower, upper] = std::minmax(f[e], f[(e + 1) % 3]);
      sides[next[lower]++] = {upper, f[(e + 2) % 3]};
    }
  }
  for (std::uint32_t v = 0; v + 1 < start.size(); ++v) {
    const auto begin = sides.begin() + std::ptrdiff_t(start[v]);
    const auto end = sides.begin() + std::ptrdiff_t(start[v + 1]);
    std::sort(begin, end, [](const Side& l, const Side& r) { return l.upper < r.upper; });
    for (auto it = begin; it != end;) {
      auto run = it;
      while (run != end && run->upper == it->upper) ++run;
      const std::uint32_t far[2] = {it->far, run - it > 1 ? (it + 1)->far : it->far};
      visit(v, it->upper, far, int(run - it));
      it = run;
    }
  }
}

// Marks the cells segments pass through, every one of them: in each column the segment
// crosses, the rows between its heights where it enters and leaves the column.
class CellMarker {
 public:
  CellMarker(const TDataModule1& store, SectionRaster& raster)
      : columns_(raster.ColumnEdges, store.Resolution, store.AxisColumn),
        rows_(raster.RowEdges, store.Resolution, store.WireMarginCells),
        columnEdges_(raster.ColumnEdges.Edges.data()),
        raster_(raster) {}

  void Segment(double xa, double za, double xb, double zb) const {
    if (xb < xa) std::swap(xa, xb), std::swap(za, zb);
    const int first = std::max(columns_.Locate(xa), 0);
    const int last = std::min(columns_.Locate(xb), columns_.Cells() - 1);
    const double slope = xb > xa ? (zb - za) / (xb - xa) : 0.0;
    for (int i = first; i <= last; ++i) {
      const double x0 = std::max(xa, columnEdges_[i]), x1 = std::min(xb, columnEdges_[i + 1]);
      const double z0 = x0 == xa ? za : za + (x0 - xa) * slope;
      const double z1 = x1 == xb ? zb : za + (x1 - xa) * slope;
      MarkRows(i, std::min(z0, z1), std::max(z0, z1));
    }
  }

 private:
  void MarkRows(int i, double zLo, double zHi) const {
    const int j0 = std::max(rows_.Locate(zLo), 0);
    const int j1 = std::min(rows_.Locate(zHi), rows_.Cells() - 1);
    for (int j = j0; j <= j1; ++j) raster_.Mark(i, j);
  }

  CellLadder columns_;
  CellLadder rows_;
  const double* columnEdges_;
  SectionRaster& raster_;
};

}  // namespace

SectionContour::SectionContour(const SectionMesh& mesh, const std::vector<float>& angles,
                               float turnAngle)
    : mesh_(mesh) {
  std::vector<double> turns;
  for (float angle : angles) {
    const float delta = angle - turnAngle;  // as the vertices turn
    turns.push_back(delta * kTableDegreesToRadians);
    cos_.push_back(std::cos(turns.back()));
    sin_.push_back(std::sin(turns.back()));
  }
  Sort(mesh, turns);
}

// Puts every edge in the lists of the sections (at these turns) it may fold at, or in
// always_.
void SectionContour::Sort(const SectionMesh& mesh, const std::vector<double>& turns) {
  // The sections' turns within a half turn, in order.
  std::vector<std::pair<double, std::uint32_t>> halfTurns;
  for (std::size_t k = 0; k < turns.size(); ++k) {
    halfTurns.emplace_back(turns[k] - kPi * std::floor(turns[k] / kPi), std::uint32_t(k));
  }
  std::sort(halfTurns.begin(), halfTurns.end());
  // Drawing must cost well under filling, and the lists stay in proportion to the mesh.
  const std::size_t sections = turns.size(), facets = mesh.Facets().size();
  const std::size_t work = facets * sections / 2, memory = 4 * facets + 65536;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;  // section, edge
  bool fits = true;
  ForEachEdge(mesh, [&](std::uint32_t a, std::uint32_t b, const std::uint32_t (&far)[2],
                        int count) {
    if (!fits) return;
    const FoldRange fold =
        count == 2 ? FoldsAt(SideOf(mesh, a, b, far[0]), SideOf(mesh, a, b, far[1]))
                   : FoldRange{0, kWide};
    const auto edge = std::uint32_t(edges_.size());
    const std::size_t before = entries.size();
    if (fold.Width >= kWide) {
      always_.push_back(edge);
    } else {
      const double from = fold.From - kPi * std::floor(fold.From / kPi);
      auto add = [&](double lo, double hi) {
        auto it = std::lower_bound(halfTurns.begin(), halfTurns.end(),
                                   std::pair{lo, std::uint32_t{0}});
        for (; it != halfTurns.end() && it->first <= hi; ++it) {
          entries.emplace_back(it->second, edge);
        }
      };
      add(from, from + fold.Width);
      if (from + fold.Width >= kPi) add(0, from + fold.Width - kPi);
      if (entries.size() == before) return;  // folds at no section
    }
    edges_.push_back({a, b});
    fits = entries.size() + always_.size() * sections <= work && entries.size() <= memory;
  });
  if (!fits) {
    edges_ = {};
    always_ = {};
    return;
  }
  start_.assign(sections + 1, 0);
  for (const auto& entry : entries) ++start_[entry.first + 1];
  std::partial_sum(start_.begin(), start_.end(), start_.begin());
  folding_.resize(entries.size());
  std::vector<std::size_t> next(start_.begin(), start_.end() - 1);
  for (const auto& [section, edge] : entries) folding_[next[section]++] = edge;
}

void SectionContour::Mark(int k, const TDataModule1& store, SectionRaster& raster) const {
  const auto x = mesh_.X(), y = mesh_.Y(), z = mesh_.Z();
  const double c = cos_[std::size_t(k)], s = sin_[std::size_t(k)];
  const CellMarker marker(store, raster);
  auto draw = [&](std::uint32_t e) {
    const auto [a, b] = edges_[e];
    marker.Segment(c * x[a] - s * y[a], z[a], c * x[b] - s * y[b], z[b]);
  };
  for (std::uint32_t e : always_) draw(e);
  for (std::size_t i = start_[std::size_t(k)]; i < start_[std::size_t(k) + 1]; ++i) {
    draw(folding_[i]);
  }
}

}  // namespace vantora
