#include "core/check/silhouette_tree.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "core/check/plane_geometry.h"

namespace vantora {
namespace {

constexpr std::uint32_t kLeafFacets = 4;
// Subtrees this large build their first half on a thread of their own: the few at the
// top of a large model.
constexpr std::uint32_t kFacetsForTwoThreads = 200'000;
// A median split halves every node, so no path from the root is longer than 33 steps
// for up to 2^32 facets; the search's stack keeps at most one entry per step and one.
constexpr int kStackDepth = 72;

double BoxPointGap(double lo, double hi, double v) { return std::max({lo - v, v - hi, 0.0}); }

// The distance from p to a node's shadow box.
template <typename Box>
double BoxPointDistance(const Box& b, PlanePoint p) {
  const double gx = BoxPointGap(b.x0, b.x1, p.x), gz = BoxPointGap(b.z0, b.z1, p.z);
  return std::sqrt(gx * gx + gz * gz);
}

using Point3 = std::array<double, 3>;

Point3 Minus(const Point3& a, const Point3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Point3& a, const Point3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The closest point of triangle abc to p, by the region of the triangle's plane p
// projects into (vertex, edge or face).
Point3 ClosestOnTriangle(const Point3& p, const Point3& a, const Point3& b,
                                    const Point3& c) {
  const Point3 ab = Minus(b, a), ac = Minus(c, a), ap = Minus(p, a);
  auto at = [&](double s, double t) {
    return Point3{a[0] + s * ab[0] + t * ac[0], a[1] + s * ab[1] + t * ac[1],
                  a[2] + s * ab[2] + t * ac[2]};
  };
  const double d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return at(0, 0);
  const Point3 bp = Minus(p, b);
  const double d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return at(1, 0);
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return at(d1 / (d1 - d3), 0);
  const Point3 cp = Minus(p, c);
  const double d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return at(0, 1);
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return at(0, d2 / (d2 - d6));
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) {
    const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
    return at(1 - w, w);
  }
  const double sum = va + vb + vc;
  if (!(sum > 0)) return at(0, 0);  // a degenerate facet: its corner will do
  return at(vb / sum, vc / sum);
}

}  // namespace

SilhouetteTree::Turn SilhouetteTree::TurnOf(double radians) {
  return {std::cos(radians), std::sin(radians)};
}

SilhouetteTree::SilhouetteTree(const FacetTable& table) {
  facets_.reserve(std::size_t(table.FacetCount));
  Bounds all;
  double reach2 = 0;
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    facets_.push_back({{f.V1, f.V2, f.V3}});
    for (const auto& v : facets_.back().v) {
      all.Add(v);
      reach2 = std::max(reach2, double(v[0]) * v[0] + double(v[1]) * v[1]);
    }
  }
  reach_ = std::sqrt(reach2);
  if (facets_.empty()) return;
  const auto count = std::uint32_t(facets_.size());
  nodes_.resize(NodeCount(count));
  Build(0, count, all, 0);
}

// Median splits make every subtree's size a function of its facet count alone, so each
// subtree's place in the node array is known before it is built.
std::uint32_t SilhouetteTree::NodeCount(std::uint32_t count) {
  if (count <= kLeafFacets) return 1;
  return 1 + NodeCount(count / 2) + NodeCount(count - count / 2);
}

void SilhouetteTree::Bounds::Add(const std::array<float, 3>& v) {
  for (int a = 0; a < 3; ++a) {
    lo[a] = std::min(lo[a], v[a]);
    hi[a] = std::max(hi[a], v[a]);
  }
}

// Builds the node of facets first..first + count - 1 and its subtree, reordering the
// facets so that every leaf holds a contiguous run, at node `index`. A node splits at
// the median of its facets' centres along the longest side of `around`, an estimate of
// its box (the parent's, cut at the parent's median), which spares a pass over the
// facets on every level; the boxes themselves are gathered from the leaves up. Large
// subtrees build their first half on a second thread.
void SilhouetteTree::Build(std::uint32_t first, std::uint32_t count, const Bounds& around,
                           std::uint32_t index) {
  nodes_[index] = {{}, {}, first, count};
  if (count <= kLeafFacets) {
    Bounds box;
    for (std::uint32_t k = first; k < first + count; ++k) {
      for (const auto& v : facets_[k].v) box.Add(v);
    }
    nodes_[index].lo = box.lo;
    nodes_[index].hi = box.hi;
    return;
  }
  int axis = 0;
  for (int a = 1; a < 3; ++a) {
    if (around.hi[a] - around.lo[a] > around.hi[axis] - around.lo[axis]) axis = a;
  }
  auto centre = [axis](const FacetCorners& f) { return f.v[0][axis] + f.v[1][axis] + f.v[2][axis]; };
  const std::uint32_t half = count / 2;
  const auto begin = facets_.begin() + first;
  std::nth_element(begin, begin + half, begin + count,
                   [&](const FacetCorners& a, const FacetCorners& b) { return centre(a) < centre(b); });
  const float median = centre(facets_[first + half]) / 3;
  Bounds below = around, above = around;
  below.hi[std::size_t(axis)] = above.lo[std::size_t(axis)] = median;
  const std::uint32_t left = index + 1, right = left + NodeCount(half);
  if (count >= kFacetsForTwoThreads) {
    std::thread firstHalf([&] { Build(first, half, below, left); });
    Build(first + half, count - half, above, right);
    firstHalf.join();
  } else {
    Build(first, half, below, left);
    Build(first + half, count - half, above, right);
  }
  Node& node = nodes_[index];
  for (std::size_t a = 0; a < 3; ++a) {
    node.lo[a] = std::min(nodes_[left].lo[a], nodes_[right].lo[a]);
    node.hi[a] = std::max(nodes_[left].hi[a], nodes_[right].hi[a]);
  }
  node.first = right;
  node.count = 0;
}

SilhouetteTree::Box2 SilhouetteTree::ShadowOf(const Node& node, const Turn& turn) const {
  const double cx = (double(node.lo[0]) + node.hi[0]) / 2, cy = (double(node.lo[1]) + node.hi[1]) / 2;
  const double hx = (double(node.hi[0]) - node.lo[0]) / 2, hy = (double(node.hi[1]) - node.lo[1]) / 2;
  const double x = turn.cos * cx - turn.sin * cy;
  const double reach = std::abs(turn.cos) * hx + std::abs(turn.sin) * hy;
  // The bound is widened by far more than the rounding of the facets' own turns.
  const double slack = (std::abs(cx) + std::abs(cy) + hx + hy) * 0x1p-40;
  return {x - reach - slack, x + reach + slack, node.lo[2], node.hi[2]};
}

std::array<PlanePoint, 3> SilhouetteTree::ShadowOf(const FacetCorners& f, const Turn& turn) const {
  std::array<PlanePoint, 3> shadow;
  for (int k = 0; k < 3; ++k) {
    const auto& v = f.v[std::size_t(k)];
    shadow[std::size_t(k)] = {turn.cos * v[0] - turn.sin * v[1], double(v[2])};
  }
  return shadow;
}

template <typename NodeDistance, typename Visit>
void SilhouetteTree::Search(double bound, const NodeDistance& nodeDistance,
                            const Visit& visit) const {
  if (nodes_.empty()) return;
  struct Entry {
    std::uint32_t node;
    double distance;
  };
  Entry stack[kStackDepth];
  int top = 0;
  stack[top++] = {0, nodeDistance(nodes_[0])};
  while (top > 0 && bound > 0) {
    const Entry entry = stack[--top];
    if (entry.distance >= bound) continue;
    const Node& node = nodes_[entry.node];
    if (node.count > 0) {
      for (std::uint32_t k = node.first; k < node.first + node.count && bound > 0; ++k) {
        bound = visit(k, bound);
      }
      continue;
    }
    Entry near{entry.node + 1, nodeDistance(nodes_[entry.node + 1])};
    Entry far{node.first, nodeDistance(nodes_[node.first])};
    if (far.distance < near.distance) std::swap(near, far);
    if (far.distance < bound) stack[top++] = far;
    if (near.distance < bound) stack[top++] = near;
  }
}

double SilhouetteTree::DistanceToPoint(const Turn& turn, PlanePoint p, double cap) const {
  double best = cap;
  Search(
      cap, [&](const Node& n) { return BoxPointDistance(ShadowOf(n, turn), p); },
      [&](std::uint32_t k, double bound) {
        best = std::min(bound, plane::PointTriangleDistance(p, ShadowOf(facets_[k], turn)));
        return best;
      });
  return best;
}

double SilhouetteTree::DistanceToSegment(const Turn& turn, PlanePoint a, PlanePoint b,
                                         double cap) const {
  const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
  const double z0 = std::min(a.z, b.z), z1 = std::max(a.z, b.z);
  // A long slanting segment lies far from boxes its bounding box still reaches: the
  // box's gap to the segment's line bounds the distance too.
  const double length = std::sqrt((b.x - a.x) * (b.x - a.x) + (b.z - a.z) * (b.z - a.z));
  const double nx = length > 0 ? -(b.z - a.z) / length : 0, nz = length > 0 ? (b.x - a.x) / length : 0;
  const double offset = nx * a.x + nz * a.z;
  double best = cap;
  Search(
      cap,
      [&](const Node& n) {
        const Box2 box = ShadowOf(n, turn);
        const double gx = std::max({box.x0 - x1, x0 - box.x1, 0.0});
        const double gz = std::max({box.z0 - z1, z0 - box.z1, 0.0});
        const double centre = nx * (box.x0 + box.x1) / 2 + nz * (box.z0 + box.z1) / 2;
        const double reach = (std::abs(nx) * (box.x1 - box.x0) + std::abs(nz) * (box.z1 - box.z0)) / 2;
        const double lineGap = std::abs(centre - offset) - reach;
        return std::max(std::sqrt(gx * gx + gz * gz), lineGap);
      },
      [&](std::uint32_t k, double bound) {
        best = std::min(bound, plane::SegmentTriangleDistance(a, b, ShadowOf(facets_[k], turn)));
        return best;
      });
  return best;
}

double SilhouetteTree::DistanceInSpace(const std::array<double, 3>& p, double floor,
                                       double slack, double cap,
                                       std::array<double, 3>* nearest) const {
  auto corner = [](const std::array<float, 3>& v) { return Point3{v[0], v[1], v[2]}; };
  double best = cap;
  Search(
      cap,
      [&](const Node& n) {
        double gap2 = 0;
        for (int a = 0; a < 3; ++a) {
          const double g = std::max({double(n.lo[a]) - p[a], p[a] - double(n.hi[a]), 0.0});
          gap2 += g * g;
        }
        return std::sqrt(gap2) + slack;
      },
      [&](std::uint32_t k, double bound) {
        const auto& v = facets_[k].v;
        const Point3 q = ClosestOnTriangle(p, corner(v[0]), corner(v[1]), corner(v[2]));
        const Point3 gap = Minus(p, q);
        const double d = std::sqrt(Dot(gap, gap));
        if (d < bound && nearest) *nearest = q;
        best = std::min(bound, d);
        return best < floor ? 0.0 : best;
      });
  return best;
}

// Edges are matched by their corners' coordinates: a sorted list of every edge, its
// lower corner first, pairs the two facets of each shared edge.
void SilhouetteTree::BuildNeighbours() const {
  struct EdgeKey {
    std::array<float, 3> a, b;
    std::uint32_t facet;
    std::uint8_t edge;
  };
  std::vector<EdgeKey> edges;
  edges.reserve(facets_.size() * 3);
  normals_.resize(facets_.size());
  for (std::uint32_t f = 0; f < facets_.size(); ++f) {
    const auto& v = facets_[f].v;
    for (std::uint8_t k = 0; k < 3; ++k) {
      const auto& p = v[k];
      const auto& q = v[(k + 1) % 3];
      edges.push_back({std::min(p, q), std::max(p, q), f, k});
    }
    const double ux = double(v[1][0]) - v[0][0], uy = double(v[1][1]) - v[0][1],
                 uz = double(v[1][2]) - v[0][2];
    const double wx = double(v[2][0]) - v[0][0], wy = double(v[2][1]) - v[0][1],
                 wz = double(v[2][2]) - v[0][2];
    normals_[f] = {float(uy * wz - uz * wy), float(uz * wx - ux * wz), float(ux * wy - uy * wx)};
  }
  auto sameEdge = [](const EdgeKey& l, const EdgeKey& r) { return l.a == r.a && l.b == r.b; };
  std::sort(edges.begin(), edges.end(), [](const EdgeKey& l, const EdgeKey& r) {
    return l.a != r.a ? l.a < r.a : l.b < r.b;
  });
  neighbours_.assign(facets_.size(), {-1, -1, -1});
  for (std::size_t k = 0; k < edges.size();) {
    std::size_t end = k + 1;
    while (end < edges.size() && sameEdge(edges[k], edges[end])) ++end;
    if (end - k == 2) {
      neighbours_[edges[k].facet][edges[k].edge] = std::int32_t(edges[k + 1].facet);
      neighbours_[edges[k + 1].facet][edges[k + 1].edge] = std::int32_t(edges[k].facet);
    }
    k = end;
  }
}

double SilhouetteTree::DepthInside(const Turn& turn, PlanePoint p) const {
  if (DistanceToPoint(turn, p, 1.0) > 0) return 0;
  if (neighbours_.empty()) BuildNeighbours();
  // The turned model is seen along its y axis, (sin, cos, 0) in the model's frame.
  auto facing = [&](std::size_t f) {
    const double toward = turn.sin * normals_[f][0] + turn.cos * normals_[f][1];
    return (toward > 0) - (toward < 0);
  };
  double best = HUGE_VAL;
  Search(
      best, [&](const Node& n) { return BoxPointDistance(ShadowOf(n, turn), p); },
      [&](std::uint32_t f, double bound) {
        const auto shadow = ShadowOf(facets_[f], turn);
        const int side = facing(f);
        for (std::size_t k = 0; k < 3; ++k) {
          const std::int32_t across = neighbours_[f][k];
          // An edge between facets that face the same way is covered on both sides.
          if (side != 0 && across >= 0 && facing(std::size_t(across)) == side) continue;
          bound = std::min(bound, plane::PointSegmentDistance(p, shadow[k], shadow[(k + 1) % 3]));
        }
        best = bound;
        return bound;
      });
  return std::isfinite(best) ? best : 0;
}

}  // namespace vantora
