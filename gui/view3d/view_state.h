#pragma once

#include <array>

namespace vantora {

// The six fixed viewing directions of the preset buttons, numbered as SetViewButtons
// numbers them.
enum class ViewPreset { Top = 1, Bottom, FromPlusY, FromMinusY, FromPlusX, FromMinusX };

// A box in view units.
struct ViewBox {
  std::array<float, 3> Lo, Hi;
};

// The distances from the eye of the perspective's near and far planes, in view units.
struct DepthRange {
  double Near = 3, Far = 7;
};

// Where a 3D view's camera stands: what ApplyViewTransform turns into the modelview
// matrix, and what the mouse and the view's buttons change. Nothing here touches the
// model. The starting values show the model from the front (-Y), +Z up, slightly right
// of and below the window's centre; turns and zoom go about the model's origin.
struct ViewState {
  float PanX = 0.2f;         // view translation in view units
  float PanY = -1.2f;
  double EyeDistance = 4.5;  // distance of the model origin in front of the eye
  float ViewAngleX = 90.0f;  // degrees: tilt about the screen X axis
  float ViewAngleY = 0.0f;   // turn about Y
  float ViewAngleZ = 0.0f;   // turn about Z
  float ZoomScale = 1.0f;
  int DownX = 0;             // client pixels of the last mouse press
  int DownY = 0;
  std::array<float, 3> Pivot{};  // view units: the point turns and zoom go about

  // Turns and zoom about the centre of `box`, shown at the window's centre with the eye
  // far enough back that the whole box shows at zoom 1 from any side.
  void FrameOn(const ViewBox& box);
  // Planes that keep all of `box` at the present zoom, from any side; only what the
  // eye has come too close to is cut off.
  DepthRange DepthFor(const ViewBox& box) const;

  // A drag from (DownX, DownY) released at (x, y): 0.006 view units per pixel across,
  // 0.0075 down the screen (dragging up moves the model up).
  void PanTo(int x, int y);
  // Steps of 0.3 made in double; zooming out never goes below 0.3 by subtraction but
  // snaps to 0.3 once at or under it.
  void ZoomIn();
  void ZoomOut();
  // Sets the three angles of `preset`, whatever they were; pan and zoom stay.
  void ShowFrom(ViewPreset preset);
  // Sets the three angles to show the model turned `turn` degrees about its Z
  // (anticlockwise from above) and seen from the front, `elevation` degrees above the
  // horizon; pan and zoom stay.
  void LookFrom(double turn, double elevation);
};

}  // namespace vantora
