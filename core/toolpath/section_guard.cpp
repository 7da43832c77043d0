#include "core/toolpath/section_guard.h"

#include <algorithm>
#include <array>

#include "core/check/program_check.h"

namespace vantora {

SectionGuard::SectionGuard(const FacetTable& table, const TDataModule1& store, double standAngle)
    : tree_(table), frame_(WireFrameOf(store, standAngle)) {
  const double margin = store.WireDia + double(store.WireMarginCells) * store.Resolution;
  clearance_ = tree_.Reach() + margin;
  top_ = store.MaxZ + frame_.OffsetZ + margin;
}

ProgramReport SectionGuard::Check(const NcMotionList& motion) const {
  return CheckProgram(tree_, frame_, motion);
}

bool SectionGuard::KeepsOff(float angle, PathPoint from, PathPoint to) const {
  return vantora::KeepsOff(tree_, frame_, {from.X, from.Y, angle}, {to.X, to.Y, angle});
}

bool SectionGuard::Clear(AxisPosition from, AxisPosition to) const {
  return ReplayMove(tree_, frame_, from, to).Depth <= kReachTolerance;
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
  const double right = frame_.OffsetX + clearance_, left = frame_.OffsetX - clearance_;
  const std::array<AxisPosition, 2> outRight{{{right, end.Y, angle}, {right, endY, angle}}};
  const std::array<AxisPosition, 2> outLeft{{{left, end.Y, angle}, {left, endY, angle}}};
  const std::array<AxisPosition, 3> over{
      {{end.X, top_, angle}, {right, top_, angle}, {right, endY, angle}}};
  std::span<const AxisPosition> way = over;
  if (ClearWay(from, outRight)) {
    way = outRight;
  } else if (ClearWay(from, outLeft)) {
    way = outLeft;
  }
  for (const AxisPosition& p : way) path.push_back({float(p.X), float(p.Y)});
}

bool SectionGuard::Reaches(float angle, const std::vector<PathPoint>& path) const {
  for (std::size_t k = 1; k < path.size(); ++k) {
    if (!Clear({path[k - 1].X, path[k - 1].Y, angle}, {path[k].X, path[k].Y, angle})) return true;
  }
  return false;
}

void SectionGuard::Enter(NcWriter& writer, float angle, PathPoint first) {
  if (!last_) return;
  const AxisPosition from = *last_, to{first.X, first.Y, angle};
  if (Clear(from, to)) return;
  const auto outside = [&](double side) { return frame_.OffsetX + side * clearance_; };
  const double endSide = from.X >= frame_.OffsetX ? 1 : -1;
  const double startSide = to.X >= frame_.OffsetX ? 1 : -1;
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
  const auto clear = std::find_if(std::begin(ways), std::end(ways), clearWay);
  // Where no way is clear, the way round: the check reports it.
  for (const AxisPosition& p : clear != std::end(ways) ? *clear : ways[0]) {
    writer.WriteNcLine(float(p.X), float(p.Y), float(p.C));
  }
}

}  // namespace vantora
