#pragma once

#include <optional>
#include <vector>

#include "core/check/silhouette_tree.h"
#include "core/model/facet_table.h"

// The surface of a carved solid, built from the convex pieces of its slices.
namespace vantora::carved {

using Polygon = std::vector<PlanePoint>;  // convex, counter-clockwise; x, y here

// Keeps the part of `polygon` where lo <= n.p <= hi.
Polygon ClipToStrip(const Polygon& polygon, double nx, double ny, double lo, double hi);

// A slice's piece with float corners at one height, fit for facets.
struct Piece {
  std::vector<Vec3> ring;
  float x0, x1, y0, y1;
};

// The piece of `polygon` at height z; none when it is too small to have an inside.
std::optional<Piece> PieceOf(const Polygon& polygon, double z);

class Corners;  // of the faces between two slices

// Adds the faces of a closed solid to a facet table; each call is false once the table
// is full.
class ShellBuilder {
 public:
  explicit ShellBuilder(FacetTable& table) : table_(table) {}

  // A piece's face, facing down (a bottom) or up (a top).
  bool Cap(const Piece& p, bool up);

  // Joins two neighbouring slices `step` apart. A piece overlapping exactly one piece
  // of the other slice, and that one only it, is joined to it by the hull between them.
  // Every other piece stands as a prism half a step towards the other slice, where the
  // face between the slices holds what only one side covers: pieces that split or
  // merge there stay one shell.
  bool Join(const std::vector<Piece>& below, const std::vector<Piece>& above, double step);

  // Closes off the highest slice's pieces half a step up.
  bool CloseTop(const std::vector<Piece>& top, double step);

 private:
  bool Add(const Vec3& a, const Vec3& b, const Vec3& c);
  // Closes off a piece that no piece of the neighbouring slice continues: it stands as
  // a prism `dz` up (or down) and ends there in a flat face.
  bool CloseOff(const Piece& p, double dz);
  bool Fan(const Polygon& ring, float z, bool up);
  bool Loft(const Piece& below, const Piece& above);
  bool Meet(const std::vector<const Piece*>& lower, const std::vector<const Piece*>& upper,
            double step);
  bool Seal(const std::vector<const Piece*>& lower, const std::vector<const Piece*>& upper,
            float zMid);
  bool Wall(const Piece& piece, const std::vector<int>& ring, const Corners& corners, float zMid);
  // Whether the facets from `first` on, built where slices meet at zMid, run back along
  // each other's edges, leaving out the edges they share with the slices themselves.
  bool Sealed(int first, float zMid) const;

  FacetTable& table_;
};

}  // namespace vantora::carved
