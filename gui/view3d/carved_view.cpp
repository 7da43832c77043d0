#include "view3d/carved_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "common/appearance.h"
#include "common/controls.h"
#include "view3d/gl_scene.h"
#include "view3d/gl_view.h"

namespace vantora {
namespace {

constexpr QSize kClientSize{900, 700};
constexpr int kButtonPanelWidth = 161;

}  // namespace

CarvedView::CarvedView(Host& host, const TDataModule1& store, SweptCarving carving,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), store_(store), carving_(std::move(carving)) {
  setObjectName(QStringLiteral("CarvedView"));
  setWindowTitle(QStringLiteral("Carved result"));
  setFont(FormFont(11));
  SetBackground(*this, Qt::black);
  resize(kClientSize);

  glView_ = new GlView(this, {
      [](int w, int h) { InitGL(w, h); },
      [](int w, int h) { SetProjection(w, h); },
      [this] { Paint(); },
      [this](int x, int y) { Navigation->MouseDown(x, y); },
      [this](int x, int y) { Navigation->MouseUp(x, y); },
  });
  const std::string figures = DeviationText(carving_.Carved.Deviation);
  Figures = MakeLabel(this, "Figures", QString::fromStdString(figures), FormFont(13, true));
  SetTextColor(*Figures, kSilver);
  Figures->setContentsMargins(8, 4, 8, 6);

  auto* picture = new QVBoxLayout;
  picture->setContentsMargins(0, 0, 0, 0);
  picture->addWidget(glView_, 1);
  picture->addWidget(Figures);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildButtonPanel());
  layout->addLayout(picture, 1);
}

CarvedView::~CarvedView() {
  // The lists live in the view's own context, which exists once the view was shown.
  if (glView_->HasContext()) {
    glView_->makeCurrent();
    ReleaseCarvedScene();
    glView_->doneCurrent();
  }
}

void CarvedView::OpenIn(const QRect& area) {
  resize(kClientSize.boundedTo(area.size()));
  move(area.topLeft());
  show();
}

QWidget* CarvedView::BuildButtonPanel() {
  QFrame* panel = MakePanel(this, "Panel1", kAppWorkSpace);
  panel->setLineWidth(3);
  panel->setFixedWidth(kButtonPanelWidth);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(8, 8, 8, 8);
  Navigation = std::make_unique<ViewNavigation>(host_, panel, View, *glView_,
                                                [this] { glView_->update(); });
  layout->addLayout(Navigation->Buttons);
  layout->addStretch(1);
  return panel;
}

void CarvedView::Paint() {
  PaintFrame(host_, *glView_, [this] {
    // Compiled once, with the first frame: a list that failed is reported then, and
    // later frames draw what did compile.
    if (!listsCompiled_) {
      listsCompiled_ = true;
      if (!CompileCarvedScene(store_, *carving_.Model, *carving_.Carved.Solid)) return false;
    }
    return DrawCarvedScene(View);
  });
}

}  // namespace vantora
