#pragma once

#include <QWidget>
#include <memory>

#include "core/app/tool_path_commands.h"
#include "core/common/host.h"
#include "core/model/data_module.h"
#include "view3d/view_navigation.h"
#include "view3d/view_state.h"

class QLabel;
class QPushButton;

namespace vantora {

class GlView;

// What a program will cut ("Carved result"): the solid it leaves standing, each point in
// the colour of the material it leaves over the model (a scale from green to blue, its
// legend in mm beside it), translucent around the model in green, red where the program
// takes it; the "Model" button shows the solid alone, opaque. Over the floor grid; the camera
// controls of every 3D view on the left; the deviation figures below. The camera
// starts from the front left and above and turns about the solid's centre, every side
// showing the whole solid. The view keeps the carving it shows, in millimetres at the
// store's view scale, and compiles its lists with its first frame. Closing the window
// only hides it.
class CarvedView : public QWidget {
  Q_OBJECT

 public:
  CarvedView(Host& host, const TDataModule1& store, SweptCarving carving, QWidget* parent);
  ~CarvedView() override;

  // Shows the window with its frame's corner at `area`'s top left, at its designed size
  // or as much of it as `area` (screen coordinates) holds.
  void OpenIn(const QRect& area);

  ViewState View;
  std::unique_ptr<ViewNavigation> Navigation;
  QLabel* Figures;  // the deviation as the operator reads it
  QPushButton* ModelButton;  // checked: the model shows inside the solid

 private:
  QWidget* BuildButtonPanel();
  // The camera on the solid, and what the depth planes keep: the solid and the grid.
  void FrameSolid();
  void Paint();

  Host& host_;
  const TDataModule1& store_;
  SweptCarving carving_;
  double scaleTop_;  // mm at the top of the colour scale
  GlView* glView_;
  bool listsCompiled_ = false;
  ViewBox scene_{};
  QSize viewport_;  // device pixels
};

}  // namespace vantora
