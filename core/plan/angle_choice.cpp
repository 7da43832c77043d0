#include "core/plan/angle_choice.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <utility>

namespace vantora {
namespace {

using plane::ConvexPolygon;
using Slice = std::vector<ConvexPolygon>;

// Material a candidate removes below this share of the stock is rounding.
constexpr double kNoGain = 1e-9;
// How far past the choice the curve goes: what twice as many sections (and at least a
// few more) would leave.
constexpr int kCurveBeyond = 8;

// A corner of a carving and its distance from another carving within its slice.
struct Corner {
  double Distance = 0;
  std::size_t Slice = 0;
  PlanePoint Point{};
};

// How far the point with this u lies outside the strip's spans (0 inside one).
double OutsideBy(const std::vector<StripSpan>& spans, double u) {
  double outside = HUGE_VAL;
  for (const StripSpan& s : spans) outside = std::min(outside, std::max({0.0, s.Lo - u, u - s.Hi}));
  return outside;
}

// The stock cut by a set of strips, slice by slice, and its volume.
class Carving {
 public:
  explicit Carving(const StripSet& strips) : strips_(strips) {
    const double r = strips.Reach;
    const std::size_t slices =
        strips.Candidates.empty() ? 0 : strips.Candidates.front().Slices.size();
    slices_.assign(slices, Slice{{{-r, -r}, {r, -r}, {r, r}, {-r, r}}});
    areas2_.assign(slices, 8 * r * r);
  }

  double Volume() const {
    double sum = 0;
    for (double a : areas2_) sum += a;
    return sum * strips_.SliceStep / 2;
  }
  double StockVolume() const {
    return double(areas2_.size()) * 4 * strips_.Reach * strips_.Reach * strips_.SliceStep;
  }

  // The material left were `candidate` added.
  double VolumeWith(int candidate) const {
    double area2 = 0;
    ForEachCut(candidate, [&](std::size_t, const ConvexPolygon& piece) {
      area2 += plane::Area2(piece);
    });
    return area2 * strips_.SliceStep / 2;
  }

  void Add(int candidate) {
    std::vector<Slice> kept(slices_.size());
    std::fill(areas2_.begin(), areas2_.end(), 0.0);
    ForEachCut(candidate, [&](std::size_t k, const ConvexPolygon& piece) {
      kept[k].push_back(piece);
      areas2_[k] += plane::Area2(piece);
    });
    slices_ = std::move(kept);
  }

  // The corner of this carving farthest from `all` (which lies inside it) over the
  // slices not yet `settled`; slices within `bound` become settled. Stops at the first
  // corner beyond `stopAbove`. Within a slice a convex piece lies farthest from a convex
  // one at a corner; above the top of `all`, a corner lies as far as from the top slice
  // of it below.
  Corner FarthestFrom(const Carving& all, double bound, double stopAbove,
                      std::vector<char>* settled) const {
    Corner farthest;
    std::size_t below = 0;  // the highest slice `all` keeps anything of, up to here
    for (std::size_t k = 0; k < slices_.size(); ++k) {
      if (!all.slices_[k].empty()) below = k;
      if (settled && (*settled)[k]) continue;
      const Slice& target = all.slices_[below];
      const double dz = double(k - below) * strips_.SliceStep;
      double sliceFarthest = 0;
      for (const ConvexPolygon& piece : slices_[k]) {
        for (const PlanePoint& p : piece) {
          double nearest = HUGE_VAL;
          for (const ConvexPolygon& t : target) {
            nearest = std::min(nearest, plane::PointPolygonDistance(p, t));
          }
          nearest = std::hypot(nearest, dz);
          sliceFarthest = std::max(sliceFarthest, nearest);
          if (nearest > farthest.Distance) farthest = {nearest, k, p};
          if (nearest > stopAbove) return farthest;
        }
      }
      if (settled && sliceFarthest <= bound) (*settled)[k] = 1;
    }
    return farthest;
  }

  double DeviationFrom(const Carving& all) const {
    return FarthestFrom(all, 0, HUGE_VAL, nullptr).Distance;
  }

 private:
  // Calls `use` with each slice k and every piece of it that `candidate` leaves.
  template <class Use>
  void ForEachCut(int candidate, Use use) const {
    const CandidateStrip& strip = strips_.Candidates[std::size_t(candidate)];
    const double nx = std::cos(strip.Turn), ny = -std::sin(strip.Turn);
    for (std::size_t k = 0; k < slices_.size(); ++k) {
      for (const ConvexPolygon& piece : slices_[k]) {
        for (const StripSpan& span : strip.Slices[k]) {
          plane::ClipToStrip(piece, nx, ny, span.Lo, span.Hi, clipped_, scratch_);
          if (!clipped_.empty()) use(k, clipped_);
        }
      }
    }
  }

  const StripSet& strips_;
  std::vector<Slice> slices_;
  std::vector<double> areas2_;  // twice each slice's area
  mutable ConvexPolygon clipped_, scratch_;
};

Carving CarvingOf(const StripSet& strips, const std::vector<int>& candidates) {
  Carving carving(strips);
  for (int c : candidates) carving.Add(c);
  return carving;
}

std::vector<int> Everything(const StripSet& strips) {
  std::vector<int> all(strips.Candidates.size());
  for (std::size_t c = 0; c < all.size(); ++c) all[c] = int(c);
  return all;
}

// Adds to `chosen` (carved into `carving`) from `allowed` the candidate that removes
// the most, one at a time until `count` are chosen or none removes more than `noGain`
// (mm³); `left`
// gets the volume after each. What a candidate removes only shrinks as others are
// added, so a gain measured earlier bounds it: only the candidate whose bound heads
// the queue is measured again (lazy greedy).
void AddGreedily(Carving& carving, const std::vector<int>& allowed, std::size_t count,
                 double noGain, std::vector<int>& chosen, std::vector<double>& left) {
  std::priority_queue<std::pair<double, int>> bounds;
  for (int c : allowed) {
    if (std::find(chosen.begin(), chosen.end(), c) == chosen.end()) {
      bounds.emplace(HUGE_VAL, -c);  // ties go to the first candidate
    }
  }
  while (!bounds.empty() && chosen.size() < count) {
    const int c = -bounds.top().second;
    bounds.pop();
    const double gain = carving.Volume() - carving.VolumeWith(c);
    if (!bounds.empty() && gain < bounds.top().first) {
      bounds.emplace(gain, -c);
      continue;
    }
    if (gain <= noGain && !chosen.empty()) break;
    carving.Add(c);
    chosen.push_back(c);
    left.push_back(carving.Volume());
  }
}

// The choice of `chosen` (its first `count`) followed by what more sections would add,
// all in the order greedy by volume.
AngleChoice Complete(const StripSet& strips, const Carving& all, const std::vector<int>& chosen) {
  AngleChoice choice;
  choice.Count = int(chosen.size());
  choice.AllLeft = all.Volume();
  Carving carving(strips);
  // Every chosen one is kept, also one that removes next to nothing (a far corner).
  AddGreedily(carving, chosen, chosen.size(), -HUGE_VAL, choice.Order, choice.Left);
  choice.Deviation = carving.DeviationFrom(all);
  const std::size_t beyond = std::max(2 * chosen.size(), chosen.size() + kCurveBeyond);
  AddGreedily(carving, Everything(strips), beyond, kNoGain * carving.StockVolume(), choice.Order,
              choice.Left);
  return choice;
}

}  // namespace

AngleChoice ChooseWithin(const StripSet& strips, double deviation) {
  if (strips.Candidates.empty()) return {};
  const Carving all = CarvingOf(strips, Everything(strips));
  // Farthest first: where the carving lies farthest from all candidates' carving, a
  // candidate that cuts it back within the deviation (removing the most material among
  // those that do), or else the one that cuts deepest there, is added, until the carving
  // lies within the deviation everywhere. Some candidate cuts there (else that corner
  // would lie in all candidates' carving too).
  Carving carving(strips);
  std::vector<int> chosen;
  std::vector<char> settled(strips.Candidates.front().Slices.size(), 0);
  for (Corner far = carving.FarthestFrom(all, deviation, HUGE_VAL, &settled);
       far.Distance > deviation; far = carving.FarthestFrom(all, deviation, HUGE_VAL, &settled)) {
    int best = 0;
    double depth = -1, left = HUGE_VAL;
    for (std::size_t c = 0; c < strips.Candidates.size(); ++c) {
      const CandidateStrip& strip = strips.Candidates[c];
      const double u = std::cos(strip.Turn) * far.Point.x - std::sin(strip.Turn) * far.Point.z;
      const double outside = OutsideBy(strip.Slices[far.Slice], u);
      if (outside >= far.Distance - deviation) {
        const double volume = carving.VolumeWith(int(c));
        if (depth < far.Distance - deviation || volume < left) best = int(c), left = volume;
        depth = std::max(depth, outside);
      } else if (outside > depth) {
        depth = outside, best = int(c);
      }
    }
    chosen.push_back(best);
    carving.Add(best);
  }
  if (chosen.empty()) chosen.push_back(0);
  // Each chosen one that the others make unnecessary goes, the earliest first.
  for (std::size_t k = 0; k < chosen.size() && chosen.size() > 1;) {
    std::vector<int> others = chosen;
    others.erase(others.begin() + std::ptrdiff_t(k));
    if (CarvingOf(strips, others).FarthestFrom(all, 0, deviation, nullptr).Distance <= deviation) {
      chosen = std::move(others);
    } else {
      ++k;
    }
  }
  return Complete(strips, all, chosen);
}

AngleChoice ChooseCount(const StripSet& strips, int sections) {
  if (strips.Candidates.empty() || sections < 1) return {};
  const Carving all = CarvingOf(strips, Everything(strips));
  Carving carving(strips);
  std::vector<int> chosen;
  std::vector<double> left;
  AddGreedily(carving, Everything(strips), std::size_t(sections), kNoGain * carving.StockVolume(),
              chosen, left);
  return Complete(strips, all, chosen);
}

}  // namespace vantora
