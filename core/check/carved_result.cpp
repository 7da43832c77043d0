#include "core/check/carved_result.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/check/carved_shell.h"
#include "core/check/plane_geometry.h"
#include "core/check/program_check.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

using carved::ClipToStrip;
using carved::Piece;
using carved::PieceOf;
using carved::Polygon;
using carved::ShellBuilder;

// A slice falling into more pieces than this is not a cut a program makes on purpose.
constexpr std::size_t kMaxPieces = 4096;
// How many times a slice may meet a section or a move in all, and how many slices there
// may be: ten times the torus yardstick's and more (under a million meetings, 316
// slices), and about a second of carving at most.
constexpr double kMaxSliceWork = 1e7;
constexpr double kMaxSlices = 20000;
// The most facets a carved solid may have: twenty times the yardstick's.
constexpr int kMaxFacets = 1 << 20;
// A section removing less than this share of the solid removes nothing: the section
// half a turn from another differs from it by slivers at the raster's cells.
constexpr double kIdleShare = 1e-4;
// Spans and gaps narrower than this (mm) are rounding, not material.
constexpr double kSliver = 1e-6;

struct Interval {
  double lo, hi;
};
using Intervals = std::vector<Interval>;

struct Segment {
  PlanePoint a, b;
  int loop;          // the loop it belongs to (see Section), or -1: it only cuts
  double low, high;  // the heights the wire touches on it
};

// A loop of the path: from its last point at the start height, out of it and back.
struct Loop {
  PlanePoint from, to;
};

// The program's moves at one rotary position, in that section's plane.
//
// Below the start height, the section keeps everything between where its loops come in
// and go out. Above it, it keeps what its loops enclose, each closed along the start
// height. A path that never comes back to the start height severs nothing: what lies
// beyond it is still held above its far end. Every move takes the wire's radius along it.
struct Section {
  double c = 0;             // the rotary position
  double length = 0;        // of the path, mm
  double cos = 1, sin = 0;  // of the model's turn: u = cos x - sin y
  double startZ = 0;        // the start height
  std::vector<Loop> loops;
  Interval between{HUGE_VAL, -HUGE_VAL};  // from the loops' leftmost end to the rightmost
  double reach = 0;               // the farthest the wire comes from the axis
  std::vector<Segment> segments;  // by their lowest height
  std::size_t next = 0;           // the first segment not yet reached by the slices
  std::vector<std::size_t> active;
};

// Twice the area a loop encloses with the start height.
double LoopArea2(const std::vector<PlanePoint>& path, std::size_t first, std::size_t last) {
  double area2 = 0;
  for (std::size_t k = first; k <= last; ++k) {
    const PlanePoint a = path[k], b = path[k == last ? first : k + 1];
    area2 += a.x * b.z - b.x * a.z;
  }
  return area2;
}

// One section from its path, turned by `turn` radians. The start height is the band
// `startBand` above the path's lowest point. Moves before the first loop and after the
// last (the ways to and from the next section) only cut, and so does a loop that comes
// back along itself (a way back from a dead end or to the next section): it encloses
// less than `sliver` mm².
Section SectionOf(const std::vector<PlanePoint>& path, double turn, double radius,
                  double startBand, double sliver) {
  Section s;
  s.cos = std::cos(turn);
  s.sin = std::sin(turn);
  const double lowest =
      std::min_element(path.begin(), path.end(), [](auto& l, auto& r) { return l.z < r.z; })->z;
  auto inBand = [&](const PlanePoint& p) { return p.z <= lowest + startBand; };
  std::vector<int> loopOf(path.size(), -1);
  for (auto at = std::find_if(path.begin(), path.end(), inBand); at != path.end();) {
    const auto climb = std::find_if_not(at, path.end(), inBand);
    const auto back = std::find_if(climb, path.end(), inBand);
    if (back == path.end()) break;
    const auto first = std::size_t(climb - path.begin()) - 1;
    const auto last = std::size_t(back - path.begin());
    if (std::abs(LoopArea2(path, first, last)) > 2 * sliver) {
      if (s.loops.empty()) s.startZ = std::max(path[first].z, path[last].z);
      for (std::size_t k = first; k < last; ++k) loopOf[k] = int(s.loops.size());
      s.loops.push_back({path[first], path[last]});
      s.between = {std::min({s.between.lo, path[first].x, path[last].x}),
                   std::max({s.between.hi, path[first].x, path[last].x})};
    }
    at = back;
  }
  for (const PlanePoint& p : path) s.reach = std::max(s.reach, std::abs(p.x) + radius);
  for (std::size_t k = 0; k + 1 < path.size(); ++k) {
    const PlanePoint a = path[k], b = path[k + 1];
    s.segments.push_back(
        {a, b, loopOf[k], std::min(a.z, b.z) - radius, std::max(a.z, b.z) + radius});
  }
  std::sort(s.segments.begin(), s.segments.end(),
            [](const Segment& l, const Segment& r) { return l.low < r.low; });
  return s;
}

// Every run of moves at one rotary position that moves the wire at all.
std::vector<Section> SectionsOf(const WireFrame& frame, const NcMotionList& motion,
                                double startBand) {
  std::vector<Section> sections;
  const std::vector<NcMotion>& moves = motion.Motions;
  for (std::size_t first = 0, end; first < moves.size(); first = end) {
    std::vector<PlanePoint> path;
    for (end = first; end < moves.size() && moves[end].C == moves[first].C; ++end) {
      path.push_back({moves[end].X, moves[end].Y - frame.OffsetZ});
    }
    if (path.size() < 2) continue;
    const double turn = (moves[first].C - frame.StandAngle) * kTableDegreesToRadians;
    sections.push_back(SectionOf(path, turn, frame.WireDia / 2, startBand,
                                 startBand * startBand / 4));
    sections.back().c = moves[first].C;
    for (std::size_t k = 1; k < path.size(); ++k) {
      sections.back().length += std::hypot(path[k].x - path[k - 1].x, path[k].z - path[k - 1].z);
    }
  }
  return sections;
}

// The u where lo < coef u + offset < hi, within `range`.
Interval Within(double coef, double offset, double lo, double hi, Interval range) {
  if (coef == 0) return (offset > lo && offset < hi) ? range : Interval{1, 0};
  double from = (lo - offset) / coef, to = (hi - offset) / coef;
  if (from > to) std::swap(from, to);
  return {std::max(range.lo, from), std::min(range.hi, to)};
}

// Where the wire of `radius` on the move a-b passes through height z: the capsule
// about the move is convex, so it is one span, the hull of its two end discs and the
// band between them.
std::optional<Interval> WireSpan(const Segment& s, double z, double radius) {
  Interval span{HUGE_VAL, -HUGE_VAL};
  auto add = [&](Interval i) {
    if (i.hi <= i.lo) return;
    span = {std::min(span.lo, i.lo), std::max(span.hi, i.hi)};
  };
  for (const PlanePoint& end : {s.a, s.b}) {
    const double dz = z - end.z;
    if (std::abs(dz) < radius) {
      const double w = std::sqrt(radius * radius - dz * dz);
      add({end.x - w, end.x + w});
    }
  }
  const double du = s.b.x - s.a.x, dz = s.b.z - s.a.z;
  const double length2 = du * du + dz * dz;
  if (length2 > 0) {
    const double length = std::sqrt(length2);
    const double nu = -dz / length, nz = du / length;
    const Interval all{-HUGE_VAL, HUGE_VAL};
    // Along the move: 0 < (p - a).d < |d|^2; across it: |(p - a).n| < radius.
    const Interval along = Within(du, dz * (z - s.a.z) - du * s.a.x, 0, length2, all);
    add(Within(nu, nz * (z - s.a.z) - nu * s.a.x, -radius, radius, along));
  }
  if (span.hi <= span.lo) return std::nullopt;
  return span;
}

Intervals Subtract(const Intervals& base, Intervals cuts) {
  std::sort(cuts.begin(), cuts.end(), [](auto& l, auto& r) { return l.lo < r.lo; });
  Intervals kept;
  for (Interval piece : base) {
    for (const Interval& cut : cuts) {
      if (cut.hi <= piece.lo) continue;
      if (cut.lo >= piece.hi) break;
      if (cut.lo - piece.lo > kSliver) kept.push_back({piece.lo, cut.lo});
      piece.lo = std::max(piece.lo, cut.hi);
      if (piece.hi - piece.lo <= kSliver) break;
    }
    if (piece.hi - piece.lo > kSliver) kept.push_back(piece);
  }
  return kept;
}

// Brings the section's active moves to height z (slices come in rising order).
void Reach(Section& s, double z) {
  while (s.next < s.segments.size() && s.segments[s.next].low <= z) s.active.push_back(s.next++);
  s.active.erase(std::remove_if(s.active.begin(), s.active.end(),
                                [&](std::size_t k) { return s.segments[k].high < z; }),
                 s.active.end());
}

// The union of spans.
Intervals Union(Intervals spans) {
  std::sort(spans.begin(), spans.end(), [](auto& l, auto& r) { return l.lo < r.lo; });
  Intervals merged;
  for (const Interval& i : spans) {
    if (!merged.empty() && i.lo <= merged.back().hi) {
      merged.back().hi = std::max(merged.back().hi, i.hi);
    } else {
      merged.push_back(i);
    }
  }
  return merged;
}

// What the section's loops enclose at height z above the start height.
Intervals LoopsKeepAt(const Section& s, double z) {
  std::vector<std::pair<int, double>> crossings;  // (loop, u)
  auto cross = [&](int loop, PlanePoint a, PlanePoint b) {
    if ((a.z <= z) != (b.z <= z)) {
      crossings.emplace_back(loop, a.x + (z - a.z) * (b.x - a.x) / (b.z - a.z));
    }
  };
  for (std::size_t k : s.active) {
    if (s.segments[k].loop >= 0) cross(s.segments[k].loop, s.segments[k].a, s.segments[k].b);
  }
  for (std::size_t l = 0; l < s.loops.size(); ++l) cross(int(l), s.loops[l].to, s.loops[l].from);
  std::sort(crossings.begin(), crossings.end());
  Intervals kept;
  for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
    if (crossings[k].first != crossings[k + 1].first) continue;
    kept.push_back({crossings[k].second, crossings[k + 1].second});
    ++k;
  }
  return Union(std::move(kept));
}

// What the section leaves standing at height z, as spans of u.
Intervals KeptAt(Section& s, double z, double radius) {
  Reach(s, z);
  Intervals base;
  if (s.loops.empty()) {
    base.push_back({-HUGE_VAL, HUGE_VAL});
  } else if (z < s.startZ) {
    base.push_back(s.between);
  } else {
    base = LoopsKeepAt(s, z);
  }
  Intervals cuts;
  if (radius > 0) {
    for (std::size_t k : s.active) {
      if (auto span = WireSpan(s.segments[k], z, radius)) cuts.push_back(*span);
    }
  }
  return Subtract(base, std::move(cuts));
}

class Slicer {
 public:
  Slicer(std::vector<Section> sections, double radius, const StockExtent& stock)
      : sections_(std::move(sections)), radius_(radius), top_(stock.Top) {
    double reach = stock.Reach;
    for (const Section& s : sections_) {
      reach = std::max(reach, s.reach);
      for (const Segment& g : s.segments) top_ = std::max(top_, g.high);
    }
    stock_ = {{-reach, -reach}, {reach, -reach}, {reach, reach}, {-reach, reach}};
  }

  // The highest the model or the wire reaches.
  double Top() const { return top_; }

  // How many times the slices every `step` from `bottom` meet a section or a move.
  double Work(double bottom, double step) const {
    double work = 0;
    for (const Section& s : sections_) {
      work += (top_ - bottom) / step;
      for (const Segment& g : s.segments) work += (g.high - g.low) / step + 1;
    }
    return work;
  }

  // The slice at height z: the stock cut by every section's strips, as pieces for the
  // solid's facets and as the exact polygons.
  Status SliceAt(double z, std::vector<Piece>& pieces, CarvedSlice& slice) {
    std::vector<Intervals>& kept = kept_.emplace_back(sections_.size());
    for (std::size_t s = 0; s < sections_.size(); ++s) kept[s] = KeptAt(sections_[s], z, radius_);
    std::vector<Polygon> polygons;
    if (!Intersect(kept, {}, polygons)) {
      return Status::Refused("The carved result falls into more than " +
                             std::to_string(kMaxPieces) + " pieces at height " + FixedText(z) +
                             " mm: too many to build.");
    }
    pieces.clear();
    slice = {z, {}};
    for (Polygon& p : polygons) {
      if (auto piece = PieceOf(p, z)) {
        pieces.push_back(std::move(*piece));
        slice.Pieces.push_back(std::move(p));
      }
    }
    return Status::Ok();
  }

  // What each section alone removes of the slices, `thickness` mm thick, in program
  // order; then, from the section that removes least on, those that remove nothing
  // (within kIdleShare of the solid) beside the sections not yet found idle.
  std::vector<SectionShare> Shares(double thickness) {
    std::vector<SectionShare> shares;
    std::vector<bool> idle(sections_.size(), false);
    for (std::size_t s = 0; s < sections_.size(); ++s) {
      shares.push_back({sections_[s].c, sections_[s].length, SoleVolume(s, idle, thickness), false});
    }
    double solid = 0;
    for (const auto& kept : kept_) solid += IntersectedArea(kept, idle) * thickness;
    std::vector<std::size_t> order(sections_.size());
    for (std::size_t s = 0; s < order.size(); ++s) order[s] = s;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t l, std::size_t r) {
      return shares[l].SoleVolume < shares[r].SoleVolume ||
             (shares[l].SoleVolume == shares[r].SoleVolume && l > r);  // the later twin first
    });
    bool anyIdle = false;  // until one is, each share stands as measured above
    for (std::size_t s : order) {
      const double sole = anyIdle ? SoleVolume(s, idle, thickness) : shares[s].SoleVolume;
      if (sole <= kIdleShare * solid) anyIdle = idle[s] = shares[s].Idle = true;
    }
    return shares;
  }

 private:
  // The stock cut by the strips `kept` at one slice by every section not `skipped`
  // (none when empty); false when it falls into too many pieces.
  bool Intersect(const std::vector<Intervals>& kept, const std::vector<bool>& skipped,
                 std::vector<Polygon>& polygons) {
    std::vector<std::size_t> cutting;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
      if (skipped.empty() || !skipped[s]) cutting.push_back(s);
    }
    polygons.assign(1, stock_);
    return ClipBy(kept, cutting, polygons);
  }

  double IntersectedArea(const std::vector<Intervals>& kept, const std::vector<bool>& skipped) {
    if (!Intersect(kept, skipped, polygons_)) return 0;
    double area2 = 0;
    for (const Polygon& p : polygons_) area2 += plane::Area2(p);
    return area2 / 2;
  }

  // What section s removes that no other section but the `skipped` ones removes: the
  // stock outside its kept spans that every other section keeps. The others are taken
  // nearest in angle first, as they soon leave little or nothing of it.
  double SoleVolume(std::size_t s, const std::vector<bool>& skipped, double thickness) {
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
      if (i != s && !skipped[i]) others.push_back(i);
    }
    const auto apart = [&](std::size_t i) {  // how far apart the strips lie in direction
      return 1 - std::abs(sections_[i].cos * sections_[s].cos + sections_[i].sin * sections_[s].sin);
    };
    std::sort(others.begin(), others.end(),
              [&](std::size_t l, std::size_t r) { return apart(l) < apart(r); });
    const double far = 2 * std::abs(stock_[0].x) + 1;  // beyond the stock in every direction
    double area2 = 0;
    for (const auto& kept : kept_) {
      double edge = -far;
      for (std::size_t k = 0; k <= kept[s].size(); ++k) {
        const Interval gap{edge, k < kept[s].size() ? kept[s][k].lo : far};
        if (k < kept[s].size()) edge = kept[s][k].hi;
        if (gap.hi - gap.lo <= kSliver) continue;
        std::vector<Polygon>& pieces = polygons_;
        pieces.assign(1, ClipToStrip(stock_, sections_[s].cos, -sections_[s].sin, gap.lo, gap.hi));
        if (pieces.front().empty()) continue;
        if (!ClipBy(kept, others, pieces)) return HUGE_VAL;  // too many pieces to tell
        for (const Polygon& p : pieces) area2 += plane::Area2(p);
      }
    }
    return area2 / 2 * thickness;
  }

  // Cuts `polygons` by the strips `kept` by each of `sections` in turn; false when they
  // fall into too many pieces.
  bool ClipBy(const std::vector<Intervals>& kept, const std::vector<std::size_t>& sections,
              std::vector<Polygon>& polygons) {
    std::vector<Polygon> next;
    for (std::size_t s : sections) {
      if (polygons.empty()) break;
      next.clear();
      for (const Polygon& p : polygons) {
        for (const Interval& i : kept[s]) {
          plane::ClipToStrip(p, sections_[s].cos, -sections_[s].sin, i.lo, i.hi, clipped_, scratch_);
          if (!clipped_.empty()) next.push_back(clipped_);
        }
      }
      if (next.size() > kMaxPieces) return false;
      polygons.swap(next);
    }
    return true;
  }

  std::vector<Section> sections_;
  double radius_;
  double top_;
  Polygon stock_;
  std::vector<std::vector<Intervals>> kept_;  // by slice and section
  std::vector<Polygon> polygons_;
  Polygon clipped_, scratch_;
};

}  // namespace

Status CarveSolid(const WireFrame& frame, const NcMotionList& motion, const StockExtent& stock,
                  double sliceStep, CarvedResult& result) {
  if (!(sliceStep > 0)) return Status::Refused("The slice step must be greater than 0.");
  Slicer slicer(SectionsOf(frame, motion, 2 * sliceStep), frame.WireDia / 2, stock);
  const double bottom = stock.Bottom, top = slicer.Top();
  if (!(top > bottom)) return Status::Refused("The program cuts no section above the platform.");
  const double slices = std::ceil((top - bottom) / sliceStep) + 1;
  if (slices > kMaxSlices) {
    return Status::Refused("The program reaches from Z " + FixedText(bottom) + " to Z " +
                           FixedText(top) + " mm: more than " + FixedText(kMaxSlices, 0) +
                           " slices of " + FixedText(sliceStep) + " mm to carve.");
  }
  if (slicer.Work(bottom, sliceStep) > kMaxSliceWork) {
    return Status::Refused("The program is too large to carve in slices of " + FixedText(sliceStep) +
                           " mm.");
  }
  auto table = std::make_unique<FacetTable>(kMaxFacets);
  table->UseFileNormals = true;
  ShellBuilder builder(*table);
  const Status full = Status::Refused("The carved result has more than " +
                                      std::to_string(table->Capacity) + " facets.");
  std::vector<CarvedSlice> stack(static_cast<std::size_t>(slices));
  std::vector<Piece> below, above;
  for (std::size_t k = 0; k < stack.size(); ++k) {
    if (Status s = slicer.SliceAt(bottom + double(k) * sliceStep, above, stack[k]); !s) return s;
    // The lowest slice stands on the platform.
    const bool built = k == 0 ? std::all_of(above.begin(), above.end(),
                                            [&](const Piece& p) { return builder.Cap(p, false); })
                              : builder.Join(below, above, sliceStep);
    if (!built) return full;
    below.swap(above);
  }
  if (!builder.CloseTop(below, sliceStep)) return full;
  if (table->FacetCount == 0) {
    return Status::Refused(
        "The program leaves nothing standing: no section's path encloses any material.");
  }
  result.Solid = std::move(table);
  result.Slices = std::move(stack);
  result.Shares = slicer.Shares(sliceStep);
  return Status::Ok();
}

Status CarveNcProgram(const FacetTable& model, const SilhouetteTree& tree,
                      const TDataModule1& store, double standAngle, const NcMotionList& motion,
                      CarvedResult& result) {
  const FacetBox box = BoundingBox(model);
  StockExtent stock{box.Lo[2], box.Hi[2], tree.Reach()};
  if (model.FacetCount == 0) stock = {};
  const double step = store.Resolution;
  if (Status s = CarveSolid(WireFrameOf(store, standAngle), motion, stock, step, result); !s) {
    return s;
  }
  result.Deviation = MeasureCarved(*result.Solid, result.Slices, model, tree, step);
  return Status::Ok();
}

}  // namespace vantora
