#pragma once

// Small models for tool-path tests, put straight into a facet table (millimetres).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/common/silent_host.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/nc/nc_program.h"
#include "core/toolpath/raster_setup.h"

namespace vantora::testing {

inline void AddQuad(FacetTable& table, const Vec3& a, const Vec3& b, const Vec3& c,
                    const Vec3& d) {
  table.AddFacet(a, b, c, 1.0f);
  table.AddFacet(a, c, d, 1.0f);
}

// The closed box [x0, x1] x [y0, y1] x [z0, z1], 12 facets.
inline void AddBox(FacetTable& t, float x0, float x1, float y0, float y1, float z0, float z1) {
  AddQuad(t, {x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0});
  AddQuad(t, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1});
  AddQuad(t, {x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0});
  AddQuad(t, {x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1});
  AddQuad(t, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1});
  AddQuad(t, {x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0});
}

// A closed cylinder standing on the rotation axis: radius r, height h, n sides.
inline void AddCylinder(FacetTable& t, float r, float h, int n) {
  auto rim = [&](int k, float z) -> Vec3 {
    const double a = 2 * std::numbers::pi * (k % n) / n;
    return {float(r * std::cos(a)), float(r * std::sin(a)), z};
  };
  for (int k = 0; k < n; ++k) {
    AddQuad(t, rim(k, 0), rim(k + 1, 0), rim(k + 1, h), rim(k, h));
    t.AddFacet({0, 0, 0}, rim(k + 1, 0), rim(k, 0), 1.0f);
    t.AddFacet({0, 0, h}, rim(k, h), rim(k + 1, h), 1.0f);
  }
}

// A closed sphere of radius r standing on the platform on the rotation axis: `bands`
// bands of latitude, twice as many meridians.
inline void AddSphere(FacetTable& t, float r, int bands) {
  auto at = [&](int band, int meridian) -> Vec3 {
    const double polar = std::numbers::pi * band / bands;
    const double around = std::numbers::pi * (meridian % (2 * bands)) / bands;
    const double ring = band == 0 || band == bands ? 0 : r * std::sin(polar);  // poles exact
    return {float(ring * std::cos(around)), float(ring * std::sin(around)),
            float(r + r * std::cos(polar))};
  };
  for (int k = 0; k < 2 * bands * bands; ++k) {
    const int band = k / (2 * bands), m = k % (2 * bands);
    if (band > 0) t.AddFacet(at(band, m), at(band + 1, m), at(band, m + 1), 1.0f);
    if (band + 1 < bands) t.AddFacet(at(band, m + 1), at(band + 1, m), at(band + 1, m + 1), 1.0f);
  }
}

// `count` random triangles of up to `size` mm inside [-half, half]^2 x [0, height],
// some with corners on the 0.2 mm grid or sharing an x, where ties decide.
inline void AddRandomFacets(FacetTable& t, int count, float half, float height, float size,
                            std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> across(-half, half), up(0, height), step(-size, size);
  auto snap = [](float v) { return std::round(v * 5.0f) / 5.0f; };
  for (int k = 0; k < count; ++k) {
    Vec3 a{across(random), across(random), up(random)};
    Vec3 b{a[0] + step(random), a[1] + step(random), std::clamp(a[2] + step(random), 0.f, height)};
    Vec3 c{a[0] + step(random), a[1] + step(random), std::clamp(a[2] + step(random), 0.f, height)};
    switch (k % 5) {
      case 1:  // corners on the grid
        for (Vec3* v : {&a, &b, &c}) (*v) = {snap((*v)[0]), snap((*v)[1]), snap((*v)[2])};
        break;
      case 2:  // an edge parallel to z
        b[0] = a[0];
        b[1] = a[1];
        break;
      case 3:  // all three at one x
        b[0] = c[0] = a[0];
        b[1] = c[1] = a[1];
        break;
      default:
        break;
    }
    t.AddFacet(a, b, c, 1.0f);
  }
}

// Calls `change` with every corner of every facet, in table order.
template <typename Table, typename Change>
void ForEachVertex(Table& t, Change change) {
  for (int k = 0; k < t.FacetCount; ++k) {
    auto& f = t.Facets[std::size_t(k)];
    for (auto* v : {&f.V1, &f.V2, &f.V3}) change(*v);
  }
}

// The store's bounds of the table's facets, as an import leaves them.
inline void FitBounds(TDataModule1& s, const FacetTable& t) {
  double* lows[] = {&s.MinX, &s.MinY, &s.MinZ};
  double* highs[] = {&s.MaxX, &s.MaxY, &s.MaxZ};
  for (int a = 0; a < 3; ++a) *lows[a] = 1e30, *highs[a] = -1e30;
  ForEachVertex(t, [&](const Vec3& v) {
    for (int a = 0; a < 3; ++a) {
      *lows[a] = std::min(*lows[a], double(v[a]));
      *highs[a] = std::max(*highs[a], double(v[a]));
    }
  });
}

// The raster cell of a path point.
inline std::pair<int, int> CellOf(const TDataModule1& s, const PathPoint& p) {
  return {int(std::lround(p.X / s.Resolution)) + s.AxisColumn,
          int(std::lround((p.Y - float(s.MinZ)) / s.Resolution))};
}

inline std::vector<std::string> ProgramLines(const NcProgram& program) {
  std::vector<std::string> lines;
  for (int k = 0; k < program.LineCount(); ++k) lines.emplace_back(program.Line(k));
  return lines;
}

// A store and facet table for one model, in the heap as the application keeps them.
struct ToolPathModel {
  std::unique_ptr<TDataModule1> store = std::make_unique<TDataModule1>();
  std::unique_ptr<FacetTable> table = std::make_unique<FacetTable>(1 << 20);
};

// Fits the store's bounds to the model's facets and sets its raster up for `resolution`
// and a wire of `wire` mm.
inline Status SetUpRaster(ToolPathModel& m, float resolution = 0.2f, float wire = 1.0f) {
  FitBounds(*m.store, *m.table);
  m.store->Resolution = resolution;
  m.store->WireDia = wire;
  SilentHost host;
  return RasterSetup(*m.store, host);
}

}  // namespace vantora::testing
