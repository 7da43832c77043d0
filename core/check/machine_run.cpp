#include "core/check/machine_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vantora {
namespace {

constexpr double kUnlimited = std::numeric_limits<double>::infinity();

// One move's travel on each axis (mm, mm, degrees), beside the axis's limits.
struct AxisTravel {
  double Distance;
  const AxisLimits& Limits;
};

// The time (s) to cover a move from rest to rest, the move's progress running from 0
// to 1: cruising at `speed` and speeding up and braking at `accel` (both per second);
// a move too short to reach its cruise is a triangle of the two.
double RestToRestSeconds(double speed, double accel) {
  if (speed * speed >= accel) return 2 / std::sqrt(accel);
  return 1 / speed + speed / accel;
}

// The cruise the line asks for, as progress per second; unlimited for a rapid.
double AskedSpeed(const NcMotion& to, double planeLength, double turn) {
  if (to.Rapid) return kUnlimited;
  if (to.InverseTime) return to.Feed / 60;
  const double length = planeLength > 0 ? planeLength : turn;
  return to.Feed / 60 / length;
}

double MoveSeconds(const NcMotion& from, const NcMotion& to, const MachineProfile& machine) {
  const std::array<AxisTravel, 3> axes{{{std::abs(to.X - from.X), machine.X},
                                        {std::abs(to.Y - from.Y), machine.Y},
                                        {std::abs(to.C - from.C), machine.C}}};
  if (axes[0].Distance == 0 && axes[1].Distance == 0 && axes[2].Distance == 0) return 0;
  if (!to.Rapid && !(to.Feed > 0)) return 0;  // the reader refuses a feed move without a feed
  double speed = AskedSpeed(to, std::hypot(axes[0].Distance, axes[1].Distance), axes[2].Distance);
  double accel = kUnlimited;
  for (const AxisTravel& a : axes) {
    if (a.Distance == 0) continue;
    speed = std::min(speed, a.Limits.Rate / 60 / a.Distance);
    accel = std::min(accel, a.Limits.Acceleration / a.Distance);
  }
  return RestToRestSeconds(speed, accel);
}

// A line that moves the axis to `value` beyond its travel; one that leaves it where the
// line before took it is not named again.
void AddBeyond(std::vector<OutOfTravel>& beyond, int line, char axis, double value,
               std::optional<double> before, const AxisLimits& limits) {
  if (before == value) return;
  if ((limits.Min && value < *limits.Min) || (limits.Max && value > *limits.Max)) {
    beyond.push_back({line, axis, value});
  }
}

}  // namespace

double MachineSeconds(const NcMotionList& motion, const MachineProfile& machine) {
  const std::vector<NcMotion>& moves = motion.Motions;
  double seconds = motion.DwellSeconds;
  for (std::size_t k = 1; k < moves.size(); ++k) {
    seconds += MoveSeconds(moves[k - 1], moves[k], machine);
  }
  return seconds;
}

std::vector<OutOfTravel> LinesBeyondTravel(const NcMotionList& motion,
                                           const MachineProfile& machine) {
  std::vector<OutOfTravel> beyond;
  const NcMotion* before = nullptr;
  for (const NcMotion& m : motion.Motions) {
    const auto was = [&](double NcMotion::*axis) {
      return before ? std::optional<double>(before->*axis) : std::nullopt;
    };
    AddBeyond(beyond, m.Line, 'X', m.X, was(&NcMotion::X), machine.X);
    AddBeyond(beyond, m.Line, 'Y', m.Y, was(&NcMotion::Y), machine.Y);
    AddBeyond(beyond, m.Line, 'C', m.C, was(&NcMotion::C), machine.C);
    before = &m;
  }
  return beyond;
}

}  // namespace vantora
