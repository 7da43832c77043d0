#pragma once

#include <QDialog>

#include "core/common/host.h"
#include "core/model/data_module.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vantora {

// "Import File": how a further scan is placed against the model already in the view,
// mirrored in Z or turned about X or Y by the entered angle. The choice buttons
// write `choice`'s flags at once (at most one set); OK takes the angle and closes. Closing any other way leaves the angle and the flags as they are.
class TForm3 : public QDialog {
  Q_OBJECT

 public:
  TForm3(Host& host, ModelTurnRequest& choice, QWidget* owner);

  QToolButton* ZMirrorButton;
  QToolButton* RoteXButton;
  QToolButton* RoteYButton;
  QLabel* Label2;
  QLineEdit* DegEdit;
  QFrame* Panel1;
  QPushButton* OKButton;

  void ZMirrorButtonClick();
  void RoteXButtonClick();
  void RoteYButtonClick();
  // A DegEdit text that is no number ends the click; the dialog stays open.
  void OKButtonClick();

 private:
  void Choose(bool mirrorZ, bool rotateX, bool rotateY);
  void ShowAngle();

  ModelTurnRequest& choice_;
};

}  // namespace vantora
