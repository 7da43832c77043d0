#include "core/check/carved_shell.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "core/check/plane_geometry.h"

namespace vantora::carved {
namespace {

// Corners of the faces between two slices closer than this (mm) are one corner.
constexpr double kWeld = 1e-4;

Polygon PolygonOf(const Piece& piece) {
  Polygon polygon;
  for (const Vec3& v : piece.ring) polygon.push_back({double(v[0]), double(v[1])});
  return polygon;
}

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

// Adds to `out` what of the convex `cell` lies outside the convex `hole`: the part
// beyond each edge of the hole that lies within the edges before it.
void AddDifference(const Polygon& cell, const Polygon& hole, std::vector<Polygon>& out) {
  Polygon rest = cell;
  for (std::size_t k = 0; k < hole.size(); ++k) {
    const PlanePoint a = hole[k], b = hole[(k + 1) % hole.size()];
    const double nx = b.z - a.z, ny = a.x - b.x, at = nx * a.x + ny * a.z;  // outward
    Polygon beyond = ClipToStrip(rest, nx, ny, at, HUGE_VAL);
    if (!beyond.empty()) out.push_back(std::move(beyond));
    rest = ClipToStrip(rest, nx, ny, -HUGE_VAL, at);
    if (rest.empty()) return;
  }
}

// The convex cells of `piece` that none of `others` covers.
std::vector<Polygon> Uncovered(const Piece& piece, const std::vector<const Piece*>& others) {
  std::vector<Polygon> cells{PolygonOf(piece)}, next;
  for (const Piece* other : others) {
    if (!Overlap(piece, *other)) continue;
    const Polygon hole = PolygonOf(*other);
    next.clear();
    for (const Polygon& cell : cells) AddDifference(cell, hole, next);
    cells.swap(next);
  }
  return cells;
}

// Whether the convex ring is no wider than kWeld across: a sliver that rounding left
// between two edges on one line, not material (walls meet there without it).
bool Thin(const Polygon& ring) {
  for (std::size_t k = 0; k < ring.size(); ++k) {
    const PlanePoint a = ring[k], b = ring[(k + 1) % ring.size()];
    const double length = std::hypot(b.x - a.x, b.z - a.z);
    const bool across = std::all_of(ring.begin(), ring.end(), [&](PlanePoint p) {
      return std::abs(plane::Cross(a, b, p)) <= kWeld * length;
    });
    if (across) return true;
  }
  return ring.size() < 3;
}

Vec3 At(PlanePoint p, float z) { return {float(p.x), float(p.z), z}; }

}  // namespace

// The corners of the faces in the plane between two slices. Corners within kWeld of
// each other are welded into one, and every edge takes the corners lying on it, so
// faces and walls that meet along an edge share all its corners.
class Corners {
 public:
  int Add(PlanePoint p) {
    points_.push_back(p);
    return int(points_.size()) - 1;
  }

  void Weld() {
    std::vector<int> order(points_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int l, int r) { return points_[l].x < points_[r].x; });
    same_.assign(points_.size(), -1);
    for (std::size_t k = 0; k < order.size(); ++k) {
      const PlanePoint p = points_[order[k]];
      int& same = same_[order[k]];
      for (std::size_t back = k; back-- > 0 && p.x - points_[order[back]].x <= kWeld;) {
        const int other = order[back];
        if (same_[other] == other && std::abs(points_[other].z - p.z) <= kWeld) same = other;
      }
      if (same < 0) {
        same = order[k];
        welded_.push_back(p);
      }
    }
  }

  PlanePoint At(int corner) const { return points_[same_[corner]]; }

  // The welded corners strictly inside the segment a-b, from a to b, appended to `out`.
  void Between(PlanePoint a, PlanePoint b, Polygon& out) const {
    const double dx = b.x - a.x, dz = b.z - a.z, length = std::hypot(dx, dz);
    const auto from = std::lower_bound(welded_.begin(), welded_.end(), std::min(a.x, b.x) - kWeld,
                                       [](PlanePoint p, double x) { return p.x < x; });
    const std::size_t first = out.size();
    for (auto p = from; p != welded_.end() && p->x <= std::max(a.x, b.x) + kWeld; ++p) {
      const double along = ((p->x - a.x) * dx + (p->z - a.z) * dz) / length;
      const double across = ((p->z - a.z) * dx - (p->x - a.x) * dz) / length;
      const bool end = (p->x == a.x && p->z == a.z) || (p->x == b.x && p->z == b.z);
      if (!end && std::abs(across) <= kWeld && along > 0 && along < length) out.push_back(*p);
    }
    std::sort(out.begin() + std::ptrdiff_t(first), out.end(), [&](PlanePoint l, PlanePoint r) {
      return (l.x - a.x) * dx + (l.z - a.z) * dz < (r.x - a.x) * dx + (r.z - a.z) * dz;
    });
  }

  // The ring through the corners, welded, with every corner lying on its edges.
  Polygon Ring(const std::vector<int>& ring) const {
    Polygon out;
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const PlanePoint a = At(ring[k]), b = At(ring[(k + 1) % ring.size()]);
      if (a.x == b.x && a.z == b.z) continue;
      out.push_back(a);
      Between(a, b, out);
    }
    return out;
  }

 private:
  std::vector<PlanePoint> points_;
  std::vector<int> same_;          // the corner each point is welded to
  std::vector<PlanePoint> welded_;  // the corners, by x
};


Polygon ClipToStrip(const Polygon& polygon, double nx, double ny, double lo, double hi) {
  Polygon out, scratch;
  plane::ClipToStrip(polygon, nx, ny, lo, hi, out, scratch);
  return out;
}

std::optional<Piece> PieceOf(const Polygon& polygon, double z) {
  Piece piece;
  for (const PlanePoint& p : polygon) {
    const Vec3 v{float(p.x), float(p.z), float(z)};
    if (piece.ring.empty() || (v != piece.ring.back() && v != piece.ring.front())) {
      piece.ring.push_back(v);
    }
  }
  if (Thin(PolygonOf(piece))) return std::nullopt;
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

bool ShellBuilder::Add(const Vec3& a, const Vec3& b, const Vec3& c) {
  if (a == b || b == c || c == a) return true;  // a corner welded away
  if (table_.FacetCount >= table_.Capacity) return false;
  table_.Facets[std::size_t(table_.FacetCount++)] = {TriangleNormal(c, b, a), a, b, c};
  return true;
}

bool ShellBuilder::Cap(const Piece& p, bool up) {
  for (std::size_t k = 1; k + 1 < p.ring.size(); ++k) {
    const bool added =
        up ? Add(p.ring[0], p.ring[k], p.ring[k + 1]) : Add(p.ring[0], p.ring[k + 1], p.ring[k]);
    if (!added) return false;
  }
  return true;
}

bool ShellBuilder::CloseOff(const Piece& p, double dz) {
  Piece end = p;
  for (Vec3& v : end.ring) v[2] = float(double(v[2]) + dz);
  return dz > 0 ? Loft(p, end) && Cap(end, true) : Loft(end, p) && Cap(end, false);
}

// A convex ring whose edges may hold further corners, fanned from its centre.
bool ShellBuilder::Fan(const Polygon& ring, float z, bool up) {
  if (ring.size() < 3) return true;
  PlanePoint centre{0, 0};
  for (const PlanePoint& p : ring) centre = {centre.x + p.x, centre.z + p.z};
  const Vec3 c = At({centre.x / double(ring.size()), centre.z / double(ring.size())}, z);
  for (std::size_t k = 0; k < ring.size(); ++k) {
    const Vec3 a = At(ring[k], z), b = At(ring[(k + 1) % ring.size()], z);
    if (!(up ? Add(c, a, b) : Add(c, b, a))) return false;
  }
  return true;
}

// The side of the hull of a piece and the one above it: both rings are walked from
// their lowest corner in the order of their edges' directions.
bool ShellBuilder::Loft(const Piece& below, const Piece& above) {
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

// Pieces of two slices that meet other than one to one: the lower ones rise half a
// step as prisms and the upper ones come down half a step. In the plane between them
// the lower pieces' tops face up where no upper piece covers them, the upper pieces'
// bottoms face down where no lower piece does, and every face and wall there shares
// the corners on its edges.
bool ShellBuilder::Meet(const std::vector<const Piece*>& lower,
                        const std::vector<const Piece*>& upper, double step) {
  const float zMid = lower.empty() ? float(double(upper[0]->ring[0][2]) - step / 2)
                                   : float(double(lower[0]->ring[0][2]) + step / 2);
  const int first = table_.FacetCount;
  if (!Seal(lower, upper, zMid)) return false;
  if (Sealed(first, zMid)) return true;
  // Edges that rounding keeps apart by a hair more than kWeld can leave the faces
  // between the slices open: the pieces are closed off one by one instead, as separate
  // shells that touch.
  table_.FacetCount = first;
  for (const Piece* p : lower) {
    if (!CloseOff(*p, step / 2)) return false;
  }
  for (const Piece* p : upper) {
    if (!CloseOff(*p, -step / 2)) return false;
  }
  return true;
}

bool ShellBuilder::Seal(const std::vector<const Piece*>& lower,
                        const std::vector<const Piece*>& upper, float zMid) {
  Corners corners;
  auto cornersOf = [&](const Polygon& ring) {
    std::vector<int> indices;
    for (const PlanePoint& p : ring) indices.push_back(corners.Add(p));
    return indices;
  };
  std::vector<std::vector<int>> lowerRings, upperRings, faces;
  for (const Piece* p : lower) lowerRings.push_back(cornersOf(PolygonOf(*p)));
  for (const Piece* p : upper) upperRings.push_back(cornersOf(PolygonOf(*p)));
  for (const Piece* p : lower) {
    for (const Polygon& cell : Uncovered(*p, upper)) faces.push_back(cornersOf(cell));
  }
  const std::size_t facingUp = faces.size();
  for (const Piece* p : upper) {
    for (const Polygon& cell : Uncovered(*p, lower)) faces.push_back(cornersOf(cell));
  }
  corners.Weld();
  for (std::size_t k = 0; k < faces.size(); ++k) {
    const Polygon ring = corners.Ring(faces[k]);
    if (!Thin(ring) && !Fan(ring, zMid, k < facingUp)) return false;
  }
  for (std::size_t k = 0; k < lower.size(); ++k) {
    if (!Wall(*lower[k], lowerRings[k], corners, zMid)) return false;
  }
  for (std::size_t k = 0; k < upper.size(); ++k) {
    if (!Wall(*upper[k], upperRings[k], corners, zMid)) return false;
  }
  return true;
}

// The wall from a piece's ring to the same ring at zMid with every corner on its edges
// there: each edge is fanned from its first end on the piece's own slice.
bool ShellBuilder::Wall(const Piece& piece, const std::vector<int>& ring, const Corners& corners,
                        float zMid) {
  const bool rising = piece.ring[0][2] < zMid;
  Polygon rim;
  for (std::size_t k = 0; k < ring.size(); ++k) {
    const std::size_t next = (k + 1) % ring.size();
    const Vec3 &a = piece.ring[k], &b = piece.ring[next];
    rim.assign({corners.At(ring[k])});
    corners.Between(rim[0], corners.At(ring[next]), rim);
    rim.push_back(corners.At(ring[next]));
    if (rising ? !Add(a, b, At(rim.back(), zMid)) : !Add(At(rim.back(), zMid), b, a)) return false;
    for (std::size_t t = rim.size() - 1; t-- > 0;) {
      const Vec3 from = At(rim[t], zMid), to = At(rim[t + 1], zMid);
      if (rising ? !Add(a, to, from) : !Add(from, to, a)) return false;
    }
  }
  return true;
}

bool ShellBuilder::Sealed(int first, float zMid) const {
  using Edge = std::array<float, 6>;
  std::vector<Edge> along, back;
  for (int k = first; k < table_.FacetCount; ++k) {
    const Facet& f = table_.Facets[std::size_t(k)];
    const Vec3* corners[] = {&f.V1, &f.V2, &f.V3};
    for (int e = 0; e < 3; ++e) {
      const Vec3 &a = *corners[e], &b = *corners[(e + 1) % 3];
      if (a[2] != zMid && b[2] != zMid) continue;  // where a wall meets a slice
      along.push_back({a[0], a[1], a[2], b[0], b[1], b[2]});
      back.push_back({b[0], b[1], b[2], a[0], a[1], a[2]});
    }
  }
  std::sort(along.begin(), along.end());
  std::sort(back.begin(), back.end());
  return along == back;
}

bool ShellBuilder::Join(const std::vector<Piece>& below, const std::vector<Piece>& above,
                        double step) {
  // Pieces are numbered below first, then above; a group holds the pieces that overlap
  // one another, through others or directly.
  const std::size_t count = below.size() + above.size();
  std::vector<std::size_t> group(count);
  std::iota(group.begin(), group.end(), 0);
  auto root = [&](std::size_t k) {
    while (group[k] != k) k = group[k] = group[group[k]];
    return k;
  };
  std::vector<int> partners(count, 0);
  std::vector<std::size_t> partner(count);
  for (std::size_t i = 0; i < below.size(); ++i) {
    for (std::size_t j = 0; j < above.size(); ++j) {
      if (!Overlap(below[i], above[j])) continue;
      const std::size_t up = below.size() + j;
      ++partners[i], ++partners[up];
      partner[i] = up, partner[up] = i;
      group[root(i)] = root(up);
    }
  }
  std::vector<std::vector<const Piece*>> lower(count), upper(count);
  for (std::size_t k = 0; k < count; ++k) {
    const bool isBelow = k < below.size();
    const Piece& piece = isBelow ? below[k] : above[k - below.size()];
    if (partners[k] == 1 && partners[partner[k]] == 1) {
      if (isBelow && !Loft(piece, above[partner[k] - below.size()])) return false;
    } else {
      (isBelow ? lower : upper)[root(k)].push_back(&piece);
    }
  }
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t pieces = lower[k].size() + upper[k].size();
    const bool closed = pieces == 0   ? true
                        : pieces == 1 ? CloseOff(lower[k].empty() ? *upper[k][0] : *lower[k][0],
                                                 lower[k].empty() ? -step / 2 : step / 2)
                                      : Meet(lower[k], upper[k], step);
    if (!closed) return false;
  }
  return true;
}

bool ShellBuilder::CloseTop(const std::vector<Piece>& top, double step) {
  for (const Piece& piece : top) {
    if (!CloseOff(piece, step / 2)) return false;
  }
  return true;
}

}  // namespace vantora::carved
