#pragma once

#include <QDialog>

#include "core/common/host.h"
#include "core/nc/nc_format.h"

class QLineEdit;
class QPushButton;

namespace vantora {

// "Define Axis": edits the axis letters, cut speed and first line of the NC program.
// OK takes the texts as typed into `format` and keeps them in NC.ini; closing the
// dialog any other way changes nothing.
class TForm4 : public QDialog {
  Q_OBJECT

 public:
  TForm4(Host& host, NcFormat& format, QWidget* owner);

  QLineEdit* XEdit;
  QLineEdit* YEdit;
  QLineEdit* CEdit;
  QLineEdit* SpeedEdit;
  QLineEdit* G0Edit;
  QPushButton* OKButtom;

  void FormCreate();
  void OKButtomClick();

 private:
  Host& host_;
  NcFormat& format_;
};

}  // namespace vantora
