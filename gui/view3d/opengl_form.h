#pragma once

#include <QWidget>
#include <memory>

#include "core/common/host.h"
#include "core/model/facet_table.h"
#include "view3d/gl_scene.h"
#include "view3d/model_view_host.h"
#include "view3d/view_navigation.h"
#include "view3d/view_state.h"

class QFrame;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

namespace vantora {

class GlView;

// A 3D view ("3D"): the model of its facet table as lit, smooth-shaded triangles over
// the floor grid, the camera moved by mouse drags and the buttons of the left panel,
// and the rotation controls that turn the model itself. The drawing area covers the
// whole client area; the button panel and the progress panel lie over it. Closing
// the window only hides it. Controls are public and named as in the form
// description; handlers keep the framework's names.
class TOpenGL_Form : public QWidget {
  Q_OBJECT

 public:
  // Builds the window and runs FormCreate, which places it in `owner`'s view area.
  // The owner's model store must exist. `parent` (the main window for model views,
  // none for start-up's hidden view) deletes the view.
  TOpenGL_Form(Host& host, ModelViewHost& owner, QWidget* parent = nullptr);
  ~TOpenGL_Form() override;

  FacetTable Table;  // the view's triangles
  ViewState View;    // the camera
  SceneLists Lists;  // GridList, ModelList, SecondList

  QFrame* Panel1;
  QToolButton* InSetButton;
  std::unique_ptr<ViewNavigation> Navigation;  // zoom, view-from buttons, panning
  QFrame* Panel3;
  QToolButton* RoteXButton;
  QToolButton* RoteYButton;
  QToolButton* RoteZButton;
  QLineEdit* MoveDegEdit;
  QFrame* Panel2;
  QLabel* FaceLabel;
  QTimer* Timer1;  // refreshes FaceLabel while an STL file is read

  // Asks for one frame; the frame itself is FormPaint.
  void DrawScene();
  // Recompiles the grid and the facets not compiled yet (see SceneLists) and shows
  // the dimensions a transform on the way gives.
  void BuildModelList();
  // An STL model has been read into the table: the view shows it with its rotation
  // controls, no progress and no insert (a further STL file is not inserted).
  void ShowStlModel();

  void FormCreate();
  void FormResize(int width, int height);
  // Draws one frame (PaintFrame): compiles the lists asked for, then replays them.
  void FormPaint();
  void RoteXYZButtonClick(QObject* sender);
  // Asks how a further file is to be placed ("Import File"), then runs the main
  // window's open-file flow, however the dialog was closed.
  void InSetButtonClick();
  void Timer1Timer();

 private:
  void BuildButtonPanel();
  void BuildRotationPanel();
  void BuildProgressPanel();
  void BindHandlers();
  TDataModule1& Store() const;

  Host& host_;
  ModelViewHost& owner_;
  GlView* glView_;
};

}  // namespace vantora
