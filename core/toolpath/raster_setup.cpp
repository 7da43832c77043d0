#include "core/toolpath/raster_setup.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "core/common/truncate.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

constexpr int kLastCell = PointGrid::Limit - 1;
// Sample loops step by one resolution from wherever the model lies; up to 2^24 cells
// from the axis a double still adds that step exactly enough to move on.
constexpr double kMaxReachCells = 1 << 24;

struct Spans {
  float x, y, z, diag;
};

// Spans of the model and its wire margin, each rounded to f32, formed in double.
Spans SpansOf(const TDataModule1& s, float wireDia, float stock) {
  const double margin = 2.0 * (double(wireDia) + stock);
  Spans spans{};
  spans.x = float(s.MaxX - s.MinX + margin);
  spans.y = float(s.MaxY - s.MinY + margin);
  spans.z = float(s.MaxZ - s.MinZ + margin);
  spans.diag = std::sqrt(spans.x * spans.x + spans.y * spans.y);
  // The raster spans the diagonal of the model's box, which holds the turning model
  // when the box is centred on the axis; a model beside the axis reaches farther.
  const double corner = std::hypot(std::max(std::abs(s.MinX), std::abs(s.MaxX)),
                                   std::max(std::abs(s.MinY), std::abs(s.MaxY)));
  spans.diag = std::max(spans.diag, float(2 * (corner + double(wireDia) + stock)));
  return spans;
}

// Cells across a span: the division in f32, the rounding sum in double.
int CellsAcross(float span, float resolution) {
  return TruncateToInt(double(span / resolution) + 0.5);
}

// The standard wire margin in cells: the section's outline grows by it all round.
int MarginCells(float wireDia, float resolution) {
  return TruncateToInt((double(wireDia) + 0.5) / resolution);
}

// The margin's radius in cells, where the wire's centre stands from a marked cell's
// centre: the standard margin, or with a stock the wire's radius and the stock and half
// a cell's diagonal more, as a marked cell stands for the model anywhere within it, up
// to its corners. Along the axes the centre then keeps its distance within half a cell,
// and on slopes the disc's ring of whole cells keeps it off the model too.
double MarginRadius(float wireDia, float resolution, const WireMargin& margin) {
  if (!margin.Stock) return MarginCells(wireDia, resolution);
  return (double(wireDia) / 2 + double(*margin.Stock)) / resolution + std::numbers::sqrt2 / 2;
}

// The columns: as many left of the axis as right of it, for the spans with `headroom`
// to spare, and on either side at least the cells of the turning model's outline grown
// by the widest margin a section may get (the half width holds the model, the wire and
// the standard margin), a cell of rounding, and the cell beside the cutting range a walk
// may step to. Where X is measured from the axis, the raster's edge moves no point.
// The rows: the spans with `headroom` to spare, and for a small model at least rows
// enough for the outline grown over the model's top, at height `top`, to lie below the
// last row, where the walk stops; its path would otherwise climb one side and never
// cross the top. They keep room for the extra margin a section may get.
void SizeRaster(RasterGeometry& g, const Spans& spans, double headroom, double top,
                float wireDia, const WireMargin& margin) {
  g.WireMarginRadius = MarginRadius(wireDia, g.Resolution, margin);
  g.WireMarginCells = TruncateToInt(g.WireMarginRadius);
  g.AxisColumn = std::max(TruncateToInt(CellsAcross(spans.diag, g.Resolution) * headroom / 2),
                          TruncateToInt(g.HalfWidth / g.Resolution) + kMaxExtraMarginCells + 3);
  g.RasterMaxI = TruncateToInt(2.0 * g.AxisColumn);  // saturates for a model far out
  const double grownTop = NearestCell(top / double(g.Resolution)) +
                          2.0 * g.WireMarginCells + kMaxExtraMarginCells;
  g.RasterMaxJ = std::max(TruncateToInt(CellsAcross(spans.z, g.Resolution) * headroom),
                          TruncateToInt(grownTop + 1));
}

// The largest distance of the model from the origin along any axis.
double Reach(const TDataModule1& s) {
  return std::max({std::abs(s.MaxX), std::abs(s.MinX), std::abs(s.MaxY), std::abs(s.MinY),
                   std::abs(s.MaxZ), std::abs(s.MinZ)});
}

// Doubles in the order of their values, as unsigned integers, so a binary search can
// walk them one by one.
std::uint64_t OrderKey(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}
double FromOrderKey(std::uint64_t key) {
  return std::bit_cast<double>(key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key);
}

// Where the cells along one axis begin: Edges[k] is the smallest double v whose cell
// NearestCell(v / resolution) + offset is k or more, found bit by bit so that sample
// lookups against these edges give exactly the cells that division gives.
SectionRaster::CellEdges EdgesOf(int cells, int offset, float resolution) {
  const double res = resolution;
  SectionRaster::CellEdges edges;
  edges.Cells = cells;
  edges.Edges.resize(std::size_t(cells) + 1);
  for (int k = 0; k <= cells; ++k) {
    const double wanted = double(k) - offset;
    std::uint64_t below = OrderKey(-DBL_MAX), atOrAbove = OrderKey(DBL_MAX);
    while (atOrAbove - below > 1) {
      const std::uint64_t mid = below + (atOrAbove - below) / 2;
      (NearestCell(FromOrderKey(mid) / res) >= wanted ? atOrAbove : below) = mid;
    }
    edges.Edges[std::size_t(k)] = FromOrderKey(atOrAbove);
  }
  return edges;
}

// Whether height z lies in raster row `row` or above it, by the rule the row edges
// follow (EdgesOf with the wire margin as the offset).
bool AtOrAboveRow(double z, int row, const RasterGeometry& g) {
  return NearestCell(z / double(g.Resolution)) >= double(row - g.WireMarginCells);
}

// A model reaching below the first row would lose its foot, and one whose top stays
// below the platform's row gets a raster sized from a negative height.
Status CheckStandsOnPlatform(const HeightSpan& model, const RasterGeometry& g) {
  if (AtOrAboveRow(model.Lowest, 0, g) && AtOrAboveRow(model.Highest, g.WireMarginCells, g)) {
    return Status::Ok();
  }
  return Status::Refused("The model lies from Z " + ShortestFloatText(float(model.Lowest)) + " to Z " +
                ShortestFloatText(float(model.Highest)) +
                "; it must stand on the platform (Z 0) for a tool path.");
}

}  // namespace

Status PlanRaster(const TDataModule1& store, float resolution, float wireDia,
                  const WireMargin& margin, RasterGeometry& geometry) {
  return PlanRaster(store, {store.MinZ, store.MaxZ}, resolution, wireDia, margin, geometry);
}

Status PlanRaster(const TDataModule1& store, const HeightSpan& model, float resolution,
                  float wireDia, const WireMargin& margin, RasterGeometry& geometry) {
  if (!(resolution > 0) || !std::isfinite(resolution)) {
    return Status::Refused("The resolution must be greater than 0; it is " +
                  ShortestFloatText(resolution) + ".");
  }
  if (!(wireDia > 0) || !std::isfinite(wireDia)) {
    return Status::Refused("The wire diameter must be greater than 0; it is " +
                  ShortestFloatText(wireDia) + ".");
  }
  if (margin.Stock && !(*margin.Stock >= 0 && std::isfinite(*margin.Stock))) {
    return Status::Refused("The stock must be 0 or more; it is " +
                           ShortestFloatText(*margin.Stock) + ".");
  }
  const Spans spans = SpansOf(store, wireDia, margin.Stock.value_or(0));
  if (!std::isfinite(spans.diag) || !std::isfinite(spans.z)) {
    return Status::Refused("The model is too large for a section raster.");
  }
  RasterGeometry g;
  g.Resolution = resolution;
  g.HalfWidth = double(spans.diag) * 0.5 + 0.5;
  SizeRaster(g, spans, 1.2, model.Highest, wireDia, margin);
  if (g.RasterMaxI > kLastCell || g.RasterMaxJ > kLastCell) {
    // Enlarge the cells so the diagonal spans 5000 of them.
    g.Resolution = float(0.0002 * double(spans.diag));
    g.Enlarged = true;
    SizeRaster(g, spans, 1.1, model.Highest, wireDia, margin);
  }
  if (!(g.Resolution > 0) || g.RasterMaxI > kLastCell || g.RasterMaxJ > kLastCell) {
    return Status::Refused("The section raster would need " + std::to_string(g.RasterMaxJ + 1) +
                  " rows, more than the 6000 it can hold, even at resolution " +
                  ShortestFloatText(g.Resolution) +
                  ": the model is too tall for its width.");
  }
  // Judged at the resolution asked for: a model far beside the axis widens the raster
  // and with it an enlarged resolution, which would hide that its cells are lost there.
  if (!(Reach(store) <= FLT_MAX / 2) || Reach(store) / resolution >= kMaxReachCells) {
    return Status::Refused("The model lies too far from the rotation axis for resolution " +
                  ShortestFloatText(resolution) + ".");
  }
  if (Status s = CheckStandsOnPlatform(model, g); !s) return s;
  geometry = g;
  return Status::Ok();
}

float RasterReach(const TDataModule1& store) {
  return float(store.AxisColumn - 1) * store.Resolution;
}

Status RasterSetup(TDataModule1& store, Host& host) {
  RasterGeometry g;
  if (Status s = PlanRaster(store, store.Resolution, store.WireDia, store.Margin, g); !s) {
    return s;
  }
  if (g.Enlarged && g.Resolution > store.WireDia) host.ShowMessage("Wrie dia > Resolution");
  store.Resolution = g.Resolution;
  store.MaxX = g.HalfWidth;
  store.MinX = -g.HalfWidth;
  store.RasterMaxI = g.RasterMaxI;
  store.RasterMaxJ = g.RasterMaxJ;
  store.AxisColumn = g.AxisColumn;
  store.WireMarginCells = g.WireMarginCells;
  store.WireMarginRadius = g.WireMarginRadius;
  store.ScanGrid.Clear();
  store.BaseGrid.Clear();
  const int columns = g.RasterMaxI + 1, rows = g.RasterMaxJ + 1;
  store.Raster.Resize(columns, rows);
  store.Raster.ColumnEdges = EdgesOf(columns, g.AxisColumn, g.Resolution);
  store.Raster.RowEdges = EdgesOf(rows, g.WireMarginCells, g.Resolution);
  store.ToolPath.clear();
  return Status::Ok();
}

}  // namespace vantora
