#include "core/check/carved_result.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <future>
#include <queue>
#include <vector>

#include "core/check/program_check.h"
#include "core/common/number_text.h"
#include "core/model/solid_volume.h"

namespace vantora {
namespace {

// A slice falling into more pieces than this is not a cut a program makes on purpose.
constexpr std::size_t kMaxPieces = 4096;
// How many times a slice may meet a section or a move in all: far beyond any real
// program's (the torus yardstick's is under a million), far below a hang.
constexpr double kMaxSliceWork = 1e8;
// Spans and gaps narrower than this (mm) are rounding, not material.
constexpr double kSliver = 1e-6;

struct Interval {
  double lo, hi;
};
using Intervals = std::vector<Interval>;

struct Segment {
  PlanePoint a, b;
  bool onLoop;       // part of the path that encloses what the section keeps
  double low, high;  // the heights the wire touches on it
};

// The program's moves at one rotary position, in that section's plane.
struct Section {
  double cos = 1, sin = 0;  // of the model's turn: u = cos x - sin y
  double startZ = 0;        // the start height: everything below it stays
  PlanePoint loopFirst, loopLast;
  bool encloses = false;  // a path that never comes back to the start height cuts only
  double reach = 0;       // the farthest the wire comes from the axis
  std::vector<Segment> segments;  // by their lowest height
  std::size_t next = 0;           // the first segment not yet reached by the slices
  std::vector<std::size_t> active;
};

// One section from its path, turned by `turn` radians. The path starts and ends within
// `startBand` of its lowest point.
Section SectionOf(const std::vector<PlanePoint>& path, double turn, double radius,
                  double startBand) {
  Section s;
  s.cos = std::cos(turn);
  s.sin = std::sin(turn);
  const double lowest =
      std::min_element(path.begin(), path.end(), [](auto& l, auto& r) { return l.z < r.z; })->z;
  // The path proper runs from its first point near the lowest height to its last; moves
  // before and after it (over the top, out to the side) only cut.
  auto atStart = [&](const PlanePoint& p) { return p.z <= lowest + startBand; };
  const auto first = std::size_t(std::find_if(path.begin(), path.end(), atStart) - path.begin());
  const auto last = path.size() - 1 -
                    std::size_t(std::find_if(path.rbegin(), path.rend(), atStart) - path.rbegin());
  s.loopFirst = path[first];
  s.loopLast = path[last];
  // Its ends may lie a cell apart; what stands below the higher end is not enclosed by
  // the path but stays below it.
  s.startZ = std::max(s.loopFirst.z, s.loopLast.z);
  s.encloses = last > first;
  for (const PlanePoint& p : path) s.reach = std::max(s.reach, std::abs(p.x) + radius);
  for (std::size_t k = 0; k + 1 < path.size(); ++k) {
    const PlanePoint a = path[k], b = path[k + 1];
    s.segments.push_back(
        {a, b, k >= first && k < last, std::min(a.z, b.z) - radius, std::max(a.z, b.z) + radius});
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
    sections.push_back(SectionOf(path, turn, frame.WireDia / 2, startBand));
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

// What the section leaves standing at height z, as spans of u.
Intervals KeptAt(Section& s, double z, double radius) {
  Reach(s, z);
  Intervals base;
  if (!s.encloses) {
    base.push_back({-HUGE_VAL, HUGE_VAL});
  } else if (z <= s.startZ) {
    // Between where the wire comes in and where it goes out.
    base.push_back({std::min(s.loopFirst.x, s.loopLast.x), std::max(s.loopFirst.x, s.loopLast.x)});
  } else {
    std::vector<double> crossings;
    auto cross = [&](PlanePoint a, PlanePoint b) {
      if ((a.z <= z) != (b.z <= z))
        crossings.push_back(a.x + (z - a.z) * (b.x - a.x) / (b.z - a.z));
    };
    for (std::size_t k : s.active) {
      if (s.segments[k].onLoop) cross(s.segments[k].a, s.segments[k].b);
    }
    cross(s.loopLast, s.loopFirst);
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      base.push_back({crossings[k], crossings[k + 1]});
    }
  }
  Intervals cuts;
  if (radius > 0) {
    for (std::size_t k : s.active) {
      if (auto span = WireSpan(s.segments[k], z, radius)) cuts.push_back(*span);
    }
  }
  return Subtract(base, std::move(cuts));
}

using Polygon = std::vector<PlanePoint>;  // convex, counter-clockwise; x, y here

// Keeps the part of `polygon` where lo <= n.p <= hi.
Polygon ClipToStrip(const Polygon& polygon, double nx, double ny, double lo, double hi) {
  Polygon out = polygon;
  for (const auto& [sign, bound] : {std::pair{1.0, hi}, std::pair{-1.0, -lo}}) {
    Polygon in;
    in.swap(out);
    for (std::size_t k = 0; k < in.size(); ++k) {
      const PlanePoint p = in[k], q = in[(k + 1) % in.size()];
      const double dp = sign * (nx * p.x + ny * p.z) - bound;
      const double dq = sign * (nx * q.x + ny * q.z) - bound;
      if (dp <= 0) out.push_back(p);
      if ((dp < 0 && dq > 0) || (dp > 0 && dq < 0)) {
        const double t = dp / (dp - dq);
        out.push_back({p.x + t * (q.x - p.x), p.z + t * (q.z - p.z)});
      }
    }
    if (out.size() < 3) return {};
  }
  return out;
}

// A slice's pieces with float corners at height z, fit for facets.
struct Piece {
  std::vector<Vec3> ring;
  float x0, x1, y0, y1;
};

std::optional<Piece> PieceOf(const Polygon& polygon, double z) {
  Piece piece;
  for (const PlanePoint& p : polygon) {
    const Vec3 v{float(p.x), float(p.z), float(z)};
    if (piece.ring.empty() || (v != piece.ring.back() && v != piece.ring.front())) {
      piece.ring.push_back(v);
    }
  }
  if (piece.ring.size() < 3) return std::nullopt;
  double area2 = 0;
  for (std::size_t k = 0; k < piece.ring.size(); ++k) {
    const Vec3& a = piece.ring[k];
    const Vec3& b = piece.ring[(k + 1) % piece.ring.size()];
    area2 += double(a[0]) * b[1] - double(b[0]) * a[1];
  }
  if (area2 <= kSliver) return std::nullopt;
  piece.x0 = piece.x1 = piece.ring[0][0];
  piece.y0 = piece.y1 = piece.ring[0][1];
  for (const Vec3& v : piece.ring) {
    piece.x0 = std::min(piece.x0, v[0]);
    piece.x1 = std::max(piece.x1, v[0]);
    piece.y0 = std::min(piece.y0, v[1]);
    piece.y1 = std::max(piece.y1, v[1]);
  }
  return piece;
}

class Slicer {
 public:
  Slicer(std::vector<Section> sections, double radius)
      : sections_(std::move(sections)), radius_(radius) {
    double reach = 0;
    for (const Section& s : sections_) {
      reach = std::max(reach, s.reach);
      for (const Segment& g : s.segments) top_ = std::max(top_, g.high);
    }
    stock_ = {{-reach, -reach}, {reach, -reach}, {reach, reach}, {-reach, reach}};
  }

  // The highest the wire reaches.
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

  // The slice at height z: the stock cut by every section's strips.
  Status SliceAt(double z, std::vector<Piece>& pieces) {
    std::vector<Polygon> polygons{stock_}, next;
    for (Section& s : sections_) {
      const Intervals kept = KeptAt(s, z, radius_);
      next.clear();
      for (const Polygon& p : polygons) {
        for (const Interval& i : kept) {
          Polygon clipped = ClipToStrip(p, s.cos, -s.sin, i.lo, i.hi);
          if (!clipped.empty()) next.push_back(std::move(clipped));
        }
      }
      if (next.size() > kMaxPieces) {
        return Status::Refused("The carved result falls into more than " +
                               std::to_string(kMaxPieces) + " pieces at height " + FixedText(z) +
                               " mm: too many to build.");
      }
      polygons.swap(next);
      if (polygons.empty()) break;
    }
    pieces.clear();
    for (const Polygon& p : polygons) {
      if (auto piece = PieceOf(p, z)) pieces.push_back(std::move(*piece));
    }
    return Status::Ok();
  }

 private:
  std::vector<Section> sections_;
  double radius_;
  double top_ = -HUGE_VAL;
  Polygon stock_;
};

class SolidBuilder {
 public:
  explicit SolidBuilder(FacetTable& table) : table_(table) {}

  bool Add(const Vec3& a, const Vec3& b, const Vec3& c) {
    if (table_.FacetCount >= table_.Capacity) return false;
    table_.Facets[std::size_t(table_.FacetCount++)] = {TriangleNormal(c, b, a), a, b, c};
    return true;
  }

  // A convex piece's face, facing down (a bottom) or up (a top).
  bool Cap(const Piece& p, bool up) {
    for (std::size_t k = 1; k + 1 < p.ring.size(); ++k) {
      const bool added =
          up ? Add(p.ring[0], p.ring[k], p.ring[k + 1]) : Add(p.ring[0], p.ring[k + 1], p.ring[k]);
      if (!added) return false;
    }
    return true;
  }

  // Closes off a piece that no piece of the neighbouring slice continues: it stands as
  // a prism `dz` up (or down) and ends there in a flat face.
  bool CloseOff(const Piece& p, double dz) {
    Piece end = p;
    for (Vec3& v : end.ring) v[2] = float(double(v[2]) + dz);
    return dz > 0 ? Loft(p, end) && Cap(end, true) : Loft(end, p) && Cap(end, false);
  }

  // The side of the hull of a piece and the one above it: both rings are walked from
  // their lowest corner in the order of their edges' directions.
  bool Loft(const Piece& below, const Piece& above) {
    const Ring p(below), q(above);
    std::size_t i = 0, j = 0;
    while (i < p.size || j < q.size) {
      const bool alongBelow = j == q.size || (i < p.size && p.angle[i] <= q.angle[j]);
      const bool added =
          alongBelow ? Add(p.at(i), p.at(i + 1), q.at(j)) : Add(p.at(i), q.at(j + 1), q.at(j));
      if (!added) return false;
      (alongBelow ? i : j)++;
    }
    return true;
  }

 private:
  struct Ring {
    explicit Ring(const Piece& piece) : ring(piece.ring), size(ring.size()) {
      start = std::size_t(std::min_element(ring.begin(), ring.end(),
                                           [](auto& l, auto& r) {
                                             return l[1] != r[1] ? l[1] < r[1] : l[0] < r[0];
                                           }) -
                          ring.begin());
      for (std::size_t k = 0; k < size; ++k) {
        const Vec3 &a = at(k), &b = at(k + 1);
        double direction = std::atan2(double(b[1]) - a[1], double(b[0]) - a[0]);
        if (direction < 0) direction += 2 * M_PI;
        if (k > 0 && direction < angle[0]) direction += 2 * M_PI;
        angle.push_back(direction);
      }
    }
    const Vec3& at(std::size_t k) const { return ring[(start + k) % size]; }
    const std::vector<Vec3>& ring;
    std::size_t size, start;
    std::vector<double> angle;
  };

  FacetTable& table_;
};

bool Overlap(const Piece& a, const Piece& b) {
  if (a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0) return false;
  // Convex pieces overlap unless an edge of one has the whole other on its outer side.
  auto separates = [](const Piece& edges, const Piece& other) {
    for (std::size_t k = 0; k < edges.ring.size(); ++k) {
      const Vec3& p = edges.ring[k];
      const Vec3& q = edges.ring[(k + 1) % edges.ring.size()];
      const double ex = double(q[0]) - p[0], ey = double(q[1]) - p[1];
      const bool allOutside = std::all_of(other.ring.begin(), other.ring.end(), [&](const Vec3& v) {
        return ex * (double(v[1]) - p[1]) - ey * (double(v[0]) - p[0]) <= 0;
      });
      if (allOutside) return true;
    }
    return false;
  };
  return !separates(a, b) && !separates(b, a);
}

// Joins two neighbouring slices `step` apart: a piece overlapping exactly one piece of
// the other slice, and that one only it, is joined to it; every other piece below is
// closed off half a step up (the pieces above that are not joined are the caller's).
bool Join(SolidBuilder& solid, const std::vector<Piece>& below, const std::vector<Piece>& above,
          double step, std::vector<bool>& aboveJoined) {
  aboveJoined.assign(above.size(), false);
  std::vector<int> partners(above.size(), 0);
  std::vector<std::vector<std::size_t>> overlaps(below.size());
  for (std::size_t i = 0; i < below.size(); ++i) {
    for (std::size_t j = 0; j < above.size(); ++j) {
      if (Overlap(below[i], above[j])) {
        overlaps[i].push_back(j);
        ++partners[j];
      }
    }
  }
  for (std::size_t i = 0; i < below.size(); ++i) {
    if (overlaps[i].size() == 1 && partners[overlaps[i][0]] == 1) {
      aboveJoined[overlaps[i][0]] = true;
      if (!solid.Loft(below[i], above[overlaps[i][0]])) return false;
    } else if (!solid.CloseOff(below[i], step / 2)) {
      return false;
    }
  }
  return true;
}

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

// The largest distance from the solid's surface to the model, to within `tolerance`,
// by branch and bound: the part that could lie farthest is halved across its longest
// edge (which shortens slivers along their length) until none could beat the largest
// distance found by more than the tolerance.
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
  return best;
}


}  // namespace

std::optional<double> CarvedDeviation::Excess() const {
  if (!ModelVolume) return std::nullopt;
  return CarvedVolume - *ModelVolume;
}

std::optional<double> CarvedDeviation::ExcessPercent() const {
  if (!ModelVolume || !(*ModelVolume > 0)) return std::nullopt;
  return *Excess() / *ModelVolume * 100;
}

Status CarveSolid(const WireFrame& frame, const NcMotionList& motion, double bottomZ,
                  double sliceStep, std::unique_ptr<FacetTable>& solid) {
  if (!(sliceStep > 0)) return Status::Refused("The slice step must be greater than 0.");
  Slicer slicer(SectionsOf(frame, motion, 2 * sliceStep), frame.WireDia / 2);
  const double top = slicer.Top();
  if (!(top > bottomZ)) return Status::Refused("The program cuts no section above the platform.");
  const double slices = std::ceil((top - bottomZ) / sliceStep) + 1;
  if (slicer.Work(bottomZ, sliceStep) > kMaxSliceWork) {
    return Status::Refused("The program is too large to carve in slices of " + FixedText(sliceStep) +
                           " mm.");
  }
  auto table = std::make_unique<FacetTable>();
  table->UseFileNormals = true;
  SolidBuilder builder(*table);
  const Status full = Status::Refused("The carved result has more than " +
                                      std::to_string(table->Capacity) + " facets.");
  std::vector<Piece> below, above;
  std::vector<bool> joined;
  for (long k = 0; k < long(slices); ++k) {
    if (Status s = slicer.SliceAt(bottomZ + double(k) * sliceStep, above); !s) return s;
    if (!Join(builder, below, above, sliceStep, joined)) return full;
    for (std::size_t j = 0; j < above.size(); ++j) {
      // The lowest slice stands on the platform; others begin half a step down.
      const bool closed = joined[j] || (k == 0 ? builder.Cap(above[j], false)
                                               : builder.CloseOff(above[j], -sliceStep / 2));
      if (!closed) return full;
    }
    below.swap(above);
  }
  for (const Piece& p : below) {
    if (!builder.CloseOff(p, sliceStep / 2)) return full;
  }
  if (table->FacetCount == 0) {
    return Status::Refused(
        "The program leaves nothing standing: no section's path encloses any material.");
  }
  solid = std::move(table);
  return Status::Ok();
}

CarvedDeviation MeasureCarved(const FacetTable& solid, const FacetTable& model,
                              const SilhouetteTree& tree, double sliceStep) {
  CarvedDeviation d;
  d.SliceStep = sliceStep;
  d.CarvedVolume = EnclosedVolume(solid);
  // The model's volume needs its edges matched, as long as the distance passes below:
  // it runs beside them.
  auto modelVolume = std::async(std::launch::async, [&model] { return ClosedVolume(model); });
  // The solid is within a slice step of the exact one, and so is the distance.
  if (!tree.Empty()) d.LargestDistance = LargestDistance(solid, tree, sliceStep);
  d.ModelVolume = modelVolume.get();
  return d;
}

Status CarveNcProgram(const FacetTable& model, const SilhouetteTree& tree,
                      const TDataModule1& store, double standAngle, const NcMotionList& motion,
                      CarvedResult& result) {
  double bottom = HUGE_VAL;
  for (int k = 0; k < model.FacetCount; ++k) {
    const Facet& f = model.Facets[std::size_t(k)];
    bottom = std::min({bottom, double(f.V1[2]), double(f.V2[2]), double(f.V3[2])});
  }
  if (model.FacetCount == 0) bottom = 0;
  const double step = store.Resolution;
  if (Status s = CarveSolid(WireFrameOf(store, standAngle), motion, bottom, step, result.Solid);
      !s) {
    return s;
  }
  result.Deviation = MeasureCarved(*result.Solid, model, tree, step);
  return Status::Ok();
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
  return text + "Most material left: " + FixedText(d.LargestDistance) + " mm from the model\n";
}

std::string DeviationJsonMembers(const CarvedDeviation& d) {
  auto optional = [](const std::optional<double>& v) {
    return v ? FixedText(*v) : std::string("null");
  };
  return "\"sliceStep\": " + FixedText(d.SliceStep) + ", \"carvedVolume\": " + FixedText(d.CarvedVolume) +
         ", \"modelVolume\": " + optional(d.ModelVolume) + ", \"excess\": " + optional(d.Excess()) +
         ", \"excessPercent\": " + optional(d.ExcessPercent()) +
         ", \"largestDistance\": " + FixedText(d.LargestDistance);
}

}  // namespace vantora
