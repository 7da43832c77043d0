#include "view3d/carved_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/appearance.h"
#include "common/controls.h"
#include "view3d/gl_scene.h"
#include "view3d/gl_view.h"

namespace vantora {
namespace {

constexpr QSize kClientSize{900, 700};
constexpr int kButtonPanelWidth = 161;
// The colour scale's top at most (mm): what is left beyond it (inside a hole no wire
// reaches) shows in the top colour, and the millimetres an operator trims stay apart.
constexpr double kScaleCap = 5;
// The camera's start: from the front left and above, where the solid's top and two of
// its sides show.
constexpr double kStartTurn = 35;
constexpr double kStartElevation = 30;

// A table's box in view units.
ViewBox InViewUnits(const FacetBox& box, float viewDistance) {
  ViewBox scaled{};
  for (int axis = 0; axis < 3; ++axis) {
    scaled.Lo[axis] = box.Lo[axis] / viewDistance;
    scaled.Hi[axis] = box.Hi[axis] / viewDistance;
  }
  return scaled;
}

// `box` grown to hold the floor grid of `store` (CompileGrid's square at z = 0).
ViewBox WithGrid(ViewBox box, const TDataModule1& store) {
  const GridContent grid = GridContent::Of(store);
  const double half = std::max(0.0, 1.2 * std::max(grid.MaxX, grid.MaxY));
  const float reach = float(half) / grid.ViewDistance;
  for (int axis = 0; axis < 2; ++axis) {
    box.Lo[axis] = std::min(box.Lo[axis], -reach);
    box.Hi[axis] = std::max(box.Hi[axis], reach);
  }
  box.Lo[2] = std::min(box.Lo[2], 0.0f);
  return box;
}

QColor ToQColor(const std::array<float, 3>& c) { return QColor::fromRgbF(c[0], c[1], c[2]); }

// The solid's colour scale with its millimetres, and the colour of the cuts when the
// program makes any.
class MaterialLegend : public QWidget {
 public:
  MaterialLegend(QWidget* parent, double full, bool cuts) : QWidget(parent), full_(full), cuts_(cuts) {
    setObjectName(QStringLiteral("Legend"));
    setMinimumHeight(cuts ? 250 : 220);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, width(), 20), Qt::AlignLeft, QStringLiteral("Material left"));
    const QRect bar(4, 28, 24, 170);
    // Most material at the top, as on a depth gauge.
    for (int y = 0; y < bar.height(); ++y) {
      const double left = full_ * (1.0 - double(y) / (bar.height() - 1));
      painter.setPen(ToQColor(MaterialColour(left, full_)));
      painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    painter.setPen(Qt::black);
    for (int k = 0; k <= 4; ++k) {
      const int y = bar.top() + k * (bar.height() - 1) / 4;
      painter.drawLine(bar.right() + 1, y, bar.right() + 5, y);
      const QString more = k == 0 && full_ >= kScaleCap ? QStringLiteral("\u2265 ") : QString();
      painter.drawText(QPoint(bar.right() + 9, y + 5),
                       more + QString::number(full_ * (4 - k) / 4, 'f', 2) + QStringLiteral(" mm"));
    }
    if (!cuts_) return;
    const QRect swatch(4, bar.bottom() + 14, 24, 16);
    painter.fillRect(swatch, ToQColor(kCutColour));
    painter.drawText(QPoint(swatch.right() + 9, swatch.bottom() - 2), QStringLiteral("cut into the part"));
  }

 private:
  double full_;
  bool cuts_;
};

// The top of the colour scale: the most material any facet keeps, up to the next tenth
// of a millimetre, and no more than kScaleCap.
double ScaleTop(const CarvedColouring& colours) {
  float most = 0;
  for (float left : colours.MaterialLeft) most = std::max(most, left);
  return std::clamp(std::ceil(double(most) * 10) / 10, 0.1, kScaleCap);
}

}  // namespace

CarvedView::CarvedView(Host& host, const TDataModule1& store, SweptCarving carving,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), store_(store), carving_(std::move(carving)),
      scaleTop_(ScaleTop(carving_.Colours)) {
  setObjectName(QStringLiteral("CarvedView"));
  setWindowTitle(QStringLiteral("Carved result"));
  setFont(FormFont(11));
  SetBackground(*this, Qt::black);
  resize(kClientSize);

  glView_ = new GlView(this, {
      [](int w, int h) { InitGL(w, h); },
      [this](int w, int h) { viewport_ = {w, h}; },
      [this] { Paint(); },
      [this](int x, int y) { Navigation->MouseDown(x, y); },
      [this](int x, int y) { Navigation->MouseUp(x, y); },
  });
  const std::string figures = DeviationText(carving_.Carved.Deviation) +
                              IdleSectionsText(carving_.Carved.Shares, carving_.Feed);
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
  FrameSolid();
}

void CarvedView::FrameSolid() {
  const ViewBox solid = InViewUnits(BoundingBox(*carving_.Carved.Solid), store_.ViewDistance);
  View.FrameOn(solid);
  View.LookFrom(kStartTurn, kStartElevation);
  Navigation->SetViewButtons(0);  // no side's button is in force
  scene_ = WithGrid(solid, store_);
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
  ModelButton = new QPushButton(QStringLiteral("Model"), panel);
  ModelButton->setObjectName(QStringLiteral("ModelButton"));
  ModelButton->setCheckable(true);
  ModelButton->setChecked(true);
  ModelButton->setToolTip(QStringLiteral("Show the model inside the solid, or the solid alone"));
  connect(ModelButton, &QPushButton::toggled, glView_, [this] { glView_->update(); });
  layout->addSpacing(12);
  layout->addWidget(ModelButton);
  layout->addSpacing(12);
  layout->addWidget(new MaterialLegend(panel, scaleTop_, carving_.Carved.Deviation.CutsThePart()));
  layout->addStretch(1);
  return panel;
}

void CarvedView::Paint() {
  PaintFrame(host_, *glView_, [this] {
    SetProjection(viewport_.width(), viewport_.height(), View.DepthFor(scene_));
    // Compiled once, with the first frame: a list that failed is reported then, and
    // later frames draw what did compile.
    if (!listsCompiled_) {
      listsCompiled_ = true;
      if (!CompileCarvedScene(store_, *carving_.Model, *carving_.Carved.Solid, carving_.Colours,
                              scaleTop_)) {
        return false;
      }
    }
    return DrawCarvedScene(View, ModelButton->isChecked());
  });
}

}  // namespace vantora
