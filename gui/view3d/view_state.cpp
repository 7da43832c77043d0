#include "view3d/view_state.h"

namespace vantora {
namespace {

constexpr double kZoomStep = 0.3;

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

}  // namespace

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
