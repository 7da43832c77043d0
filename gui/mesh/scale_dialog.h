#pragma once

#include <QDialog>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/model/data_module.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantora {

// The scale of an STL save: one row per axis, "X 1:" rate "=" resulting size. The
// sizes come from the store's bounds when the dialog shows and follow each rate as it
// is typed; OK stores the three rates in the session, in order. Closing the dialog
// any other way keeps the rates of the last save.
class TForm2 : public QDialog {
  Q_OBJECT

 public:
  TForm2(Host& host, const TDataModule1& store, Session& session, QWidget* owner);

  // The model's extents, as f32, taken when the dialog shows.
  float SizeX = 0, SizeY = 0, SizeZ = 0;

  QLineEdit* XRateEdit;
  QLineEdit* YRateEdit;
  QLineEdit* ZRateEdit;
  QLineEdit* XEdit;
  QLineEdit* YEdit;
  QLineEdit* ZEdit;
  QFrame* Panel1;
  QPushButton* OKButtom;

  void FormShow();
  void XRateEditChange();
  void YRateEditChange();
  void ZRateEditChange();
  // A rate that is no number ends the click with the rates before it stored.
  void OKButtomClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const TDataModule1& store_;
  Session& session_;
};

}  // namespace vantora
