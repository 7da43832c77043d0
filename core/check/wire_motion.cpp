#include "core/check/wire_motion.h"

#include <algorithm>
#include <cmath>

namespace vantora {
namespace {

// Contact shallower than this may fall between the steps of a turning move.
constexpr double kStepTolerance = 0.005;
// Where the wire's axis lies inside, its depth is sampled this often along the move.
constexpr double kDepthSampling = 0.05;

class MoveReplay {
 public:
  MoveReplay(const SilhouetteTree& tree, const WireFrame& frame, AxisPosition from,
             AxisPosition to, double maxSteps)
      : tree_(tree),
        frame_(frame),
        from_(from),
        to_(to),
        radius_(frame.WireDia / 2),
        maxSteps_(std::max(1.0, maxSteps)) {}

  WireContact Run() {
    if (to_.C == from_.C) {
      RunStraight(std::hypot(to_.X - from_.X, to_.Y - from_.Y));
    } else {
      RunTurning(MoveTravel(tree_, from_, to_));
    }
    return contact_;
  }

  // Whether a move at one rotary position keeps off the model.
  bool StraightKeepsOff() const { return StraightDistance() >= radius_; }

 private:
  PlanePoint WireAt(double t) const {
    return {from_.X + t * (to_.X - from_.X),
            from_.Y + t * (to_.Y - from_.Y) - frame_.OffsetZ};
  }
  double AngleAt(double t) const { return from_.C + t * (to_.C - from_.C); }
  SilhouetteTree::Turn TurnAt(double t) const {
    return SilhouetteTree::TurnOf((AngleAt(t) - frame_.StandAngle) * kTableDegreesToRadians);
  }

  void Record(double depth, bool axisInside, double t) {
    contact_.AxisInside = contact_.AxisInside || axisInside;
    if (depth > contact_.Depth) {
      contact_.Depth = depth;
      contact_.Angle = AngleAt(t);
    }
  }

  // The depth at t once the distance there is known to be below the radius.
  void RecordAt(double t, double distance) {
    if (distance > 0) return Record(radius_ - distance, false, t);
    Record(radius_ + tree_.DepthInside(TurnAt(t), WireAt(t)), true, t);
  }

  // The distance of a move at one rotary position from the model, up to the radius.
  double StraightDistance() const {
    return tree_.DistanceToSegment(TurnAt(0), WireAt(0), WireAt(1), radius_);
  }

  void RunStraight(double length) {
    const double distance = StraightDistance();
    if (distance >= radius_) return;
    if (distance > 0) return Record(radius_ - distance, false, 0);
    const auto turn = TurnAt(0);
    const int samples = int(std::min(std::ceil(length / kDepthSampling), maxSteps_));
    for (int k = 0; k <= samples; ++k) {
      const double t = samples == 0 ? 0 : double(k) / samples;
      RecordAt(t, tree_.DistanceToPoint(turn, WireAt(t), radius_));
    }
  }

  // Conservative advancement: no model point moves relative to the wire faster than
  // `speed` mm per unit of t, so a distance f at t holds above the radius up to
  // t + (f - radius) / speed.
  void RunTurning(double speed) {
    const double cap = radius_ + speed + kStepTolerance;
    for (double t = 0;;) {
      const double distance = tree_.DistanceToPoint(TurnAt(t), WireAt(t), cap);
      if (distance < radius_) RecordAt(t, distance);
      if (t >= 1) return;
      const double clear = distance < radius_ ? kDepthSampling : distance - radius_;
      t = std::min(1.0, t + std::max({clear, kStepTolerance, speed / maxSteps_}) / speed);
    }
  }

  const SilhouetteTree& tree_;
  const WireFrame& frame_;
  AxisPosition from_, to_;
  double radius_;
  double maxSteps_;
  WireContact contact_;
};

}  // namespace

double MoveTravel(const SilhouetteTree& tree, AxisPosition from, AxisPosition to) {
  return std::hypot(to.X - from.X, to.Y - from.Y) +
         tree.Reach() * std::abs(to.C - from.C) * kTableDegreesToRadians;
}

WireContact ReplayMove(const SilhouetteTree& tree, const WireFrame& frame, AxisPosition from,
                       AxisPosition to, double maxSteps) {
  return MoveReplay(tree, frame, from, to, maxSteps).Run();
}

bool KeepsOff(const SilhouetteTree& tree, const WireFrame& frame, AxisPosition from,
              AxisPosition to) {
  return MoveReplay(tree, frame, from, to, 1).StraightKeepsOff();
}

}  // namespace vantora
