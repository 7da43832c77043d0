#include "mesh/import_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "common/pictures.h"

namespace vantora {
namespace {

constexpr QSize kClientSize{468, 332};
constexpr QSize kMirrorButton{150, 153};
constexpr QSize kTurnButton{145, 153};

QToolButton* ChoiceButton(QWidget* parent, const char* name, const QPixmap& picture,
                          const char* hint, QSize size) {
  QToolButton* button = MakeSpeedButton(parent, name, QIcon(picture),
                                        QString::fromLatin1(hint), size);
  button->setIconSize(picture.size());
  return button;
}

}  // namespace

TForm3::TForm3(Host& host, ModelTurnRequest& choice, QWidget* owner)
    : QDialog(owner), choice_(choice) {
  setObjectName(QStringLiteral("Insetform"));
  setWindowTitle(QStringLiteral("Import File"));
  setFont(FormFont(11));
  setFixedSize(kClientSize);

  const int picture = kTurnButton.width() - 20;
  ZMirrorButton = ChoiceButton(this, "ZMirrorButton", MirrorZPicture(picture),
                               "Mirror the scan in Z", kMirrorButton);
  RoteXButton = ChoiceButton(this, "RoteXButton", TurnModelPicture(Axis::X, picture),
                             "Turn about X", kTurnButton);
  RoteYButton = ChoiceButton(this, "RoteYButton", TurnModelPicture(Axis::Y, picture),
                             "Turn about Y", kTurnButton);
  auto* choices = new QHBoxLayout;
  for (QToolButton* b : {ZMirrorButton, RoteXButton, RoteYButton}) choices->addWidget(b);

  QFont italic = FormFont(16);
  italic.setItalic(true);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Input Rote deg."), FormFont(16, true));
  DegEdit = MakeEdit(this, "DegEdit", QStringLiteral("180.0"));
  DegEdit->setFont(italic);
  auto* angle = new QHBoxLayout;
  angle->addStretch(1);
  angle->addWidget(Label2);
  angle->addWidget(DegEdit);
  angle->addStretch(1);
  Label2->hide();
  DegEdit->hide();

  Panel1 = MakePanel(this, "Panel1", palette().color(QPalette::Window));
  OKButton = MakeOkButton(Panel1, "OKButton");
  OKButton->setFont(italic);
  SetTextColor(*OKButton, kGreen);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(angle);
  layout->addStretch(1);
  layout->addWidget(Panel1);

  BindHandler(host, ZMirrorButton, &QToolButton::clicked, this, &TForm3::ZMirrorButtonClick);
  BindHandler(host, RoteXButton, &QToolButton::clicked, this, &TForm3::RoteXButtonClick);
  BindHandler(host, RoteYButton, &QToolButton::clicked, this, &TForm3::RoteYButtonClick);
  BindHandler(host, OKButton, &QPushButton::clicked, this, &TForm3::OKButtonClick);
}

void TForm3::Choose(bool mirrorZ, bool rotateX, bool rotateY) {
  choice_.MirrorZ = mirrorZ;
  choice_.RotateX = rotateX;
  choice_.RotateY = rotateY;
}

void TForm3::ShowAngle() {
  DegEdit->show();
  Label2->show();
}

void TForm3::ZMirrorButtonClick() { Choose(true, false, false); }

void TForm3::RoteXButtonClick() {
  ShowAngle();
  Choose(false, true, false);
}

void TForm3::RoteYButtonClick() {
  ShowAngle();
  Choose(false, false, true);
}

void TForm3::OKButtonClick() {
  // Read also when hidden: a mirror choice stores the angle the edit shows.
  choice_.Angle = ReadFloat(*DegEdit);
  accept();
}

}  // namespace vantora
