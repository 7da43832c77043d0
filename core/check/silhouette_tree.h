#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/model/facet_table.h"

namespace vantora {

// A point or direction in a section plane: x across, z up.
struct PlanePoint {
  double x = 0;
  double z = 0;
};

// The facets of a model in a bounding-volume tree, asked about the model's silhouette
// as it stands turned about the z axis: the turned model is seen along its y axis, so
// its silhouette is the union of the facets' shadows in the x-z plane. A turn by
// angle a maps (x, y, z) to (cos a x - sin a y, sin a x + cos a y, z).
//
// The tree is built once in the model's own frame; a query turns only the bounds of
// the nodes it visits and the facets of the leaves it reaches. Distances are exact
// against the facets (in double), not against a raster.
class SilhouetteTree {
 public:
  explicit SilhouetteTree(const FacetTable& table);

  // A turned view: the cosine and sine of the turn.
  struct Turn {
    double cos = 1, sin = 0;
  };
  static Turn TurnOf(double radians);

  // The distance from p to the silhouette (0 inside it), or `cap` when nothing lies
  // closer than that.
  double DistanceToPoint(const Turn& turn, PlanePoint p, double cap) const;
  // The least distance from the segment a-b to the silhouette (0 where the segment
  // crosses it), or `cap` when nothing lies closer.
  double DistanceToSegment(const Turn& turn, PlanePoint a, PlanePoint b, double cap) const;
  // For p inside the silhouette: a lower bound on its distance to the silhouette's
  // outline, from the shadows of the contour edges (edges between a facet that faces
  // the viewer and one that does not, and open edges). 0 outside. Builds the edge
  // neighbours the first time it is asked.
  double DepthInside(const Turn& turn, PlanePoint p) const;

  // The distance in space from p (in the model's own frame) to the nearest facet, or
  // `cap` when nothing lies closer, possibly up to `slack` too large: parts of the model
  // that could lie only `slack` closer than what was found are not searched. The search
  // stops at the first facet closer than `floor` and returns its distance: a caller
  // after the largest distance of many points passes the largest so far. `nearest`,
  // when given, receives the point of the model the distance was measured to.
  double DistanceInSpace(const std::array<double, 3>& p, double floor, double slack,
                         double cap, std::array<double, 3>* nearest = nullptr) const;

  // The largest distance of any vertex from the z axis.
  double Reach() const { return reach_; }
  bool Empty() const { return facets_.empty(); }

 private:
  struct Node {
    std::array<float, 3> lo, hi;
    std::uint32_t first;  // leaf: first facet; inner: index of the second child
    std::uint32_t count;  // facets of a leaf; 0 for an inner node
  };
  struct FacetCorners {
    std::array<std::array<float, 3>, 3> v;
  };
  // The shadow of a node's box: x range and z range.
  struct Box2 {
    double x0, x1, z0, z1;
  };

  struct Bounds {
    std::array<float, 3> lo{HUGE_VALF, HUGE_VALF, HUGE_VALF};
    std::array<float, 3> hi{-HUGE_VALF, -HUGE_VALF, -HUGE_VALF};
    void Add(const std::array<float, 3>& v);
  };

  static std::uint32_t NodeCount(std::uint32_t count);
  void Build(std::uint32_t first, std::uint32_t count, const Bounds& around, std::uint32_t index);
  Box2 ShadowOf(const Node& node, const Turn& turn) const;
  std::array<PlanePoint, 3> ShadowOf(const FacetCorners& f, const Turn& turn) const;
  // Calls visit(facet index, bound) for the facets of every leaf that `nodeDistance`
  // puts within the bound, which `visit` keeps lowering (it returns the new bound).
  template <typename NodeDistance, typename Visit>
  void Search(double bound, const NodeDistance& nodeDistance, const Visit& visit) const;
  void BuildNeighbours() const;

  std::vector<FacetCorners> facets_;
  std::vector<Node> nodes_;
  double reach_ = 0;
  // Per facet edge k (corner k to corner k + 1): the facet across it, or -1 for an
  // open or shared-by-more-than-two edge. Built on demand.
  mutable std::vector<std::array<std::int32_t, 3>> neighbours_;
  mutable std::vector<std::array<float, 3>> normals_;
};

}  // namespace vantora
