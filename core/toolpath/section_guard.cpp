#include "core/toolpath/section_guard.h"

#include <algorithm>
#include <array>

#include "core/check/program_check.h"

namespace vantora {

SectionGuard::SectionGuard(const FacetTable& table, const TDataModule1& store, double standAngle,
                           const MachineProfile& machine)
    : tree_(table),
      frame_(WireFrameOf(store, standAngle)),
      machine_(machine) {
  const double margin = store.WireDia + double(store.WireMarginCells) * store.Resolution;
  clearance_ = tree_.Reach() + margin;
  top_ = store.MaxZ + frame_.OffsetZ + margin;
}

ProgramReport SectionGuard::Check(const NcMotionList& motion) const {
  return CheckProgram(tree_, frame_, motion, machine_);
}

namespace {

AxisPosition At(PathPoint p, float angle) { return {p.X, p.Y, angle}; }

// Appends the way back along `path` at `angle` from its last point to its first.
void AppendWayBackAlong(const std::vector<PathPoint>& path, float angle,
                        std::vector<AxisPosition>& way) {
  for (std::size_t k = path.size() - 1; k-- > 0;) way.push_back(At(path[k], angle));
}

}  // namespace

// Where a controller puts the axes for a position the writer writes.
AxisPosition SectionGuard::AsWritten(AxisPosition p) const {
  return {WrittenValue(float(p.X), machine_.Decimals), WrittenValue(float(p.Y), machine_.Decimals),
          WrittenValue(float(p.C), machine_.Decimals)};
}

bool SectionGuard::KeepsOff(float angle, PathPoint from, PathPoint to) const {
  return vantora::KeepsOff(tree_, frame_, AsWritten(At(from, angle)), AsWritten(At(to, angle)));
}

bool SectionGuard::Clear(AxisPosition from, AxisPosition to) const {
  return ReplayMove(tree_, frame_, AsWritten(from), AsWritten(to)).Depth <= kReachTolerance;
}

bool SectionGuard::ClearWay(AxisPosition from, std::span<const AxisPosition> way) const {
  for (const AxisPosition& to : way) {
    if (!Clear(from, to)) return false;
    from = to;
  }
  return true;
}

void SectionGuard::ComeDown(float angle, std::vector<PathPoint>& path, float endY) const {
  const PathPoint end = path.back();
  const AxisPosition from{end.X, end.Y, angle};
  const double right = clearance_, left = -clearance_;
  const std::array<AxisPosition, 2> outRight{{{right, end.Y, angle}, {right, endY, angle}}};
  const std::array<AxisPosition, 2> outLeft{{{left, end.Y, angle}, {left, endY, angle}}};
  const std::array<AxisPosition, 3> over{
      {{end.X, top_, angle}, {right, top_, angle}, {right, endY, angle}}};
  const std::span<const AxisPosition> ways[] = {outRight, outLeft, over};
  const auto clear = std::find_if(std::begin(ways), std::end(ways),
                                  [&](std::span<const AxisPosition> way) { return ClearWay(from, way); });
  std::vector<AxisPosition> back;
  if (clear == std::end(ways)) {
    AppendWayBackAlong(path, angle, back);
    back.push_back({left, path.front().Y, angle});
    back.push_back({left, endY, angle});
  }
  for (const AxisPosition& p : clear != std::end(ways) ? *clear : std::span<const AxisPosition>(back)) {
    path.push_back({float(p.X), float(p.Y)});
  }
}

bool SectionGuard::Reaches(float angle, const std::vector<PathPoint>& path) const {
  for (std::size_t k = 1; k < path.size(); ++k) {
    if (!Clear({path[k - 1].X, path[k - 1].Y, angle}, {path[k].X, path[k].Y, angle})) return true;
  }
  return false;
}

void SectionGuard::Leave(float angle, const std::vector<PathPoint>& path, bool forward) {
  lastAngle_ = angle;
  lastPath_.assign(path.begin(), path.end());
  lastForward_ = forward;
}

std::vector<AxisPosition> SectionGuard::WayBack(float angle, const std::vector<PathPoint>& path,
                                                bool forward) const {
  std::vector<AxisPosition> way;
  if (lastForward_) AppendWayBackAlong(lastPath_, *lastAngle_, way);
  const double out = -clearance_;  // the walks start on the left of their range
  way.push_back({out, lastPath_.front().Y, *lastAngle_});
  way.push_back({out, lastPath_.front().Y, angle});
  way.push_back({out, path.front().Y, angle});
  if (!forward) {
    for (const PathPoint& p : path) way.push_back(At(p, angle));
  }
  return way;
}

bool SectionGuard::AppendIndexed(AxisPosition from, AxisPosition to,
                                 std::vector<AxisPosition>& out) const {
  const bool turns = float(from.C) != float(to.C);
  const bool moves = float(from.X) != float(to.X) || float(from.Y) != float(to.Y);
  if (turns && moves) {
    const AxisPosition turnFirst{from.X, from.Y, to.C}, moveFirst{to.X, to.Y, from.C};
    const bool turnFirstClear = Clear(from, turnFirst) && Clear(turnFirst, to);
    if (!turnFirstClear && !(Clear(from, moveFirst) && Clear(moveFirst, to))) return false;
    out.push_back(turnFirstClear ? turnFirst : moveFirst);
  } else if (!Clear(from, to)) {
    return false;
  }
  out.push_back(to);
  return true;
}

std::vector<AxisPosition> SectionGuard::IndexedWay(
    AxisPosition from, AxisPosition to,
    std::span<const std::span<const AxisPosition>> ways) const {
  std::vector<AxisPosition> out;
  for (std::span<const AxisPosition> way : ways) {
    out.clear();
    AxisPosition at = from;
    bool clear = true;
    for (const AxisPosition& p : way) {
      clear = clear && AppendIndexed(at, p, out);
      at = p;
    }
    if (clear && AppendIndexed(at, to, out)) return out;
  }
  out.clear();
  return out;
}

void SectionGuard::Enter(NcWriter& writer, float angle, const std::vector<PathPoint>& path,
                         bool forward) {
  if (!lastAngle_) return;
  const PathPoint last = lastForward_ ? lastPath_.back() : lastPath_.front();
  const AxisPosition from = At(last, *lastAngle_);
  const AxisPosition to = At(forward ? path.front() : path.back(), angle);
  const auto outside = [&](double side) { return side * clearance_; };
  const double endSide = from.X >= 0 ? 1 : -1;
  const double startSide = to.X >= 0 ? 1 : -1;
  // Out on the side where the section ended, turn, and back in.
  const std::array<AxisPosition, 2> around{
      {{outside(endSide), from.Y, from.C}, {outside(endSide), from.Y, to.C}}};
  // Up from the end, across above the model while turning, and down to the start.
  const std::array<AxisPosition, 2> over{{{from.X, top_, from.C}, {to.X, top_, to.C}}};
  // Out and turn as around, up beyond every silhouette, over the model, down on one
  // side of it and in along the start's height, the start's own side first: for a
  // model that overhangs the start or stands in the way back in.
  const auto roundEverything = [&](double side) {
    return std::array<AxisPosition, 5>{{around[0],
                                        around[1],
                                        {around[1].X, top_, to.C},
                                        {outside(side), top_, to.C},
                                        {outside(side), to.Y, to.C}}};
  };
  const auto roundToTheStart = roundEverything(startSide);
  const auto roundToTheOtherSide = roundEverything(-startSide);
  const auto clearWay = [&](std::span<const AxisPosition> way) {
    return ClearWay(from, way) && Clear(way.back(), to);
  };
  const std::span<const AxisPosition> ways[] = {around, over, roundToTheStart,
                                                 roundToTheOtherSide};
  std::vector<AxisPosition> way;
  if (machine_.Turn == TableTurn::Indexed) {
    const std::span<const AxisPosition> indexedWays[] = {{}, around, over, roundToTheStart,
                                                         roundToTheOtherSide};
    way = IndexedWay(from, to, indexedWays);
  }
  if (way.empty() && !Clear(from, to)) {
    const auto clear = std::find_if(std::begin(ways), std::end(ways), clearWay);
    // Where no way is clear, the way back: clear wherever the sections' own paths are,
    // and the check reports where it is not.
    if (clear != std::end(ways)) {
      way.assign(clear->begin(), clear->end());
    } else {
      way = WayBack(angle, path, forward);
    }
  }
  for (const AxisPosition& p : way) writer.WriteNcLine(float(p.X), float(p.Y), float(p.C));
}

}  // namespace vantora
