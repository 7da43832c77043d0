#include "view3d/opengl_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "common/busy_state.h"
#include "common/appearance.h"
#include "common/controls.h"
#include "common/handlers.h"
#include "common/pictures.h"
#include "mesh/import_dialog.h"
#include "view3d/gl_view.h"
#include "core/model/placement.h"

namespace vantora {
namespace {

// The client area the form is designed for; FormCreate never makes it smaller.
constexpr int kClientWidth = 757;
constexpr int kClientHeight = 650;
constexpr int kButtonPanelWidth = 161;
constexpr QSize kInSetButton{136, 65};
constexpr QSize kTurnButton{40, 40};
const QColor kFuchsia{0xFF, 0x00, 0xFF};

}  // namespace

TOpenGL_Form::TOpenGL_Form(Host& host, ModelViewHost& owner, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      owner_(owner) {
  setObjectName(QStringLiteral("OpenGL_Form"));
  setWindowTitle(QStringLiteral("3D"));
  setFont(FormFont(11));
  SetBackground(*this, Qt::black);
  setFixedSize(kClientWidth, kClientHeight);

  glView_ = new GlView(this, {
      [this](int w, int h) { InitGL(w, h); },
      [this](int w, int h) { FormResize(w, h); },
      [this] { FormPaint(); },
      [this](int x, int y) { Navigation->MouseDown(x, y); },
      [this](int x, int y) { Navigation->MouseUp(x, y); },
  });
  BuildButtonPanel();
  BuildProgressPanel();
  Timer1 = MakeControl<QTimer>(this, "Timer1");
  Timer1->setInterval(1200);
  Table.OnFirstStlFacet = [this] {
    Timer1->start();
    Panel2->show();
  };
  BindHandlers();
  FormCreate();
}

TOpenGL_Form::~TOpenGL_Form() {
  // The lists live in the view's own context, which exists once the view was shown.
  if (glView_->HasContext()) {
    glView_->makeCurrent();
    SceneLists::Release();
    glView_->doneCurrent();
  }
}

void TOpenGL_Form::BuildButtonPanel() {
  Panel1 = MakePanel(this, "Panel1", kAppWorkSpace);
  Panel1->setLineWidth(3);
  auto* layout = new QVBoxLayout(Panel1);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(8);

  // In a holder of its own: while an operation runs the holder is disabled, and the
  // button keeps the state the open-file flow gives it.
  auto* inSetHolder = new QWidget(Panel1);
  auto* holderLayout = new QHBoxLayout(inSetHolder);
  holderLayout->setContentsMargins(0, 0, 0, 0);
  InSetButton = MakeSpeedButton(inSetHolder, "InSetButton", InsertFilePicture(),
                                QStringLiteral("Insert file"), kInSetButton);
  holderLayout->addWidget(InSetButton);
  layout->addWidget(inSetHolder, 0, Qt::AlignHCenter);
  owner_.Operations().AddGate(inSetHolder);

  Navigation = std::make_unique<ViewNavigation>(host_, Panel1, View, *glView_,
                                                [this] { DrawScene(); });
  layout->addLayout(Navigation->Buttons);

  BuildRotationPanel();
  layout->addWidget(Panel3);
  // Shown while an STL file is read: a turn then would move half-read facets and
  // reset the bounds the reader is growing.
  owner_.Operations().AddGate(Panel3);
  layout->addStretch(1);
}

void TOpenGL_Form::BuildRotationPanel() {
  Panel3 = MakePanel(Panel1, "Panel3", kFuchsia);
  Panel3->setFrameShadow(QFrame::Sunken);
  auto* layout = new QGridLayout(Panel3);
  layout->setContentsMargins(6, 6, 6, 6);
  RoteXButton = MakeSpeedButton(Panel3, "RoteXButton", TurnPicture(Axis::X),
                                QStringLiteral("Turn the model about X"), kTurnButton);
  RoteYButton = MakeSpeedButton(Panel3, "RoteYButton", TurnPicture(Axis::Y),
                                QStringLiteral("Turn the model about Y"), kTurnButton);
  RoteZButton = MakeSpeedButton(Panel3, "RoteZButton", TurnPicture(Axis::Z),
                                QStringLiteral("Turn the model about Z"), kTurnButton);
  layout->addWidget(RoteXButton, 0, 0);
  layout->addWidget(RoteYButton, 0, 1);
  layout->addWidget(RoteZButton, 0, 2);
  MoveDegEdit = MakeEdit(Panel3, "MoveDegEdit", QStringLiteral("0.00"));
  MoveDegEdit->setFont(FormFont(11, true));
  layout->addWidget(MoveDegEdit, 1, 0, 1, 2);
  layout->addWidget(MakeLabel(Panel3, "Label2", QStringLiteral("deg"), FormFont(11, true)), 1, 2);
}

void TOpenGL_Form::BuildProgressPanel() {
  Panel2 = MakePanel(this, "Panel2", kSilver);
  Panel2->setGeometry(374, 256, 345, 41);
  auto* layout = new QHBoxLayout(Panel2);
  layout->addWidget(MakeLabel(Panel2, "Label1", QStringLiteral("Please wait Creating faces "),
                              FormFont(13, true)));
  FaceLabel = MakeLabel(Panel2, "FaceLabel", QStringLiteral("0"), FormFont(13, true));
  layout->addWidget(FaceLabel, 1);
  Panel2->hide();
}

void TOpenGL_Form::BindHandlers() {
  BindHandler(host_, InSetButton, &QToolButton::clicked, this, &TOpenGL_Form::InSetButtonClick);
  for (QToolButton* b : {RoteXButton, RoteYButton, RoteZButton}) {
    BindClick(host_, b, this, [this](QObject* sender) { RoteXYZButtonClick(sender); });
  }
  BindHandler(host_, Timer1, &QTimer::timeout, this, &TOpenGL_Form::Timer1Timer);
}

TDataModule1& TOpenGL_Form::Store() const { return owner_.ModelStore(); }

void TOpenGL_Form::FormCreate() {
  // Beside the main window's parameter panel (or at its left edge once a scan was
  // opened), below its tool bar, over the rest of its client area.
  const QRect area = owner_.ViewArea();
  const int left = area.left() + 5;
  setFixedSize(std::max(area.width() - left, kClientWidth),
               std::max(area.height() - 100, kClientHeight));
  move(left, 100);
  Panel3->hide();  // the rotation controls come with the first model read into the view
  glView_->setGeometry(rect());
  Panel1->setGeometry(0, 0, kButtonPanelWidth, height());
}

void TOpenGL_Form::FormResize(int width, int height) { SetProjection(width, height); }

void TOpenGL_Form::DrawScene() { glView_->update(); }

void TOpenGL_Form::FormPaint() {
  PaintFrame(host_, *glView_, [this] {
    // The view's own scans: an STL model opened later in another view sets the run's
    // scan count back to 0, and this view must go on showing what was added to it.
    return Lists.CompilePending(Table) && DrawLists(View, Lists.SecondListBuilt);
  });
}

void TOpenGL_Form::BuildModelList() {
  if (auto turned = Lists.BuildModelList(Store(), Table, owner_.OpenedScans(), owner_.ImportTurn())) {
    owner_.ModelTurned(*turned);
  }
  glView_->update();  // the lists compile with the next frame
}

void TOpenGL_Form::ShowStlModel() {
  InSetButton->setEnabled(false);
  Panel3->show();
  Timer1->stop();
  Panel2->hide();
  BuildModelList();
}

void TOpenGL_Form::RoteXYZButtonClick(QObject* sender) {
  // A text that is no number ends the click before anything changes.
  const float angle = ReadFloat(*MoveDegEdit);
  TDataModule1& s = Store();
  Table.FirstNewFacet = 0;
  // The turn asked for here alone: the import dialog's placement stays the next scan's.
  ModelTurnRequest turn;
  turn.Angle = angle;
  turn.RotateX = sender == RoteXButton;
  turn.RotateY = sender == RoteYButton;
  turn.RotateZ = sender == RoteZButton;
  if (auto turned = ApplyModelTransform(turn, s, Table)) owner_.ModelTurned(*turned);
  RecentreModel(s, Table);
  BuildModelList();
  DrawScene();
}

void TOpenGL_Form::InSetButtonClick() {
  {
    TForm3 dialog(host_, owner_.ImportTurn(), this);
    dialog.exec();
  }
  owner_.InsertRequested();
}

void TOpenGL_Form::Timer1Timer() {
  FaceLabel->setText(QString::number(Table.CurrentFacetIndex));
  host_.ProcessPendingMessages();
}

}  // namespace vantora
