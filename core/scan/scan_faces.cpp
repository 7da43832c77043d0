#include "core/scan/scan_faces.h"

#include <string>
#include <vector>

namespace vantora {
namespace {

Vec3 Point(const GridCell& c) { return {c.X, c.Y, c.Z}; }

// Appends the triangles of one scan through AddFacet in the chosen winding; false
// once the table is full.
class FaceWriter {
 public:
  FaceWriter(FacetTable& table, float viewDistance, bool reversed)
      : table_(table), viewDistance_(viewDistance), reversed_(reversed) {}

  bool Add(const GridCell& p, const GridCell& q, const GridCell& r) {
    return reversed_ ? table_.AddFacet(Point(r), Point(q), Point(p), viewDistance_)
                     : table_.AddFacet(Point(p), Point(q), Point(r), viewDistance_);
  }

  // The zero, one or two triangles of the square A B C D. The sums are f32, formed
  // left to right.
  bool AddSquare(const GridCell& a, const GridCell& b, const GridCell& c, const GridCell& d) {
    const float sumAC = a.Z + c.Z;
    const float sumBD = b.Z + d.Z;
    if (sumAC > 0 && sumAC >= sumBD) {
      if (!Add(a, b, c)) return false;
      if ((a.Z + d.Z) + c.Z > 0) return Add(a, c, d);
    } else if (sumBD > 0 && sumBD > sumAC) {
      if (!Add(b, c, d)) return false;
      if ((b.Z + d.Z) + a.Z > 0) return Add(b, d, a);
    }
    return true;
  }

 private:
  FacetTable& table_;
  float viewDistance_;
  bool reversed_;
};

// The cells of one line of the grid, looked up once for the two rows of squares
// that share it.
void FetchLine(const PointGrid& grid, int j, std::vector<const GridCell*>& line) {
  for (int i = 0; i < int(line.size()); ++i) line[std::size_t(i)] = &grid.At(i, j);
}

}  // namespace

Status BuildFaces(const TDataModule1& store, FacetTable& table, bool reversed) {
  FaceWriter writer(table, store.ViewDistance, reversed);
  const std::size_t width = std::size_t(store.ScanMaxI) + 1;
  std::vector<const GridCell*> lower(width), upper(width);
  if (store.ScanMaxJ > 0) FetchLine(store.BaseGrid, 0, upper);
  for (int j = 0; j < store.ScanMaxJ; ++j) {
    lower.swap(upper);
    FetchLine(store.BaseGrid, j + 1, upper);
    for (std::size_t i = 0; i + 1 < width; ++i) {
      if (!writer.AddSquare(*lower[i], *lower[i + 1], *upper[i + 1], *upper[i])) {
        return Status::Error(ErrorCode::CapacityExceeded,
                             "The scan gives more facets than a view can hold (" +
                                 std::to_string(table.Capacity) +
                                 "): the faces beyond that were left out.");
      }
    }
  }
  return Status::Ok();
}

}  // namespace vantora
