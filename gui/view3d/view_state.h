#pragma once

namespace vantora {

// The six fixed viewing directions of the preset buttons, numbered as SetViewButtons
// numbers them.
enum class ViewPreset { Top = 1, Bottom, FromPlusY, FromMinusY, FromPlusX, FromMinusX };

// Where a 3D view's camera stands: what ApplyViewTransform turns into the modelview
// matrix, and what the mouse and the view's buttons change. Nothing here touches the
// model. The starting values show the model from the front (-Y), +Z up, slightly right
// of and below the window's centre.
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

  // A drag from (DownX, DownY) released at (x, y): 0.006 view units per pixel across,
  // 0.0075 down the screen (dragging up moves the model up).
  void PanTo(int x, int y);
  // Steps of 0.3 made in double; zooming out never goes below 0.3 by subtraction but
  // snaps to 0.3 once at or under it.
  void ZoomIn();
  void ZoomOut();
  // Sets the three angles of `preset`, whatever they were; pan and zoom stay.
  void ShowFrom(ViewPreset preset);
};

}  // namespace vantora
