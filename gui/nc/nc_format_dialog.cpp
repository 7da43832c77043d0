#include "nc/nc_format_dialog.h"

#include <QGridLayout>
#include <QPushButton>

#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "common/pictures.h"

namespace vantora {
namespace {

constexpr int kAxisPicture = 60;

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

QLineEdit* FieldEdit(QWidget* parent, const char* name, const QFont& font) {
  QLineEdit* edit = MakeEdit(parent, name, {});
  edit->setFont(font);
  return edit;
}

}  // namespace

TForm4::TForm4(Host& host, NcFormat& format, QWidget* owner)
    : QDialog(owner), host_(host), format_(format) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("Define Axis"));
  setFont(FormFont(11));
  setFixedSize(487, 377);

  const QFont large = FormFont(19, true);
  const QFont medium = FormFont(16, true);
  auto* grid = new QGridLayout;
  const auto axisRow = [&](int row, const char* imageName, const QPixmap& picture,
                           const char* labelName, const char* caption, const char* editName) {
    grid->addWidget(MakeImage(this, imageName, picture), row, 0);
    grid->addWidget(MakeLabel(this, labelName, QString::fromLatin1(caption), large), row, 1);
    QLineEdit* edit = FieldEdit(this, editName, large);
    grid->addWidget(edit, row, 2);
    return edit;
  };
  XEdit = axisRow(0, "Image1", HorizontalAxisPicture(kAxisPicture), "Label1", "Horizon Axis",
                  "XEdit");
  YEdit = axisRow(1, "Image2", VerticalAxisPicture(kAxisPicture), "Label2", "Vertical Axis",
                  "YEdit");
  CEdit = axisRow(2, "Image3", RotaryAxisPicture(kAxisPicture), "Label3", "Rotate Axis",
                  "CEdit");
  grid->addWidget(MakeLabel(this, "Label4", QStringLiteral("Cut Speed (mm/min)"), large), 3, 0,
                  1, 2);
  SpeedEdit = FieldEdit(this, "SpeedEdit", medium);
  grid->addWidget(SpeedEdit, 3, 2);
  grid->setColumnStretch(2, 1);

  G0Edit = FieldEdit(this, "G0Edit", FormFont(13, true));
  QFrame* bottom = MakePanel(this, "BottomPanel", palette().color(QPalette::Window));
  OKButtom = MakeOkButton(bottom, "OKButtom");
  OKButtom->setFont(FormFont(11, true));
  SetTextColor(*OKButtom, kGreen);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(MakeLabel(this, "Label5", QStringLiteral("First Line:"), medium));
  layout->addWidget(G0Edit);
  layout->addStretch(1);
  layout->addWidget(bottom);

  BindHandler(host_, OKButtom, &QPushButton::clicked, this, &TForm4::OKButtomClick);
  FormCreate();
}

void TForm4::FormCreate() {
  G0Edit->setText(Text(format_.FirstLine));
  XEdit->setText(Text(format_.HorizonAxis));
  YEdit->setText(Text(format_.VerticalAxis));
  CEdit->setText(Text(format_.RotateAxis));
  SpeedEdit->setText(Text(format_.CutSpeed));
}

void TForm4::OKButtomClick() {
  const NcFormat typed{Text(XEdit), Text(YEdit), Text(CEdit), Text(SpeedEdit), Text(G0Edit)};
  // A format the next start would read back changed is not taken; the dialog stays open.
  if (Status s = CheckNcFormat(typed); !s) {
    host_.ShowMessage(s.message());
    return;
  }
  format_ = typed;
  // The format holds for this run either way; a file that cannot be written is said.
  if (Status s = WriteNcIni(kNcIniName, format_); !s) host_.ShowMessage(s.message());
  accept();
}

}  // namespace vantora
