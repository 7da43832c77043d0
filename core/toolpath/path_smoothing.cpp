#include "core/toolpath/path_smoothing.h"

#include <cmath>

namespace vantora {
namespace {

// The written program rounds coordinates to 0.001 mm; the path keeps that much in hand.
constexpr double kWrittenRounding = 0.001;
// A corner between two straight runs both at least this many tolerances long is the
// model's, not the staircase's, and stays exact; so does any sharper than 45 degrees.
constexpr double kCornerRunTolerances = 5;
constexpr double kCornerCosine = 0.7071;

struct Vec {
  double x, z;
};

Vec Between(Vec a, Vec b) { return {b.x - a.x, b.z - a.z}; }
Vec Of(PathPoint p) { return {p.X, p.Y}; }
double Length(double x, double z) { return std::sqrt(x * x + z * z); }
double Cross(Vec a, Vec b) { return a.x * b.z - a.z * b.x; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.z * b.z; }
Vec Turned(Vec v, double c, double s) { return {c * v.x - s * v.z, s * v.x + c * v.z}; }

// The directions from an anchor whose rays pass within a radius of every point added
// so far: from `low` to `high` counterclockwise, less than a half turn wide.
class Cone {
 public:
  static bool InArc(Vec v, Vec low, Vec high) { return Cross(low, v) >= 0 && Cross(v, high) >= 0; }
  bool Holds(Vec v) const { return InArc(v, low_, high_); }

  // Narrows the cone to the rays that pass within `radius` of the point at d from the
  // anchor; false, leaving the cone as it was, when no direction would be left.
  bool Add(Vec d, double radius) {
    const double length = Length(d.x, d.z);
    if (length <= radius) return true;  // every ray from the anchor passes near it
    const Vec unit{d.x / length, d.z / length};
    const double s = radius / length, c = std::sqrt(1 - s * s);
    Vec low = Turned(unit, c, -s), high = Turned(unit, c, s);
    if (bounded_) {
      // Two arcs of less than a half turn meet when either one's start lies in the other.
      const bool lowInside = Holds(low);
      if (!lowInside && !InArc(low_, low, high)) return false;
      if (!lowInside) low = low_;
      if (!Holds(high)) high = high_;
    }
    low_ = low;
    high_ = high;
    bounded_ = true;
    return true;
  }

  // A direction inside the cone (its bisector), or none while nothing bounds it.
  bool Direction(Vec& u) const {
    if (!bounded_) return false;
    const Vec sum{low_.x + high_.x, low_.z + high_.z};
    const double length = Length(sum.x, sum.z);
    u = {sum.x / length, sum.z / length};
    return true;
  }

 private:
  bool bounded_ = false;
  Vec low_{}, high_{};
};

double SegmentDistance(Vec p, Vec a, Vec b) {
  const Vec ab = Between(a, b), ap = Between(a, p);
  const double length2 = Dot(ab, ab);
  double t = length2 > 0 ? Dot(ap, ab) / length2 : 0;
  t = std::fmax(0, std::fmin(1, t));
  return Length(ap.x - t * ab.x, ap.z - t * ab.z);
}

class Smoother {
 public:
  Smoother(const std::vector<PathPoint>& path, double tolerance, const ShortcutAllowed& allowed)
      : path_(path), radius_(tolerance - kWrittenRounding), allowed_(allowed) {}

  std::vector<PathPoint> Run() {
    std::vector<PathPoint> kept{path_.front()};
    Vec anchor = Of(path_.front());
    for (std::size_t next = 1; next < path_.size();) {
      const auto [end, covered] = Move(anchor, next);
      kept.push_back({float(end.x), float(end.z)});
      anchor = Of(kept.back());
      next = covered + 1;
    }
    return kept;
  }

 private:
  // The move from `anchor` that covers the most staircase points from `first` on, and
  // the last point it covers. Fixed points are met exactly; any other the move covers
  // lies within the radius of it, and the move ends at the foot of the last one, so the
  // next move starts within the radius of the staircase.
  std::pair<Vec, std::size_t> Move(Vec anchor, std::size_t first) const {
    for (std::size_t last = Reach(anchor, first); last > first; --last) {
      Vec end;
      if (EndOf(anchor, first, last, end) && Covers(anchor, end, first, last) &&
          allowed_(ToPoint(anchor), ToPoint(end)) && LeavesTheWayOn(end, last)) {
        return {end, last};
      }
    }
    // One point only: straight to the staircase point itself, a move the move that
    // brought the wire here has made sure of (from a staircase point, the walk's own).
    return {Of(path_[first]), first};
  }

  // A move ending off the staircase must leave open the way on to the next staircase
  // point: the next move goes there when no longer one is allowed.
  bool LeavesTheWayOn(Vec end, std::size_t last) const {
    return Fixed(last) || allowed_(ToPoint(end), path_[last + 1]);
  }

  // The farthest point a cone from the anchor reaches through the radii of the points
  // from `first` on, up to the first fixed one.
  std::size_t Reach(Vec anchor, std::size_t first) const {
    Cone cone;
    std::size_t reach = first;
    for (std::size_t k = first; k < path_.size(); ++k) {
      if (!cone.Add(Between(anchor, Of(path_[k])), RadiusOf(k))) break;
      reach = k;
      if (Fixed(k)) break;
    }
    return reach;
  }

  // Where a move from the anchor covering points first..last ends: on the bisector of
  // their cone, at the foot of point `last` (at a fixed point, the point itself).
  bool EndOf(Vec anchor, std::size_t first, std::size_t last, Vec& end) const {
    if (Fixed(last)) {
      end = Of(path_[last]);
      return true;
    }
    Cone cone;
    for (std::size_t k = first; k <= last; ++k) {
      if (!cone.Add(Between(anchor, Of(path_[k])), RadiusOf(k))) return false;
    }
    Vec u;
    if (!cone.Direction(u)) return false;
    const double t = Dot(Between(anchor, Of(path_[last])), u);
    end = {anchor.x + t * u.x, anchor.z + t * u.z};
    return true;
  }

  // Every staircase point first..last lies within the radius of the move itself, not
  // only of its line.
  bool Covers(Vec anchor, Vec end, std::size_t first, std::size_t last) const {
    for (std::size_t k = first; k <= last; ++k) {
      if (SegmentDistance(Of(path_[k]), anchor, end) > RadiusOf(k) + 1e-9) return false;
    }
    return true;
  }

  // The path's last point and the model's corners are met exactly.
  bool Fixed(std::size_t k) const {
    if (k + 1 == path_.size()) return true;
    if (k == 0) return false;
    const Vec in = Between(Of(path_[k - 1]), Of(path_[k]));
    const Vec out = Between(Of(path_[k]), Of(path_[k + 1]));
    const double inLength = Length(in.x, in.z), outLength = Length(out.x, out.z);
    const double run = kCornerRunTolerances * radius_;
    return inLength >= run && outLength >= run &&
           Dot(in, out) <= kCornerCosine * inLength * outLength;
  }
  double RadiusOf(std::size_t k) const { return Fixed(k) ? 0 : radius_; }
  static PathPoint ToPoint(Vec v) { return {float(v.x), float(v.z)}; }

  const std::vector<PathPoint>& path_;
  double radius_;
  const ShortcutAllowed& allowed_;
};

}  // namespace

void SmoothPath(std::vector<PathPoint>& path, double tolerance, const ShortcutAllowed& allowed) {
  if (path.size() < 3 || !(tolerance > kWrittenRounding)) return;
  path = Smoother(path, tolerance, allowed).Run();
}

}  // namespace vantora
