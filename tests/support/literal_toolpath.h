#pragma once

// The section raster computed the straightforward way, cell by cell and sample by
// sample with every square root, kept as the reference the fast engine must match bit
// for bit (and as the bench's baseline). Only the raster is computed here; tracing and
// NC output are the engine's own, run on a copy of this raster.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/model/data_module.h"
#include "core/nc/nc_writer.h"
#include "core/toolpath/outline_walk.h"
#include "core/model/facet_table.h"

namespace vantora::testing {

// The raster as grid cells would hold it: Marked and outline weight per cell.
struct LiteralRaster {
  int columns = 0, rows = 0;
  std::vector<std::uint8_t> marked;
  std::vector<float> weight;

  explicit LiteralRaster(const TDataModule1& store)
      : columns(store.RasterMaxI + 1),
        rows(store.RasterMaxJ + 1),
        marked(std::size_t(columns) * rows),
        weight(std::size_t(columns) * rows) {}

  std::uint8_t& Marked(int i, int j) { return marked[std::size_t(i) * rows + j]; }
  float& Weight(int i, int j) { return weight[std::size_t(i) * rows + j]; }
  void Clear() {
    std::fill(marked.begin(), marked.end(), 0);
    std::fill(weight.begin(), weight.end(), 0.0f);
  }
};

inline void LiteralRotateModel(FacetTable& table, float& modelTurnAngle, float angle) {
  const float delta = angle - modelTurnAngle;
  const double r = delta * (std::numbers::pi / 180);
  const double s = std::sin(r), c = std::cos(r);
  for (int k = 0; k < table.FacetCount; ++k) {
    Facet& f = table.Facets[std::size_t(k)];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const double x = (*v)[0], y = (*v)[1];
      (*v)[0] = float(c * x - s * y);
      (*v)[1] = float(s * x + c * y);
    }
  }
  modelTurnAngle = angle;
}

// The nearest cell to v (halves away from zero) + offset, or false when that lies beyond
// any int.
inline bool LiteralCell(double v, double resolution, int offset, int& cell) {
  const double q = v / resolution;
  if (!(q > -2e9 && q < 2e9)) return false;
  cell = (q >= 0 ? int(q + 0.5) : -int(0.5 - q)) + offset;
  return true;
}

// The facet's x and z as the raster sees them, in f32 as the table holds them.
inline void LiteralFillTriangle(const TDataModule1& s, const Facet& f, LiteralRaster& raster) {
  const double x1 = f.V1[0], x2 = f.V2[0], x3 = f.V3[0];
  const double z1 = f.V1[2], z2 = f.V2[2], z3 = f.V3[2];
  const double res = s.Resolution;
  const double xLo = std::min({x1, x2, x3}), xHi = std::max({x1, x2, x3});
  const double zLo = std::min({z1, z2, z3}), zHi = std::max({z1, z2, z3});
  const std::array<std::array<double, 4>, 3> edges{
      {{x1, z1, x2, z2}, {x2, z2, x3, z3}, {x3, z3, x1, z1}}};
  double lo = 0, hi = 0;
  bool first = true;
  for (double x = xLo; x <= xHi; x += res, first = false) {
    double zc[3];
    int hits = 0;
    for (const auto& [xa, za, xb, zb] : edges) {
      if (xa == xb) continue;
      const double len = std::sqrt((xb - xa) * (xb - xa) + (zb - za) * (zb - za));
      const double c = (x - xa) * ((zb - za) / (xb - xa)) + za;
      const double da = std::sqrt((x - xa) * (x - xa) + (c - za) * (c - za));
      const double db = std::sqrt((x - xb) * (x - xb) + (c - zb) * (c - zb));
      if (da <= len && db <= len) zc[hits++] = c;
    }
    if (hits >= 2) {
      lo = *std::min_element(zc, zc + hits);
      hi = *std::max_element(zc, zc + hits);
    } else if (hits == 0) {
      lo = zLo;
      hi = zHi;
    } else if (first) {
      lo = hi = zc[0];
    }
    for (double z = lo; z <= hi; z += res) {
      int i = 0, j = 0;
      if (!LiteralCell(x, res, s.AxisColumn, i) || !LiteralCell(z, res, s.WireMarginCells, j)) {
        continue;
      }
      if (i >= 0 && i <= s.RasterMaxI && j >= 0 && j <= s.RasterMaxJ) raster.Marked(i, j) = 1;
    }
  }
}

// One growth pass over every line: cell k of line n is cell(n, k).
template <typename Cell>
void LiteralGrowPass(int lines, int length, int r, Host& host, const Cell& cell) {
  std::array<int, 300> runEnds{};
  for (int n = 0; n < lines; ++n) {
    int ends = 0;
    bool inside = false;
    for (int k = 0; k < length; ++k) {
      if (cell(n, k) == 1) {
        inside = true;
      } else if (inside) {
        inside = false;
        if (ends < 300) runEnds[std::size_t(ends)] = k;
        ++ends;
      }
    }
    if (ends > 300) host.ShowMessage("STL File Error");
    for (int e = 0; e < std::min(ends, 300); ++e) {
      for (int m = 0; m < r; ++m) {
        const int k = runEnds[std::size_t(e)] + m;
        if (k < length) cell(n, k) = 1;
      }
    }
  }
}

inline void LiteralGrowByWireMargin(const TDataModule1& s, LiteralRaster& raster, Host& host) {
  const int r = s.WireMarginCells, cols = raster.columns, rows = raster.rows;
  LiteralGrowPass(rows, cols, r, host,
                  [&](int j, int k) -> std::uint8_t& { return raster.Marked(k, j); });
  LiteralGrowPass(cols, rows, r, host,
                  [&](int i, int k) -> std::uint8_t& { return raster.Marked(i, k); });
  LiteralGrowPass(rows, cols, r, host, [&](int n, int k) -> std::uint8_t& {
    return raster.Marked(cols - 1 - k, rows - 1 - n);
  });
  LiteralGrowPass(cols, rows, r, host, [&](int n, int k) -> std::uint8_t& {
    return raster.Marked(cols - 1 - n, rows - 1 - k);
  });
}

inline void LiteralMarkOutline(const TDataModule1& s, LiteralRaster& raster, Host& host) {
  LiteralGrowByWireMargin(s, raster, host);
  // The first cell of every run along its row or column, and the last of one that ends
  // before the end of its line.
  auto clear = [&](int i, int j) { return raster.Marked(i, j) == 0; };
  for (int i = 0; i < raster.columns; ++i) {
    for (int j = 0; j < raster.rows; ++j) {
      if (clear(i, j)) continue;
      if (i == 0 || clear(i - 1, j) || (i + 1 < raster.columns && clear(i + 1, j)) ||
          j == 0 || clear(i, j - 1) || (j + 1 < raster.rows && clear(i, j + 1))) {
        raster.Weight(i, j) = 2.0f;
      }
    }
  }
}

inline void LiteralRasterizeSection(TDataModule1& s, const FacetTable& table,
                                    LiteralRaster& raster, Host& host) {
  for (int k = 0; k < table.FacetCount; ++k) LiteralFillTriangle(s, table.Facets[k], raster);
  LiteralMarkOutline(s, raster, host);
}

// Puts the literal raster's marks and weights into the store's raster, for the walk.
inline void CopyToStore(LiteralRaster& raster, TDataModule1& s) {
  s.Raster.Clear();
  for (int i = 0; i < raster.columns; ++i) {
    for (int j = 0; j < raster.rows; ++j) {
      if (raster.Marked(i, j)) s.Raster.Mark(i, j);
      if (raster.Weight(i, j) != 0) s.Raster.SetOutlineWeight(i, j, int(raster.Weight(i, j)));
    }
  }
}

// A whole program run with the literal raster, after the engine's set-up: the
// reference for RunToolPath's output.
inline void LiteralRunToolPath(TDataModule1& s, Session& session, FacetTable& table, Host& host,
                               float start, float step, float end, NcLineSink& program) {
  NcWriter writer(session.Format, program);
  writer.StartProgram(start);
  bool forward = true;
  LiteralRaster raster(s);
  for (float a = start; a <= end; a += step) {
    s.ToolPath.clear();
    LiteralRotateModel(table, session.ModelTurnAngle, a);
    LiteralRasterizeSection(s, table, raster, host);
    CopyToStore(raster, s);
    OutlineWalk(s, host).TraceOutline();
    writer.WriteSectionNc(s.ToolPath, a, forward, host);
    raster.Clear();
    s.Raster.Clear();
    forward = !forward;
  }
  writer.EndProgram();
}

}  // namespace vantora::testing
