#include "core/check/carved_measure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <future>
#include <numeric>
#include <queue>

#include "core/check/carved_result.h"
#include "core/check/plane_geometry.h"
#include "core/check/program_check.h"
#include "core/common/number_text.h"
#include "core/model/solid_volume.h"

namespace vantora {
namespace {

using Point3 = std::array<double, 3>;

double Length(const Point3& p, const Point3& q) {
  return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) +
                   (p[2] - q[2]) * (p[2] - q[2]));
}

// A part of a facet of the carved surface, and how far from the model any of its points
// could lie. The distance changes no faster than the position, so that is at most its
// centre's distance plus its reach from the centre; and no point lies farther from the
// model than from the model's point nearest the centre, which is farthest at a corner
// (the bound that stays tight where the part runs along the model).
struct SurfacePart {
  Point3 a, b, c;  // a-b its longest edge
  double bound = 0;
};

// An upper bound of the largest distance from the solid's surface to the model, at most
// `tolerance` above it, by branch and bound: the part that could lie farthest is halved
// across its longest edge (which shortens slivers along their length) until none could
// beat the largest distance found by more than the tolerance. Every part's bound holds
// all its points, so the largest found plus the tolerance holds every point.
double LargestDistance(const FacetTable& solid, const SilhouetteTree& tree, double tolerance) {
  const double slack = tolerance / 2;
  double best = 0;
  auto byBound = [](const SurfacePart& l, const SurfacePart& r) { return l.bound < r.bound; };
  std::priority_queue<SurfacePart, std::vector<SurfacePart>, decltype(byBound)> open(byBound);
  auto consider = [&](const Point3& p, const Point3& q, const Point3& r) {
    const double pq = Length(p, q), qr = Length(q, r), rp = Length(r, p);
    SurfacePart part = pq >= qr && pq >= rp ? SurfacePart{p, q, r}
                       : qr >= rp           ? SurfacePart{q, r, p}
                                            : SurfacePart{r, p, q};
    const Point3 centre{(p[0] + q[0] + r[0]) / 3, (p[1] + q[1] + r[1]) / 3,
                        (p[2] + q[2] + r[2]) / 3};
    const double reach = std::max({Length(centre, p), Length(centre, q), Length(centre, r)});
    // A part that cannot beat the best by the tolerance needs no exact distance.
    const double floor = best + tolerance - reach;
    Point3 nearest;
    const double distance = tree.DistanceInSpace(centre, floor, slack, HUGE_VAL, &nearest);
    if (distance < floor) return;
    best = std::max(best, distance - slack);  // the distance may be up to slack too large
    part.bound = std::min(distance + reach, std::max({Length(nearest, p), Length(nearest, q),
                                                      Length(nearest, r)}));
    if (part.bound > best + tolerance) open.push(part);
  };
  auto point = [](const Vec3& v) { return Point3{v[0], v[1], v[2]}; };
  for (int k = 0; k < solid.FacetCount; ++k) {
    const Facet& f = solid.Facets[std::size_t(k)];
    consider(point(f.V1), point(f.V2), point(f.V3));
  }
  while (!open.empty() && open.top().bound > best + tolerance) {
    const SurfacePart part = open.top();
    open.pop();
    Point3 middle;
    for (int i = 0; i < 3; ++i) middle[i] = (part.a[i] + part.b[i]) / 2;
    consider(part.a, middle, part.c);
    consider(middle, part.b, part.c);
  }
  return best + tolerance;
}

using Polygon = std::vector<PlanePoint>;  // x, y of the model in x, z

// How far (x, y) lies outside the slice; 0 inside.
double DistanceOutside(const CarvedSlice& slice, double x, double y) {
  double nearest = HUGE_VAL;
  for (const Polygon& piece : slice.Pieces) {
    nearest = std::min(nearest, plane::PointPolygonDistance({x, y}, piece));
    if (nearest == 0) break;
  }
  return nearest;
}

// How far a point lies from the carved solid, searching the slices above and below the
// one it lies in while they could hold a nearer point.
double DistanceToSolid(const std::vector<CarvedSlice>& slices, std::size_t k, double x,
                       double y) {
  double nearest = DistanceOutside(slices[k], x, y);
  const double z = slices[k].Z;
  for (std::size_t d = 1;; ++d) {
    bool nearer = false;  // whether a slice d away could still hold a nearer point
    for (const std::size_t j : {k - d, k + d}) {  // k - d wraps past the end below 0
      if (j >= slices.size() || std::abs(slices[j].Z - z) >= nearest) continue;
      nearer = true;
      nearest = std::min(nearest, std::hypot(slices[j].Z - z, DistanceOutside(slices[j], x, y)));
    }
    if (!nearer) return nearest;
  }
}

// At most this many points of the model outside the solid are measured for the deepest
// cut; beyond it they are taken evenly, every so many.
constexpr std::size_t kMaxCutPoints = 4000;

struct CutPoint {
  std::size_t slice;
  double x, y;
};

double DeepestCutOf(const std::vector<CarvedSlice>& slices, const std::vector<CutPoint>& points) {
  const std::size_t stride = points.size() / kMaxCutPoints + 1;
  double deepest = 0;
  for (std::size_t k = 0; k < points.size(); k += stride) {
    const CutPoint& p = points[k];
    deepest = std::max(deepest, DistanceToSolid(slices, p.slice, p.x, p.y));
  }
  return deepest;
}

// The model's facets by their lowest corner, met in turn by slices rising through them.
class ModelSlicer {
 public:
  explicit ModelSlicer(const FacetTable& model)
      : model_(model), order_(std::size_t(model.FacetCount)), low_(order_.size()) {
    for (std::size_t k = 0; k < low_.size(); ++k) low_[k] = Low(int(k));
    std::iota(order_.begin(), order_.end(), 0);
    std::sort(order_.begin(), order_.end(), [&](int l, int r) { return low_[std::size_t(l)] < low_[std::size_t(r)]; });
  }

  // The model's section at height z (rising from call to call) as segments, with the
  // corners above z taken as above it and the others as below.
  void SectionAt(double z, std::vector<std::array<PlanePoint, 2>>& segments) {
    while (next_ < order_.size() && low_[std::size_t(order_[next_])] <= z) {
      active_.push_back(order_[next_++]);
    }
    std::erase_if(active_, [&](int k) { return High(k) <= z; });
    segments.clear();
    for (int k : active_) {
      const Facet& f = model_.Facets[std::size_t(k)];
      const Vec3* v[3] = {&f.V1, &f.V2, &f.V3};
      PlanePoint ends[2];
      int found = 0;
      for (int e = 0; e < 3; ++e) {
        const Vec3 &a = *v[e], &b = *v[(e + 1) % 3];
        if ((a[2] > z) == (b[2] > z)) continue;
        const double t = (z - a[2]) / (double(b[2]) - a[2]);
        if (found < 2) ends[found] = {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
        ++found;
      }
      if (found == 2) segments.push_back({ends[0], ends[1]});
    }
  }

 private:
  float Low(int k) const {
    const Facet& f = model_.Facets[std::size_t(k)];
    return std::min({f.V1[2], f.V2[2], f.V3[2]});
  }
  float High(int k) const {
    const Facet& f = model_.Facets[std::size_t(k)];
    return std::max({f.V1[2], f.V2[2], f.V3[2]});
  }

  const FacetTable& model_;
  std::vector<int> order_;  // by the lowest corner
  std::vector<float> low_;
  std::size_t next_ = 0;
  std::vector<int> active_;
};

struct Span {
  long row;
  double lo, hi;
};

// Beyond any model's rows, and safe in long arithmetic.
constexpr long kFarRow = 1L << 40;

// Rows from First to Last.
struct RowRange {
  long First, Last;
};

// Where the rows (r + 1/2) dy in `rows` cross segment a-b (corners above a row count as
// above it), as (row, x).
template <typename Add>
void RowCrossings(PlanePoint a, PlanePoint b, double dy, RowRange rows, const Add& add) {
  const double lo = std::min(a.z, b.z), hi = std::max(a.z, b.z);
  const double below = std::max(std::ceil(lo / dy - 0.5), double(rows.First));
  for (long r = long(below); r <= rows.Last && (double(r) + 0.5) * dy < hi; ++r) {
    const double y = (double(r) + 0.5) * dy;
    if ((a.z > y) == (b.z > y)) continue;
    add(r, a.x + (y - a.z) * (b.x - a.x) / (b.z - a.z));
  }
}

// Sorts crossings by row, then along each row: rows counted into place, the few
// crossings of a row sorted there.
void SortByRow(std::vector<std::pair<long, double>>& crossings,
               std::vector<std::pair<long, double>>& scratch) {
  if (crossings.empty()) return;
  const auto [lo, hi] = std::minmax_element(crossings.begin(), crossings.end());
  const long first = lo->first;
  std::vector<std::size_t> start(std::size_t(hi->first - first) + 2, 0);
  for (const auto& c : crossings) ++start[std::size_t(c.first - first) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  scratch.resize(crossings.size());
  std::vector<std::size_t> at(start.begin(), start.end() - 1);
  for (const auto& c : crossings) scratch[at[std::size_t(c.first - first)]++] = c;
  for (std::size_t r = 0; r + 1 < start.size(); ++r) {
    std::sort(scratch.begin() + long(start[r]), scratch.begin() + long(start[r + 1]));
  }
  crossings.swap(scratch);
}

// The spans of row after row of a point set: crossings paired in order along each row.
std::vector<Span> SpansOf(std::vector<std::pair<long, double>>& crossings,
                          std::vector<std::pair<long, double>>& scratch) {
  SortByRow(crossings, scratch);
  std::vector<Span> spans;
  for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
    if (crossings[k].first != crossings[k + 1].first) continue;
    spans.push_back({crossings[k].first, crossings[k].second, crossings[k + 1].second});
    ++k;
  }
  return spans;
}

// What the program takes from a closed model: its volume outside the carved slices and
// points of it there. Each slice's section of the model is scanned in rows one slice step
// apart, exact along the rows; the pieces' spans are taken off each row's spans.
struct Removed {
  double volume = 0;
  std::vector<CutPoint> points;
};

Removed RemovedFromModel(const std::vector<CarvedSlice>& slices, const FacetTable& model,
                         double step) {
  Removed removed;
  ModelSlicer sections(model);
  std::vector<std::array<PlanePoint, 2>> segments;
  std::vector<std::pair<long, double>> modelCrossings, pieceCrossings, scratch;
  for (std::size_t k = 0; k < slices.size(); ++k) {
    const CarvedSlice& slice = slices[k];
    sections.SectionAt(slice.Z, segments);
    modelCrossings.clear();
    pieceCrossings.clear();
    const auto addModel = [&](long r, double x) { modelCrossings.emplace_back(r, x); };
    const auto addPiece = [&](long r, double x) { pieceCrossings.emplace_back(r, x); };
    // The model's rows, however far it lies; the pieces only where the model is (the
    // stock may reach far beyond it).
    const RowRange modelRows{-kFarRow, kFarRow};
    for (const auto& [a, b] : segments) RowCrossings(a, b, step, modelRows, addModel);
    if (modelCrossings.empty()) continue;
    const auto [low, high] = std::minmax_element(modelCrossings.begin(), modelCrossings.end());
    for (const Polygon& piece : slice.Pieces) {
      for (std::size_t e = 0; e < piece.size(); ++e) {
        RowCrossings(piece[e], piece[(e + 1) % piece.size()], step, {low->first, high->first},
                     addPiece);
      }
    }
    const std::vector<Span> inModel = SpansOf(modelCrossings, scratch);
    const std::vector<Span> kept = SpansOf(pieceCrossings, scratch);
    const double thickness = k == 0 ? step / 2 : step;  // the lowest slice stands on the platform
    std::size_t c = 0;
    for (const Span& m : inModel) {
      while (c < kept.size() && (kept[c].row < m.row || (kept[c].row == m.row && kept[c].hi <= m.lo))) ++c;
      double from = m.lo;
      for (std::size_t j = c; j < kept.size() && kept[j].row == m.row && kept[j].lo < m.hi; ++j) {
        if (kept[j].lo > from) removed.points.push_back({k, (from + kept[j].lo) / 2, (double(m.row) + 0.5) * step});
        removed.volume += std::max(0.0, kept[j].lo - from) * step * thickness;
        from = std::max(from, kept[j].hi);
      }
      if (m.hi > from) {
        removed.volume += (m.hi - from) * step * thickness;
        removed.points.push_back({k, (from + m.hi) / 2, (double(m.row) + 0.5) * step});
      }
    }
  }
  return removed;
}

// The corners of an open model that lie outside the slice nearest them.
std::vector<CutPoint> CornersOutside(const std::vector<CarvedSlice>& slices,
                                     const FacetTable& model, double step) {
  std::vector<CutPoint> points;
  const double bottom = slices.front().Z;
  for (int f = 0; f < model.FacetCount; ++f) {
    for (const Vec3* v : {&model.Facets[std::size_t(f)].V1, &model.Facets[std::size_t(f)].V2,
                          &model.Facets[std::size_t(f)].V3}) {
      const double at = std::round((double((*v)[2]) - bottom) / step);
      const auto k = std::size_t(std::clamp(at, 0.0, double(slices.size() - 1)));
      if (DistanceOutside(slices[k], (*v)[0], (*v)[1]) > 0) points.push_back({k, (*v)[0], (*v)[1]});
    }
  }
  return points;
}

// The centre of a facet.
Point3 CentreOf(const Facet& f) {
  Point3 c;
  for (int i = 0; i < 3; ++i) c[i] = (double(f.V1[i]) + f.V2[i] + f.V3[i]) / 3;
  return c;
}

}  // namespace

CarvedColouring ColourCarved(const CarvedResult& carved, const FacetTable& model,
                             const SilhouetteTree& tree, double slack) {
  const FacetTable& solid = *carved.Solid;
  const std::vector<CarvedSlice>& slices = carved.Slices;
  // Each facet in the colour of its centre: a large face (a cap over a hole no wire
  // reaches) shows what lies inside it, not only what its corners keep. In two halves,
  // one on a thread of its own.
  CarvedColouring colouring;
  colouring.MaterialLeft.resize(std::size_t(solid.FacetCount));
  const auto measure = [&](int from, int to) {
    for (int k = from; k < to; ++k) {
      const Point3 centre = CentreOf(solid.Facets[std::size_t(k)]);
      colouring.MaterialLeft[std::size_t(k)] =
          float(tree.Empty() ? 0 : tree.DistanceInSpace(centre, 0, slack, HUGE_VAL));
    }
  };
  auto firstHalf = std::async(std::launch::async, measure, 0, solid.FacetCount / 2);
  measure(solid.FacetCount / 2, solid.FacetCount);
  firstHalf.get();
  colouring.Taken.resize(std::size_t(model.FacetCount));
  if (slices.empty() || !carved.Deviation.CutsThePart()) return colouring;
  const double bottom = slices.front().Z;
  const double step = slices.size() > 1 ? slices[1].Z - bottom : 1;
  for (int k = 0; k < model.FacetCount; ++k) {
    const Point3 c = CentreOf(model.Facets[std::size_t(k)]);
    const double at = std::clamp(std::round((c[2] - bottom) / step), 0.0, double(slices.size() - 1));
    colouring.Taken[std::size_t(k)] = DistanceOutside(slices[std::size_t(at)], c[0], c[1]) > kReachTolerance;
  }
  return colouring;
}

std::optional<double> CarvedDeviation::Excess() const {
  if (!ModelVolume) return std::nullopt;
  return CarvedVolume - *ModelVolume + RemovedVolume.value_or(0);
}

std::optional<double> CarvedDeviation::ExcessPercent() const {
  if (!ModelVolume || !(*ModelVolume > 0)) return std::nullopt;
  return *Excess() / *ModelVolume * 100;
}

CarvedDeviation MeasureCarved(const FacetTable& solid, const std::vector<CarvedSlice>& slices,
                              const FacetTable& model, const SilhouetteTree& tree,
                              double sliceStep) {
  CarvedDeviation d;
  d.SliceStep = sliceStep;
  d.CarvedVolume = EnclosedVolume(solid);
  // The model's volume needs its edges matched, as long as the distance passes below:
  // it runs beside them.
  auto modelVolume = std::async(std::launch::async, [&model] { return ClosedVolume(model); });
  // The solid is within a slice step of the exact one, and so is the distance.
  if (!tree.Empty()) d.LargestDistance = LargestDistance(solid, tree, sliceStep);
  if (slices.empty() || model.FacetCount == 0) {
    d.ModelVolume = modelVolume.get();
    return d;
  }
  // Taken as if the model were closed, while its edges are matched: it is for most.
  Removed removed = RemovedFromModel(slices, model, sliceStep);
  d.ModelVolume = modelVolume.get();
  std::vector<CutPoint> cut;
  if (d.ModelVolume) {
    d.RemovedVolume = removed.volume;
    cut = std::move(removed.points);
  } else {
    cut = CornersOutside(slices, model, sliceStep);
  }
  d.DeepestCut = DeepestCutOf(slices, cut);
  // Contact within the check's tolerance is no cut.
  if (d.DeepestCut <= kReachTolerance) {
    d.DeepestCut = 0;
    if (d.RemovedVolume) d.RemovedVolume = 0;
  }
  return d;
}

std::string DeviationText(const CarvedDeviation& d) {
  std::string text = "Carved result, sliced every " + FixedText(d.SliceStep) +
                     " mm: " + FixedText(d.CarvedVolume, 1) + " mm3\n";
  if (d.ModelVolume) {
    text += "Model: " + FixedText(*d.ModelVolume, 1) + " mm3; left over it: " + FixedText(*d.Excess(), 1) +
            " mm3";
    if (auto percent = d.ExcessPercent()) text += " (" + FixedText(*percent, 1) + " %)";
    text += "\n";
  } else {
    text += "The model is not closed: its volume and the material left over it are unknown.\n";
  }
  text += "Most material left: at most " + FixedText(d.LargestDistance) + " mm from the model\n";
  if (!d.CutsThePart()) return text + "The program takes nothing from the model.\n";
  text += "THE PROGRAM CUTS THE PART: ";
  if (d.RemovedVolume) text += FixedText(*d.RemovedVolume, 1) + " mm3 taken from the model, ";
  return text + "up to " + FixedText(d.DeepestCut) + " mm deep\n";
}

std::string DeviationJsonMembers(const CarvedDeviation& d) {
  auto optional = [](const std::optional<double>& v) {
    return v ? FixedText(*v) : std::string("null");
  };
  return "\"sliceStep\": " + FixedText(d.SliceStep) + ", \"carvedVolume\": " + FixedText(d.CarvedVolume) +
         ", \"modelVolume\": " + optional(d.ModelVolume) + ", \"excess\": " + optional(d.Excess()) +
         ", \"excessPercent\": " + optional(d.ExcessPercent()) +
         ", \"largestDistance\": " + FixedText(d.LargestDistance) +
         ", \"removedVolume\": " + optional(d.RemovedVolume) +
         ", \"deepestCut\": " + FixedText(d.DeepestCut) +
         ", \"cutsThePart\": " + (d.CutsThePart() ? "true" : "false");
}

}  // namespace vantora
