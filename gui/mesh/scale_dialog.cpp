#include "mesh/scale_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

constexpr QSize kClientSize{271, 208};

// The size shown for `size` mm at `rate`, the product formed in double.
void ShowScaled(QLineEdit& edit, float size, double rate) {
  edit.setText(QString::fromStdString(GeneralNumberText(double(size) * rate)));
}

// On every change of a rate: its size follows a text that is a number; any other
// text (empty, a lone "-") leaves the size as it was.
void FollowRate(const QLineEdit& rateEdit, QLineEdit& sizeEdit, float size) {
  if (const auto rate = ParseFloatText(rateEdit.text().toStdString())) {
    ShowScaled(sizeEdit, size, *rate);
  }
}

}  // namespace

TForm2::TForm2(Host& host, const TDataModule1& store, Session& session, QWidget* owner)
    : QDialog(owner), store_(store), session_(session) {
  setObjectName(QStringLiteral("Xyzrate"));
  setWindowTitle(QStringLiteral("Form2"));
  setFont(FormFont(16, true));
  setFixedSize(kClientSize);

  auto* grid = new QGridLayout;
  const auto row = [&](int r, const char* captionName, const char* caption,
                       const char* rateName, const char* equalsName, const char* sizeName,
                       QLineEdit*& rateEdit, QLineEdit*& sizeEdit) {
    grid->addWidget(MakeLabel(this, captionName, QString::fromLatin1(caption), font()), r, 0);
    rateEdit = MakeEdit(this, rateName, QStringLiteral("1"));
    grid->addWidget(rateEdit, r, 1);
    grid->addWidget(MakeLabel(this, equalsName, QStringLiteral("="), FormFont(19, true)), r, 2);
    sizeEdit = MakeEdit(this, sizeName, QStringLiteral(" "));
    sizeEdit->setReadOnly(true);
    grid->addWidget(sizeEdit, r, 3);
  };
  row(0, "Label1", "X 1:", "XRateEdit", "Label4", "XEdit", XRateEdit, XEdit);
  row(1, "Label2", "Y 1:", "YRateEdit", "Label5", "YEdit", YRateEdit, YEdit);
  row(2, "Label3", "Z 1:", "ZRateEdit", "Label6", "ZEdit", ZRateEdit, ZEdit);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(3, 3);

  Panel1 = MakePanel(this, "Panel1", palette().color(QPalette::Window));
  OKButtom = MakeOkButton(Panel1, "OKButtom");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addWidget(Panel1);

  BindHandler(host, XRateEdit, &QLineEdit::textChanged, this, &TForm2::XRateEditChange);
  BindHandler(host, YRateEdit, &QLineEdit::textChanged, this, &TForm2::YRateEditChange);
  BindHandler(host, ZRateEdit, &QLineEdit::textChanged, this, &TForm2::ZRateEditChange);
  BindHandler(host, OKButtom, &QPushButton::clicked, this, &TForm2::OKButtomClick);
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm2::FormShow() {
  SizeX = float(store_.MaxX - store_.MinX);
  SizeY = float(store_.MaxY - store_.MinY);
  SizeZ = float(store_.MaxZ - store_.MinZ);
  ShowScaled(*XEdit, SizeX, 1.0);
  ShowScaled(*YEdit, SizeY, 1.0);
  ShowScaled(*ZEdit, SizeZ, 1.0);
}

void TForm2::XRateEditChange() { FollowRate(*XRateEdit, *XEdit, SizeX); }
void TForm2::YRateEditChange() { FollowRate(*YRateEdit, *YEdit, SizeY); }
void TForm2::ZRateEditChange() { FollowRate(*ZRateEdit, *ZEdit, SizeZ); }

void TForm2::OKButtomClick() {
  session_.XRate = ReadFloat(*XRateEdit);
  session_.YRate = ReadFloat(*YRateEdit);
  session_.ZRate = ReadFloat(*ZRateEdit);
  accept();
}

}  // namespace vantora
