#pragma once

#include <QToolButton>
#include <array>
#include <functional>

#include "core/common/host.h"
#include "view3d/view_state.h"

class QGridLayout;
class QWidget;

namespace vantora {

// The camera controls every 3D view has: the zoom buttons and the six view-from buttons,
// in a grid for the view's button panel, and the mouse drag that pans. Each moves the
// view's camera and asks for a frame. Buttons are public and named as in the form
// description; handlers keep the framework's names.
class ViewNavigation {
 public:
  // Makes the buttons in `panel`; `drawingArea` shows the drag's cursor and `redraw`
  // asks the view for a frame. The camera starts from -Y, so that button is disabled.
  ViewNavigation(Host& host, QWidget* panel, ViewState& view, QWidget& drawingArea,
                 std::function<void()> redraw);

  QGridLayout* Buttons;  // for the panel's layout
  QToolButton* ZoomInButtom;
  QToolButton* ZoomOutButton;
  QToolButton* TopButton;
  QToolButton* ButtomButton;
  QToolButton* YAddButton;
  QToolButton* YLessButton;
  QToolButton* XAddButton;
  QToolButton* XLessButton;

  void ZoomInButtomClick(QObject* sender);
  void RoteButton(QObject* sender);
  // Disables the preset button numbered `pressed` (1 to 6), the one in force.
  void SetViewButtons(int pressed);
  // The drawing area's mouse press and release: a drag pans when the button is released.
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);

 private:
  // The preset buttons in the order of their numbers, 1 to 6.
  std::array<QToolButton*, 6> PresetButtons() const;

  ViewState& view_;
  QWidget& drawingArea_;
  std::function<void()> redraw_;
};

}  // namespace vantora
