#include "core/scan/probe_compensation.h"

#include <algorithm>
#include <climits>
#include <limits>
#include <span>
#include <vector>

#include "core/common/truncate.h"

namespace vantora {
namespace {

constexpr float kOutOfReach = std::numeric_limits<float>::infinity();

// The underside depths of the ball at the neighbours it reaches, one row per line
// distance dj: row dj holds di = 0, 1, ... as far as the ball reaches. Since d grows
// with di and with dj (every f32 step rounds monotonically), the ball reaches a
// prefix of each row and no more of a row than of the one before.
//
// Neighbours beyond the grid are left out. The step-by-step definition clamps them
// onto the border, but the depth shrinks as d grows, so such a clamped contribution is
// never below the one from the same point to the border cell itself.
class BallKernel {
 public:
  explicit BallKernel(const TDataModule1& s) {
    const int reachI = std::min(s.ProbeRadiusCells, s.ScanMaxI);
    const int reachJ = std::min(s.ProbeRadiusCells, s.ScanMaxJ);
    rowStart_.push_back(0);
    for (int dj = 0; dj <= reachJ; ++dj) {
      int di = 0;
      for (; di <= reachI; ++di) {
        const auto depth = BallUndersideDepth(di, dj, s.ScanPitch, s.ProbeRadius);
        if (!depth) break;
        depths_.push_back(*depth);
      }
      if (di == 0) break;
      rowStart_.push_back(int(depths_.size()));
    }
  }

  int Rows() const { return int(rowStart_.size()) - 1; }
  std::span<const float> Row(int dj) const {
    return std::span(depths_).subspan(std::size_t(rowStart_[dj]),
                                      std::size_t(rowStart_[dj + 1] - rowStart_[dj]));
  }
  // How many points the ball reaches to each side of its own.
  int PointReach() const { return Rows() == 0 ? 0 : int(Row(0).size()) - 1; }

 private:
  std::vector<float> depths_;
  std::vector<int> rowStart_;
};

// The heights of the balls' centres on one line of raw points, z + r, with `pad`
// points of kOutOfReach on both sides so that neighbours need no bounds test. Points
// at or above ScanTopZ lower nothing and are out of reach too.
class CentreLine {
 public:
  CentreLine(int width, int pad)
      : pad_(pad), heights_(std::size_t(width + 2 * pad), kOutOfReach) {}

  void Load(const TDataModule1& s, int j) {
    float* line = heights_.data() + pad_;
    for (int i = 0; i <= s.ScanMaxI; ++i) {
      const float z = s.ScanGrid.At(i, j).Z;
      line[i] = z < s.ScanTopZ ? z + s.ProbeRadius : kOutOfReach;
    }
  }

  // The first point; the padding lies before and after.
  const float* data() const { return heights_.data() + pad_; }

 private:
  int pad_;
  std::vector<float> heights_;
};

// The lower envelope of the lines that balls may still reach: line t lives in slot
// t mod the ring's size until no later line of points reaches it; then it goes to
// BaseGrid and the slot starts afresh for a new line.
class EnvelopeRing {
 public:
  EnvelopeRing(int width, int slots)
      : width_(std::size_t(width)),
        slots_(slots),
        values_(width_ * std::size_t(slots), kOutOfReach) {}

  std::span<float> Line(int t) {
    return std::span(values_).subspan(std::size_t(t % slots_) * width_, width_);
  }

  // Lowers, and marks, the BaseGrid cells of line t that its envelope lies below.
  void Flush(int t, PointGrid& base) {
    const std::span<float> lowest = Line(t);
    for (std::size_t i = 0; i < width_; ++i) {
      GridCell& cell = base.At(int(i), t);
      if (lowest[i] < cell.Z) {
        cell.Z = lowest[i];
        cell.Marked = 1;
      }
      lowest[i] = kOutOfReach;
    }
  }

 private:
  std::size_t width_;
  int slots_;
  std::vector<float> values_;
};

// The lowest underside, at each point of a line, of the balls resting on one line of
// centres whose depths at this line distance are `depths`: min over a of
// (centre[t - a] or centre[t + a]) - depths[a]. Branch-free over contiguous memory so
// that the compiler vectorises it; subtracting a constant is monotonic, so taking the
// minimum of the two centres first changes no result.
void LowestUnderside(const float* centres, std::span<const float> depths,
                     std::span<float> out) {
  const std::size_t width = out.size();
  auto nearer = [centres](std::size_t a, std::size_t t) {
    return std::min((centres - a)[t], (centres + a)[t]);
  };
  for (std::size_t t = 0; t < width; ++t) out[t] = centres[t] - depths[0];
  // Two distances per pass over the line halve its loads and stores.
  std::size_t a = 1;
  for (; a + 1 < depths.size(); a += 2) {
    const float near = depths[a], far = depths[a + 1];
    for (std::size_t t = 0; t < width; ++t) {
      out[t] = std::min(out[t], std::min(nearer(a, t) - near, nearer(a + 1, t) - far));
    }
  }
  if (a < depths.size()) {
    for (std::size_t t = 0; t < width; ++t) {
      out[t] = std::min(out[t], nearer(a, t) - depths[a]);
    }
  }
}

void Lower(std::span<float> envelope, std::span<const float> candidates) {
  for (std::size_t t = 0; t < envelope.size(); ++t) {
    envelope[t] = std::min(envelope[t], candidates[t]);
  }
}

}  // namespace

int ProbeRadiusCells(float probeSize, float pitch) {
  return TruncateToInt(double(probeSize / pitch) * 0.5);
}

void SetProbeRadius(TDataModule1& store) {
  store.ProbeRadius = store.ProbeSize * 0.5f;
  store.ProbeRadiusCells = ProbeRadiusCells(store.ProbeSize, store.ScanPitch);
}

// Works line by line: the balls of one line of raw points reach the lines dj above
// and below alike, so their lowest underside at each distance is computed once and
// lowers both. Every cell's envelope then holds the minimum of all contributions,
// which is what the step-by-step updates leave too: a cell is lowered, and marked,
// exactly when that minimum is below its height.
void CompensateProbe(TDataModule1& store, Host& host) {
  SetProbeRadius(store);
  const BallKernel kernel(store);
  if (kernel.Rows() == 0) return;  // the ball does not even reach its own point
  const int width = store.ScanMaxI + 1;
  const int lines = store.ScanMaxJ + 1;
  const int lineReach = kernel.Rows() - 1;
  CentreLine centres(width, kernel.PointReach());
  EnvelopeRing envelope(width, 2 * lineReach + 1);
  std::vector<float> underside(static_cast<std::size_t>(width));

  for (int j = 0; j < lines; ++j) {
    host.ProcessPendingMessages();
    centres.Load(store, j);
    for (int dj = 0; dj <= lineReach; ++dj) {
      const bool above = j + dj < lines;
      const bool below = dj > 0 && j - dj >= 0;
      if (!above && !below) continue;
      LowestUnderside(centres.data(), kernel.Row(dj), underside);
      if (above) Lower(envelope.Line(j + dj), underside);
      if (below) Lower(envelope.Line(j - dj), underside);
    }
    // No line after j reaches line j - lineReach.
    if (j >= lineReach) envelope.Flush(j - lineReach, store.BaseGrid);
    host.ProcessPendingMessages();
  }
  for (int t = std::max(lines - lineReach, 0); t < lines; ++t) envelope.Flush(t, store.BaseGrid);
}

}  // namespace vantora
