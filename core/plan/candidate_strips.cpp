#include "core/plan/candidate_strips.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/toolpath/outline_walk.h"
#include "core/toolpath/section_lanes.h"
#include "core/toolpath/section_outline.h"

namespace vantora {
namespace {

// Angles closer than this (degrees) modulo 180 cut the same strip.
constexpr double kSameStrip = 1e-3;

// The first of each pair of `angles` half a turn apart (and of repeats).
std::vector<int> DistinctSections(const std::vector<float>& angles, std::vector<int>& classOf) {
  std::map<long long, int> first;
  std::vector<int> distinct;
  classOf.clear();
  for (std::size_t k = 0; k < angles.size(); ++k) {
    const double half = std::fmod(std::fmod(double(angles[k]), 180.0) + 180.0, 180.0);
    long long key = std::llround(half / kSameStrip);
    if (key == std::llround(180.0 / kSameStrip)) key = 0;
    const auto [at, added] = first.emplace(key, int(distinct.size()));
    if (added) distinct.push_back(int(k));
    classOf.push_back(at->second);
  }
  return distinct;
}

// The spans of one grown raster row j: runs of marked cells, each narrowed by the wire's
// radius on both sides (mm from the axis).
std::vector<StripSpan> RowSpans(const TDataModule1& store, int j) {
  std::vector<StripSpan> spans;
  const SectionRaster& raster = store.Raster;
  const double radius = store.WireDia / 2.0;
  for (int i = 0; i < raster.Columns(); ++i) {
    if (!raster.Marked(i, j)) continue;
    const int first = i;
    while (i + 1 < raster.Columns() && raster.Marked(i + 1, j)) ++i;
    const double lo = double(first - store.AxisColumn) * store.Resolution + radius;
    const double hi = double(i - store.AxisColumn) * store.Resolution - radius;
    if (hi > lo) spans.push_back({lo, hi});
  }
  return spans;
}

// The wire path along a strip's outer edges and over its top (mm).
double OutlineLength(const CandidateStrip& strip, double step) {
  double length = 0;
  for (std::size_t k = 0; k + 1 < strip.Slices.size(); ++k) {
    const auto &a = strip.Slices[k], &b = strip.Slices[k + 1];
    length += std::hypot(step, b.front().Lo - a.front().Lo) +
              std::hypot(step, b.back().Hi - a.back().Hi);
  }
  if (!strip.Slices.empty()) length += strip.Slices.back().back().Hi - strip.Slices.back().front().Lo;
  return length;
}

}  // namespace

Status MeasureCandidates(TDataModule1& store, const FacetTable& table, Host& host,
                         float turnAngle, const std::vector<float>& angles, FillScope scope,
                         CandidateSections& candidates) {
  std::vector<int> classOf;
  const std::vector<int> distinct = DistinctSections(angles, classOf);
  candidates = {};
  for (int k : distinct) candidates.Angles.push_back(angles[std::size_t(k)]);
  // The stock begins at the platform, a wire margin above the raster's bottom; below the
  // start height a section keeps what lies between its path's ends there.
  const int bottomRow = store.WireMarginCells;
  const int startRow = std::max(OutlineWalk::WindowOf(store).MinJ, bottomRow);
  int topRow = startRow;  // above the highest row any section keeps
  SectionLanes lanes(store, table, candidates.Angles, turnAngle, LaneChoice::Auto, scope);
  for (std::size_t k = 0; k < distinct.size(); ++k) {
    lanes.Fill(int(k));
    GrowByWireMargin(store, host);
    MarkEnclosedCells(store.Raster);
    CandidateStrip strip;
    strip.Turn = (double(candidates.Angles[k]) - turnAngle) * kTableDegreesToRadians;
    const std::vector<StripSpan> start = RowSpans(store, startRow);
    if (!start.empty()) {  // from wire axis to wire axis
      const double radius = store.WireDia / 2.0;
      strip.Slices.assign(std::size_t(startRow - bottomRow),
                          {{start.front().Lo - radius, start.back().Hi + radius}});
      for (int j = startRow; j < store.Raster.Rows(); ++j) {
        std::vector<StripSpan> spans = RowSpans(store, j);
        if (spans.empty()) break;
        strip.Slices.push_back(std::move(spans));
      }
    }
    topRow = std::max(topRow, bottomRow + int(strip.Slices.size()));
    candidates.Strips.Candidates.push_back(std::move(strip));
    ClearRaster(store);
    lanes.Done(int(k));
    host.ReportProgress(int(k) + 1, int(distinct.size()));
  }
  if (topRow <= startRow) {
    return Status::Refused("No candidate section has a path above the start height.");
  }
  StripSet& strips = candidates.Strips;
  strips.SliceStep = store.Resolution;
  for (CandidateStrip& strip : strips.Candidates) {
    strip.PathLength = OutlineLength(strip, strips.SliceStep);
    strip.Slices.resize(std::size_t(topRow - bottomRow));  // nothing kept above its top
    for (const auto& slice : strip.Slices) {
      if (slice.empty()) continue;
      strips.Reach = std::max({strips.Reach, std::abs(slice.front().Lo), std::abs(slice.back().Hi)});
    }
  }
  for (int c : classOf) candidates.AllPathLength += strips.Candidates[std::size_t(c)].PathLength;
  return Status::Ok();
}

}  // namespace vantora
