#pragma once

// A brute-force replay of a program on the machine, kept apart from the program check so
// that it can witness against it. The table's axis lies at NC X = 0, C turns the model
// counter-clockwise about z by C degrees from how it stood when the sweep started, and
// the wire at (X, Y) is the line x = X, z = Y - offsetZ along the turned model's y.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/check/nc_replay.h"
#include "core/model/facet_table.h"

namespace vantora::testing {

using Triangle = std::array<Vec3, 3>;

// The moves that turn the table as the wire moves.
inline int TurnsWithTheWireMoving(const NcMotionList& motion) {
  int turns = 0;
  for (std::size_t k = 1; k < motion.Motions.size(); ++k) {
    const NcMotion &p = motion.Motions[k - 1], &q = motion.Motions[k];
    turns += p.C != q.C && (p.X != q.X || p.Y != q.Y);
  }
  return turns;
}

inline std::vector<Triangle> TrianglesOf(const FacetTable& t) {
  std::vector<Triangle> triangles;
  for (int k = 0; k < t.FacetCount; ++k) {
    const Facet& f = t.Facets[std::size_t(k)];
    triangles.push_back({f.V1, f.V2, f.V3});
  }
  return triangles;
}

// How deep the wire reached into the model (mm; with its axis inside, the radius and at
// least how far inside) and whether its axis passed inside.
struct MachineReach {
  double Depth = 0;
  bool AxisInside = false;
};

namespace machine_replay {

struct P2 {
  double x, z;
};
using Shadow = std::vector<std::array<P2, 3>>;

// The triangles as the wire sees them at rotary position `degrees`: on the x-z plane.
inline Shadow ShadowAt(const std::vector<Triangle>& model, double degrees) {
  const double r = degrees * std::numbers::pi / 180, c = std::cos(r), s = std::sin(r);
  Shadow shadow;
  for (const Triangle& t : model) {
    auto& s2 = shadow.emplace_back();
    for (int k = 0; k < 3; ++k) s2[k] = {c * t[k][0] - s * t[k][1], double(t[k][2])};
  }
  return shadow;
}

inline double Cross(P2 o, P2 a, P2 b) {
  return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

inline double SegmentDistance(P2 p, P2 a, P2 b) {
  const double dx = b.x - a.x, dz = b.z - a.z, length2 = dx * dx + dz * dz;
  const double t =
      length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.z - a.z) * dz) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - a.x - t * dx, p.z - a.z - t * dz);
}

// The distance from `p` to the union of the shadow's triangles, or `limit` when none lies
// nearer. Inside, minus how far inside: at least as far as from the edges of a triangle
// around `p`.
inline double SignedDistance(const Shadow& shadow, P2 p, double limit) {
  double nearest = limit, inside = 0;
  for (const auto& [a, b, c] : shadow) {
    if (std::min({a.x, b.x, c.x}) - p.x > nearest || p.x - std::max({a.x, b.x, c.x}) > nearest ||
        std::min({a.z, b.z, c.z}) - p.z > nearest || p.z - std::max({a.z, b.z, c.z}) > nearest) {
      continue;
    }
    const double edges =
        std::min({SegmentDistance(p, a, b), SegmentDistance(p, b, c), SegmentDistance(p, c, a)});
    const double d1 = Cross(a, b, p), d2 = Cross(b, c, p), d3 = Cross(c, a, p);
    const bool flat = Cross(a, b, c) == 0;  // seen edge-on: only its edges count
    if (!flat && ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0))) {
      inside = std::max(inside, edges), nearest = 0;
    } else {
      nearest = std::min(nearest, edges);
    }
  }
  return inside > 0 ? -inside : nearest;
}

}  // namespace machine_replay

// Replays every line of `motion` as the controller moves it, X, Y and C together in a
// straight line from the previous position. Samples lie at most 0.01 mm of travel and
// 0.02 degrees apart near the model (the turn's travel taken at the model's reach), and
// as far apart as the wire's clearance allows away from it.
inline MachineReach ReplayOnMachine(const std::vector<Triangle>& model, double wireDia,
                                    double offsetZ, const NcMotionList& motion) {
  using namespace machine_replay;
  double reach = 0;
  for (const Triangle& t : model) {
    for (const Vec3& v : t) reach = std::max(reach, std::hypot(double(v[0]), double(v[1])));
  }
  const double radius = wireDia / 2;
  MachineReach found;
  Shadow shadow;
  double shadowC = NAN;
  const auto visit = [&](double x, double y, double c) {
    if (c != shadowC) shadow = ShadowAt(model, c), shadowC = c;
    const double distance = SignedDistance(shadow, {x, y - offsetZ}, radius + 1);
    found.Depth = std::max(found.Depth, radius - distance);
    found.AxisInside = found.AxisInside || distance < -1e-6;  // on the surface is not in
    return distance - radius;  // the clearance
  };
  const auto& m = motion.Motions;
  if (!m.empty()) visit(m[0].X, m[0].Y, m[0].C);
  for (std::size_t k = 1; k < m.size(); ++k) {
    const NcMotion a = m[k - 1], b = m[k];
    const double turn = std::abs(b.C - a.C);
    const double travel = std::hypot(b.X - a.X, b.Y - a.Y) + reach * turn * std::numbers::pi / 180;
    const double fine =
        std::max(1e-5, std::min(0.01 / std::max(travel, 1e-9), 0.02 / std::max(turn, 1e-9)));
    for (double t = 0, step = fine; t < 1;) {
      t = std::min(1.0, t + step);
      const double clearance =
          visit(a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y), a.C + t * (b.C - a.C));
      // The model's points move no faster than the travel, so the clearance is a safe step.
      step = std::max(fine, clearance / std::max(travel, 1e-9));
    }
  }
  return found;
}

}  // namespace vantora::testing
