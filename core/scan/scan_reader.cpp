#include "core/scan/scan_reader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/common/number_text.h"
#include "core/common/shown_text.h"
#include "core/scan/probe_compensation.h"

namespace vantora {
namespace {

std::string Quoted(std::string_view field) { return "\"" + ShownText(field) + "\""; }

// A field converted as atof does and kept as f32; nothing when it is not finite as
// f32 (NaN, infinite, or beyond the float range).
std::optional<float> FieldValue(std::string_view field) {
  const double value = AtofText(field);
  if (!(std::fabs(value) <= double(FLT_MAX))) return std::nullopt;
  return float(value);
}

// Reads a scan file line by line into ScanFile, with the repairs that keep all lines
// of one width.
class ScanParser {
 public:
  explicit ScanParser(ScanFile& scan) : scan_(scan) {}

  Status TakeLine(std::string_view line, int number) {
    const std::string_view data = line.substr(0, line.find('P'));
    std::vector<float> heights;
    heights.reserve(std::size_t(reference_));
    int fields = 0;
    for (std::size_t start = 0, comma; (comma = data.find(',', start)) != data.npos;
         start = comma + 1) {
      ++fields;
      const std::string_view field = data.substr(start, comma - start);
      Status s = pitchPending_ ? TakePitch(field, number) : TakeHeight(field, number, heights);
      if (!s) return s;
    }
    if (fields == 0) return Status::Ok();
    if (scan_.Lines.size() == std::size_t(PointGrid::Limit)) {
      return Status::Error(ErrorCode::CapacityExceeded,
                           "it holds more than " + std::to_string(PointGrid::Limit) +
                               " lines of points, more than a scan can have.");
    }
    Repair(heights);
    scan_.Lines.push_back(std::move(heights));
    return Status::Ok();
  }

  Status Finish() const {
    if (pitchPending_) {
      return Status::Error(ErrorCode::Empty, "it holds no comma-closed field, so no pitch.");
    }
    if (scan_.Width() == 0) return Status::Error(ErrorCode::Empty, "it holds no height.");
    // The placement multiplies the pitch by the point counts in f32.
    const int steps = std::max(scan_.Width(), int(scan_.Lines.size())) - 1;
    if (!std::isfinite(float(steps) * scan_.Pitch)) {
      return Status::Error(ErrorCode::InvalidValue, "its pitch is too large for " +
                                                        std::to_string(steps + 1) + " points.");
    }
    return Status::Ok();
  }

 private:
  static std::string Where(int number) { return "line " + std::to_string(number) + ": "; }

  // The pitch divides the probe size and places the points: it must be a positive
  // number whose value in millimetres is not rounded away to 0.
  Status TakePitch(std::string_view field, int number) {
    const std::optional<float> pitch = FieldValue(field);
    if (!pitch || !(0.001f * *pitch > 0)) {
      return Status::Error(pitch ? ErrorCode::InvalidValue : ErrorCode::NonFinite,
                           Where(number) + "the pitch " + Quoted(field) +
                               " is not a positive number.");
    }
    scan_.Pitch = *pitch;
    pitchPending_ = false;
    return Status::Ok();
  }

  Status TakeHeight(std::string_view field, int number, std::vector<float>& heights) {
    if (!field.empty()) {
      const std::optional<float> height = FieldValue(field);
      if (!height) {
        return Status::Error(ErrorCode::NonFinite, Where(number) + "the height " +
                                                       Quoted(field) + " is not a number.");
      }
      lastHeight_ = *height;
    }
    if (heights.size() == std::size_t(PointGrid::Limit)) {
      return Status::Error(ErrorCode::CapacityExceeded,
                           Where(number) + "more than " + std::to_string(PointGrid::Limit) +
                               " points on one line, more than a scan can have.");
    }
    heights.push_back(lastHeight_);
    scan_.LargestHeight = std::max(scan_.LargestHeight, lastHeight_);
    return Status::Ok();
  }

  // Brings `line` and the lines before it to one width; the first line sets it.
  void Repair(std::vector<float>& line) {
    auto& lines = scan_.Lines;
    const int count = int(line.size());
    if (lines.empty()) {
      reference_ = count;
    } else if (count < reference_) {
      // The line's last point and the missing ones come from the line before.
      const int from = count - 1;
      line.resize(std::size_t(reference_));
      std::copy(lines.back().begin() + from, lines.back().end(), line.begin() + from);
      scan_.RepairedPoints += reference_ - from;
    } else if (count > reference_) {
      // The line before takes this line's points from its own last one on (from the
      // first when the first line held the pitch alone); every earlier line copies
      // its missing points from the line after it.
      const int from = std::max(reference_ - 1, 0);
      lines.back().resize(std::size_t(count));
      std::copy(line.begin() + from, line.end(), lines.back().begin() + from);
      scan_.RepairedPoints += count - from;
      for (std::size_t k = lines.size() - 1; k-- > 0;) {
        lines[k].resize(std::size_t(count));
        std::copy(lines[k + 1].begin() + reference_, lines[k + 1].end(),
                  lines[k].begin() + reference_);
        scan_.RepairedPoints += count - reference_;
      }
      reference_ = count;
    }
  }

  ScanFile& scan_;
  bool pitchPending_ = true;
  float lastHeight_ = 0;
  int reference_ = 0;
};

// Where a parsed scan lies, computed in f32 left to right: the grid limits, minus half
// the extents, the pitch in millimetres, the extents and the top height.
struct ScanLayout {
  explicit ScanLayout(const ScanFile& scan)
      : maxI(scan.Width() - 1),
        maxJ(int(scan.Lines.size()) - 1),
        halfX((-0.0005f * float(maxI)) * scan.Pitch),
        halfY((-0.0005f * float(maxJ)) * scan.Pitch),
        pitch(0.001f * scan.Pitch),
        width((float(maxI) * scan.Pitch) * 0.001f),
        height((float(maxJ) * scan.Pitch) * 0.001f),
        top(0.001f * scan.LargestHeight) {}

  int maxI, maxJ;
  float halfX, halfY, pitch, width, height, top;
};

// The compensation puts the ball's centre at z + r in f32: a ball of metres loses the
// heights' micrometres there, and a larger one flattens the whole scan onto the
// platform. Real probe balls measure millimetres.
constexpr float kMaxTouchPointSize = 1000.0f;

Status CheckTouchPointSize(float size) {
  if (size >= 0 && size <= kMaxTouchPointSize) return Status::Ok();
  return Status::Error(ErrorCode::InvalidValue,
                       "the touch-point size " + FloatToText(size) +
                           " mm cannot be used: it must be from 0 to " +
                           FloatToText(kMaxTouchPointSize) + " mm.");
}

// Compensation visits the neighbours within the ball's reach of every point, so a
// ball spanning very many grid steps of a large scan would keep it busy for hours.
// The bound lets a 2000 x 2000 scan have a reach of 200 steps (half a minute here).
constexpr double kMaxCompensationSteps = 2e11;

Status CheckCompensationWork(const ScanLayout& l, float touchPointSize) {
  const int reach = ProbeRadiusCells(touchPointSize, l.pitch);
  const double steps = (l.maxI + 1.0) * (l.maxJ + 1.0) * (std::min(reach, l.maxI) + 1.0) *
                       (std::min(reach, l.maxJ) + 1.0);
  if (steps <= kMaxCompensationSteps) return Status::Ok();
  return Status::Error(ErrorCode::InvalidValue,
                       "the probe ball of " + FloatToText(touchPointSize) + " mm reaches " +
                           std::to_string(reach) + " points to each side at this pitch, too "
                           "many for a scan of " + std::to_string(l.maxI + 1) + " x " +
                           std::to_string(l.maxJ + 1) +
                           " points: check the pitch and the touch-point size.");
}

// The faces of a scan added to a view are divided by the view's ViewDistance, which
// the first model set: a model of no size (a single point on the platform) leaves it
// at 0, and a first model very much smaller than this scan leaves it too small for
// the scan's points to stay finite in view units.
Status CheckViewScale(const ScanLayout& l, float viewDistance) {
  if (viewDistance == 0) {
    return Status::Error(ErrorCode::InvalidValue,
                         "the model in the view has no size (a single point on the "
                         "platform), so no scan can be added to it.");
  }
  const float reach = std::max({-l.halfX, -l.halfY, l.top});
  if (std::isfinite(reach / viewDistance)) return Status::Ok();
  return Status::Error(ErrorCode::InvalidValue,
                       "it is too large to be added at the scale of the model in the view.");
}

// The coordinates of the points along one axis: a position that grows by the pitch in
// f32 steps from 0, shifted by minus half the extent; within 0.00001 of 0 it is 0.
std::vector<float> AxisCoordinates(int count, float pitch, float half) {
  std::vector<float> coordinates(static_cast<std::size_t>(count));
  float position = 0.0f;
  for (float& c : coordinates) {
    c = position + half;
    if (double(c) > -0.00001 && double(c) < 0.00001) c = 0.0f;
    position += pitch;
  }
  return coordinates;
}

// Every point of the grid is placed. (A running bound y <= H + p on the rows, and the
// same on the points, could only stop the placement early through rounding and leave
// cells with raw heights; trials over a wide range of pitches never saw it happen.)
void PlaceScan(const ScanFile& scan, const ScanLayout& l, TDataModule1& s, bool startsNewView) {
  const std::vector<float> xs = AxisCoordinates(l.maxI + 1, l.pitch, l.halfX);
  const std::vector<float> ys = AxisCoordinates(l.maxJ + 1, l.pitch, l.halfY);
  for (int j = 0; j <= l.maxJ; ++j) {
    const std::vector<float>& raw = scan.Lines[std::size_t(j)];
    for (int i = 0; i <= l.maxI; ++i) {
      const ScanCells cells = EnsureCell(s, i, j);
      cells.scan.X = cells.base.X = xs[std::size_t(i)];
      cells.scan.Y = cells.base.Y = ys[std::size_t(j)];
      cells.scan.Z = 0.001f * raw[std::size_t(i)];
      cells.base.Z = l.top;
    }
  }
  s.MaxX = -l.halfX;
  s.MinX = l.halfX;
  s.MaxY = -l.halfY;
  s.MinY = l.halfY;
  s.MinZ = 0.0;
  s.MaxZ = l.top;
  s.ScanPitch = l.pitch;
  s.ModelSize = std::max({l.width, l.height, l.top});
  if (startsNewView) s.ViewDistance = 0.38f * s.ModelSize;
  s.ScanMaxI = l.maxI;
  s.ScanMaxJ = l.maxJ;
}

int Percent(std::size_t part, std::size_t whole) {
  return int(std::uint64_t(part) * 100 / std::uint64_t(whole));
}

}  // namespace

Status ParseScanFile(std::string_view text, Host& host, ScanFile& scan) {
  scan = ScanFile{};
  ScanParser parser(scan);
  std::size_t position = 0;
  int shownPercent = -1;
  for (int number = 1; position < text.size(); ++number) {
    const std::size_t end = std::min(text.find('\n', position), text.size());
    const std::string_view line = text.substr(position, end - position);
    position = std::min(end + 1, text.size());
    if (const int percent = Percent(position, text.size()); percent != shownPercent) {
      host.ReportProgress(shownPercent = percent, 100);
    }
    host.ProcessPendingMessages();
    if (Status s = parser.TakeLine(line, number); !s) return s;
  }
  return parser.Finish();
}

ScanCells EnsureCell(TDataModule1& store, int i, int j) {
  const bool inEarlierGrid = i <= store.ScanMaxI && j <= store.ScanMaxJ &&
                             store.ScanMaxI != 0 && store.ScanMaxJ != 0;
  GridCell* scan = inEarlierGrid ? store.ScanGrid.Find(i, j) : nullptr;
  GridCell* base = inEarlierGrid ? store.BaseGrid.Find(i, j) : nullptr;
  return {scan != nullptr ? *scan : store.ScanGrid.Create(i, j),
          base != nullptr ? *base : store.BaseGrid.Create(i, j)};
}

ScanReadResult ReadScanFile(std::string_view text, TDataModule1& store, float touchPointSize,
                            bool startsNewView, Host& host) {
  ScanFile scan;
  ScanReadResult result{ParseScanFile(text, host, scan)};
  if (!result.status) return result;
  const ScanLayout layout(scan);
  result.status = CheckTouchPointSize(touchPointSize);
  if (result.status) result.status = CheckCompensationWork(layout, touchPointSize);
  if (result.status && !startsNewView) result.status = CheckViewScale(layout, store.ViewDistance);
  if (!result.status) return result;
  PlaceScan(scan, layout, store, startsNewView);
  result.repairedPoints = scan.RepairedPoints;
  store.ProbeSize = touchPointSize;
  store.ScanTopZ = float(store.MaxZ);
  CompensateProbe(store, host);
  return result;
}

}  // namespace vantora
