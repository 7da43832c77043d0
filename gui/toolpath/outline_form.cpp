#include "toolpath/outline_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <bit>

#include "core/check/program_check.h"
#include "common/appearance.h"
#include "common/controls.h"
#include "common/pictures.h"
#include "core/common/truncate.h"
#include "core/common/number_text.h"

namespace vantora {
namespace {

// A length in pixels rounded the way the drawing rounds: add 0.5, truncate.
int RoundToPixel(double pixels) { return TruncateToInt(pixels + 0.5); }

QLabel* MarkerLabel(QWidget* parent, const char* name, QPoint at) {
  QLabel* label = MakeLabel(parent, name, QStringLiteral("0.00"), FormFont(13, true));
  SetTextColor(*label, Qt::white);
  label->move(at);
  label->adjustSize();
  return label;
}

// Two lines of the check's type.
constexpr int kCheckLineHeight = 46;
// Bright enough to read on the black ground.
const QColor kCleanCheck{0x3C, 0xE6, 0x3C};
const QColor kReachingCheck{0xFF, 0x50, 0x50};

void ShowValue(QLabel& label, float value) {
  label.setText(QString::fromStdString(FloatToText(value)));
  label.adjustSize();
}

}  // namespace

TOutLineForm::TOutLineForm(Host& host, const TDataModule1& store, QWidget& owner,
                           const QRect& area)
    : QWidget(&owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      host_(host),
      store_(store) {
  setObjectName(QStringLiteral("OutLineForm"));
  setWindowTitle(QStringLiteral("Tool Path Form"));
  setFont(FormFont(11));
  SetBackground(*this, Qt::black);
  BuildRangeMarkers();
  BuildAnglePanel();
  BuildCheckLine();
  move(area.topLeft());
  setFixedSize(area.size());
}

void TOutLineForm::BuildRangeMarkers() {
  Panel2 = MakePanel(this, "Panel2", kBtnFace);
  Panel2->setGeometry(120, 360, 377, 4);
  XPanel = MakePanel(this, "XPanel", kBtnFace);
  XPanel->setGeometry(105, 332, 3, 57);
  EndXPanel = MakePanel(this, "EndXPanel", kBtnFace);
  EndXPanel->setGeometry(512, 336, 3, 53);
  StartXLabel = MarkerLabel(this, "StartXLabel", {24, 352});
  EndXLabel = MarkerLabel(this, "EndXLabel", {432, 312});
  ZLabel = MarkerLabel(this, "ZLabel", {528, 352});
}

void TOutLineForm::BuildAnglePanel() {
  Panel1 = MakePanel(this, "Panel1", kSilver);
  Panel1->setGeometry(168, 368, 300, 41);
  Image1 = MakeImage(Panel1, "Image1", SectionAnglePicture(Panel1->size()));
  RoteDegEdit = MakeEdit(Panel1, "RoteDegEdit", QStringLiteral("0.00"));
  RoteDegEdit->setGeometry(80, 8, 113, 26);
  RoteDegEdit->setReadOnly(true);
  RoteDegEdit->setFont(FormFont(15, true));
  SetBase(*RoteDegEdit, kCream);
  SetTextColor(*RoteDegEdit, kBlue);
}

void TOutLineForm::BuildCheckLine() {
  CheckLabel = MakeLabel(this, "CheckLabel", {}, FormFont(17, true));
  CheckLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  CheckLabel->hide();
}

void TOutLineForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  canvas_ = QImage(size(), QImage::Format_RGB32);
  canvas_.fill(Qt::black);
  FormResize();
  Repaint();
}

void TOutLineForm::FormResize() {
  const TDataModule1& s = store_;
  OriginX = (width() - 100) / 2;
  OriginY = height() - 100;
  const float big = std::max({float(s.MaxX - s.MinX), float(s.MaxY - s.MinY),
                              float(s.MaxZ - s.MinZ)});
  ViewScale = float(double(float(OriginY) / big) * 0.8);
  Panel2->setGeometry(50, Panel2->y(), width() - 200, Panel2->height());
  ZLabel->move(Panel2->width() + 80, Panel2->y() - 5);
  // Below the base line and the angle panel under it, across the whole window.
  CheckLabel->setGeometry(8, height() - kCheckLineHeight - 4, width() - 16, kCheckLineHeight);
  FitCheckText();
  PlaceRangeMarkers();
}

void TOutLineForm::PlaceRangeMarkers() {
  const TDataModule1& s = store_;
  // Products in f32, as the fields are.
  const int h = RoundToPixel(s.StartHeight * ViewScale);
  const int b = RoundToPixel(s.BeginRange * ViewScale);
  const int e = RoundToPixel(s.EndRange * ViewScale);
  Panel2->move(Panel2->x(), OriginY - h);
  const int bar = Panel2->y();
  if (FollowBar) Panel1->move(width() / 2 - 180, bar + 5);
  ZLabel->move(ZLabel->x(), bar - 5);
  XPanel->move(b + OriginX, bar - 20);
  EndXPanel->move(e + OriginX, bar - 20);
  host_.ProcessPendingMessages();
  ShowValue(*ZLabel, s.StartHeight);
  StartXLabel->move(XPanel->x() - 60, bar - 20);
  EndXLabel->move(EndXPanel->x() + 10, bar - 20);
  ShowValue(*StartXLabel, s.BeginRange);
  ShowValue(*EndXLabel, s.EndRange);
}

void TOutLineForm::ClearPathView() {
  canvas_.fill(Qt::black);
  update();
}

void TOutLineForm::DrawPathLine() {
  const TDataModule1& s = store_;
  QPainter painter(&canvas_);
  const auto pixel = [&](const PathPoint& p) {
    return QPoint(RoundToPixel(p.X * ViewScale) + OriginX,
                  OriginY - RoundToPixel((double(p.Y) - s.MinZ) * ViewScale));
  };
  painter.setPen(kBlue);
  QPoint pen = s.ToolPath.empty() ? QPoint() : pixel(s.ToolPath[0]);
  for (std::size_t k = 1; k < s.ToolPath.size(); ++k) {
    const QPoint next = pixel(s.ToolPath[std::size_t(k)]);
    painter.drawLine(pen, next);
    pen = next;
  }
  // Along raster row 0 across the whole raster width.
  painter.setPen(kRed);
  painter.drawLine(RoundToPixel(s.MinX * ViewScale) + OriginX, OriginY,
                   RoundToPixel(s.MaxX * ViewScale) + OriginX, OriginY);
  update();
}

void TOutLineForm::CollectOutlineCells() {
  // Only marked cells carry an outline weight, so the columns' mark words lead to
  // them and the empty parts of the raster cost a word test per 64 cells.
  outlineCells_.clear();
  const SectionRaster& raster = store_.Raster;
  for (int i = 0; i < raster.Columns(); ++i) {
    const SectionRaster::Word* column = raster.Column(i);
    for (int w = 0; w < raster.WordsPerColumn(); ++w) {
      for (SectionRaster::Word bits = column[w]; bits != 0; bits &= bits - 1) {
        const int j = w * 64 + std::countr_zero(bits);
        const int weight = raster.OutlineWeight(i, j);
        if (weight >= 1) outlineCells_.push_back({i, j, weight});
      }
    }
  }
  // The squares overlap when a cell is smaller than 0.3 mm on the screen: the order
  // decides which one is seen.
  std::sort(outlineCells_.begin(), outlineCells_.end(),
            [](const OutlineCell& a, const OutlineCell& b) {
              return a.J != b.J ? a.J < b.J : a.I < b.I;
            });
}

void TOutLineForm::DrawOutlineCells() {
  const TDataModule1& s = store_;
  int r = TruncateToInt(0.3 * ViewScale * 0.5 + 0.5);
  if (r == 0) r = 1;
  CollectOutlineCells();
  QPainter painter(&canvas_);
  painter.setBrush(Qt::white);
  for (const OutlineCell& c : outlineCells_) {
    // Products in f32: the cell's distance from the axis column times the resolution
    // times the scale, as the path's points are placed.
    const int px = RoundToPixel(float(c.I - s.AxisColumn) * s.Resolution * ViewScale) + OriginX;
    const int py = OriginY - RoundToPixel(float(c.J) * s.Resolution * ViewScale);
    painter.setPen(c.Weight == 1 ? kYellow : kGreen);
    // Corners (px - r, py - r) and (px + r, py + r), the second one outside, as a
    // rectangle's far corner is: 2r pixels a side, the border included.
    painter.drawRect(px - r, py - r, 2 * r - 1, 2 * r - 1);
  }
  update();
}

void TOutLineForm::FormPaint() {
  DrawOutlineCells();
  DrawPathLine();
}

void TOutLineForm::Repaint() {
  canvas_.fill(Qt::black);
  FormPaint();
}

void TOutLineForm::ShowCheck(const ProgramReport& report) {
  std::string text = ReportSummary(report);
  if (!report.Clean()) text += "\nSections: " + ReachingSectionsText(report);
  checkText_ = QString::fromStdString(text);
  CheckLabel->setToolTip(checkText_);
  FitCheckText();
  SetTextColor(*CheckLabel, report.Clean() ? kCleanCheck : kReachingCheck);
  CheckLabel->show();
}

void TOutLineForm::HideCheck() {
  checkText_.clear();
  CheckLabel->hide();
  CheckLabel->clear();
  CheckLabel->setToolTip({});
}

void TOutLineForm::FitCheckText() {
  const QFontMetrics metrics(CheckLabel->font());
  QStringList lines = checkText_.split(u'\n');
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, CheckLabel->width());
  CheckLabel->setText(lines.join(u'\n'));
}

void TOutLineForm::ShowSection(float angle) {
  RoteDegEdit->setText(QString::fromStdString(FloatToText(angle)));
  ClearPathView();
  DrawPathLine();
  DrawOutlineCells();
}

void TOutLineForm::paintEvent(QPaintEvent* event) {
  QPainter(this).drawImage(event->rect(), canvas_, event->rect());
}

}  // namespace vantora
