#include "view3d/view_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantora {
namespace {

constexpr double kZoomStep = 0.3;
// A sphere of radius r fills the 60 degree field of view from 2r away; a little more
// leaves a margin round it.
constexpr double kFramingDistancePerRadius = 2.1;
// The near plane never comes closer than this share of the eye's distance: the depth
// buffer's resolution goes with the ratio of the planes.
constexpr double kClosestNearPlane = 0.05;

struct PresetAngles {
  float Z, X, Y;
};

constexpr PresetAngles kPresetAngles[] = {
    {0, 0, 0},      // Top: from +Z, +Y up
    {0, 0, 180},    // Bottom: from -Z, +Y up
    {0, -90, 180},  // from +Y, +Z up
    {0, 90, 0},     // from -Y, +Z up
    {90, 0, -90},   // from +X, +Z up
    {-90, 0, 90},   // from -X, +Z up
};

// The distance from `from` of the box's farthest corner.
double FarthestCorner(const ViewBox& box, const std::array<float, 3>& from) {
  double sum = 0;
  for (int axis = 0; axis < 3; ++axis) {
    const double reach = std::max(std::abs(double(box.Lo[axis]) - from[axis]),
                                  std::abs(double(box.Hi[axis]) - from[axis]));
    sum += reach * reach;
  }
  return std::sqrt(sum);
}

}  // namespace

void ViewState::FrameOn(const ViewBox& box) {
  for (int axis = 0; axis < 3; ++axis) Pivot[axis] = (box.Lo[axis] + box.Hi[axis]) / 2;
  PanX = PanY = 0;
  EyeDistance = kFramingDistancePerRadius * FarthestCorner(box, Pivot);
}

DepthRange ViewState::DepthFor(const ViewBox& box) const {
  const double reach = FarthestCorner(box, Pivot) * ZoomScale;
  return {std::max(EyeDistance - reach, kClosestNearPlane * EyeDistance), EyeDistance + reach};
}

void ViewState::LookFrom(double turn, double elevation) {
  // The turn, then the tilt about the screen's X that lifts the eye from the front to
  // `elevation`: Rx(t) Rz(a), written as ApplyViewTransform's angles,
  // Rz(-ViewAngleZ) Rx(-ViewAngleX) Ry(ViewAngleY), from its third row and second column.
  const double a = turn * std::numbers::pi / 180;
  const double t = (elevation - 90) * std::numbers::pi / 180;
  const double degrees = 180 / std::numbers::pi;
  ViewAngleX = float(-std::asin(std::sin(t) * std::cos(a)) * degrees);
  ViewAngleY = float(std::atan2(-std::sin(t) * std::sin(a), std::cos(t)) * degrees);
  ViewAngleZ = float(-std::atan2(std::sin(a), std::cos(t) * std::cos(a)) * degrees);
}

void ViewState::PanTo(int x, int y) {
  PanX = float(PanX + (x - DownX) * 0.001 * 6.0);
  PanY = float(PanY + (DownY - y) * 0.00125 * 6.0);
}

void ViewState::ZoomIn() { ZoomScale = float(ZoomScale + kZoomStep); }

void ViewState::ZoomOut() {
  // The test is made in double: the f32 0.3 lies just above the double 0.3, so from
  // 0.3 one more step gives about 1.2e-8 and the next snaps back to 0.3.
  ZoomScale = ZoomScale > kZoomStep ? float(ZoomScale - kZoomStep) : float(kZoomStep);
}

void ViewState::ShowFrom(ViewPreset preset) {
  const PresetAngles& a = kPresetAngles[int(preset) - 1];
  ViewAngleZ = a.Z;
  ViewAngleX = a.X;
  ViewAngleY = a.Y;
}

}  // namespace vantora
