#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/check/silhouette_tree.h"

// Distances between points, segments and triangles in a section plane, in double.
namespace vantora::plane {

inline double Cross(PlanePoint o, PlanePoint a, PlanePoint b) {
  return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

inline double PointSegmentDistance(PlanePoint p, PlanePoint a, PlanePoint b) {
  const double dx = b.x - a.x, dz = b.z - a.z;
  const double length2 = dx * dx + dz * dz;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.z - a.z) * dz) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = p.x - (a.x + t * dx), ez = p.z - (a.z + t * dz);
  return std::sqrt(ex * ex + ez * ez);
}

// Whether the closed segments a-b and c-d share a point.
inline bool SegmentsMeet(PlanePoint a, PlanePoint b, PlanePoint c, PlanePoint d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b);
  const double d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  // Touching or collinear: an end lies on the other segment.
  return (d1 == 0 && PointSegmentDistance(a, c, d) == 0) ||
         (d2 == 0 && PointSegmentDistance(b, c, d) == 0) ||
         (d3 == 0 && PointSegmentDistance(c, a, b) == 0) ||
         (d4 == 0 && PointSegmentDistance(d, a, b) == 0);
}

inline double SegmentSegmentDistance(PlanePoint a, PlanePoint b, PlanePoint c, PlanePoint d) {
  if (SegmentsMeet(a, b, c, d)) return 0;
  return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d),
                   PointSegmentDistance(c, a, b), PointSegmentDistance(d, a, b)});
}

// Inside or on the boundary of the triangle, of either winding. A triangle seen
// edge-on has no inside; its edges still count through the distances below.
inline bool InTriangle(PlanePoint p, const std::array<PlanePoint, 3>& t) {
  const double c0 = Cross(t[0], t[1], p), c1 = Cross(t[1], t[2], p), c2 = Cross(t[2], t[0], p);
  const bool anyBelow = c0 < 0 || c1 < 0 || c2 < 0, anyAbove = c0 > 0 || c1 > 0 || c2 > 0;
  return !(anyBelow && anyAbove) && (anyBelow || anyAbove);
}

inline double PointTriangleDistance(PlanePoint p, const std::array<PlanePoint, 3>& t) {
  if (InTriangle(p, t)) return 0;
  return std::min({PointSegmentDistance(p, t[0], t[1]), PointSegmentDistance(p, t[1], t[2]),
                   PointSegmentDistance(p, t[2], t[0])});
}

inline double SegmentTriangleDistance(PlanePoint a, PlanePoint b,
                                      const std::array<PlanePoint, 3>& t) {
  if (InTriangle(a, t) || InTriangle(b, t)) return 0;
  return std::min({SegmentSegmentDistance(a, b, t[0], t[1]),
                   SegmentSegmentDistance(a, b, t[1], t[2]),
                   SegmentSegmentDistance(a, b, t[2], t[0])});
}

// A convex polygon, counter-clockwise.
using ConvexPolygon = std::vector<PlanePoint>;

// Keeps in `out` the part of `polygon` where lo <= n.p <= hi (n = (nx, ny) on x and z),
// empty when less than a polygon is left; `scratch` holds the half-way result. Neither
// allocates once their capacity suffices.
inline void ClipToStrip(const ConvexPolygon& polygon, double nx, double ny, double lo, double hi,
                        ConvexPolygon& out, ConvexPolygon& scratch) {
  const ConvexPolygon* in = &polygon;
  ConvexPolygon* to = &scratch;
  for (const auto& [sign, bound] : {std::pair{1.0, hi}, std::pair{-1.0, -lo}}) {
    to->clear();
    for (std::size_t k = 0; k < in->size(); ++k) {
      const PlanePoint p = (*in)[k], q = (*in)[(k + 1) % in->size()];
      const double dp = sign * (nx * p.x + ny * p.z) - bound;
      const double dq = sign * (nx * q.x + ny * q.z) - bound;
      if (dp <= 0) to->push_back(p);
      if ((dp < 0 && dq > 0) || (dp > 0 && dq < 0)) {
        const double t = dp / (dp - dq);
        to->push_back({p.x + t * (q.x - p.x), p.z + t * (q.z - p.z)});
      }
    }
    if (to->size() < 3) {
      out.clear();
      return;
    }
    in = to;
    to = &out;
  }
}

// Twice the area of a counter-clockwise polygon.
inline double Area2(const ConvexPolygon& polygon) {
  double area2 = 0;
  for (std::size_t k = 0; k < polygon.size(); ++k) {
    const PlanePoint a = polygon[k], b = polygon[(k + 1) % polygon.size()];
    area2 += a.x * b.z - b.x * a.z;
  }
  return area2;
}

// The distance from p to a convex polygon (0 inside or on it). Outside, every edge is
// measured, not only those p lies beyond: where rounding leaves the edges beside a corner
// a hair from one line, p at that corner can lie beyond a far edge and not the near one.
inline double PointPolygonDistance(PlanePoint p, const ConvexPolygon& polygon) {
  const std::size_t n = polygon.size();
  bool inside = true;
  for (std::size_t k = 0; k < n && inside; ++k) {
    inside = Cross(polygon[k], polygon[(k + 1) % n], p) >= 0;
  }
  if (inside) return 0;
  double best = HUGE_VAL;
  for (std::size_t k = 0; k < n; ++k) {
    best = std::min(best, PointSegmentDistance(p, polygon[k], polygon[(k + 1) % n]));
  }
  return best;
}

}  // namespace vantora::plane
