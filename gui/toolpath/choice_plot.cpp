#include "toolpath/choice_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "core/common/number_text.h"

namespace vantora {
namespace {

constexpr QColor kLeftColour{0, 0, 200};
constexpr QColor kMinutesColour{230, 120, 0};
constexpr QColor kChosenColour{220, 0, 0};
constexpr int kMargin = 70;  // room for the scales' numbers

double TopOf(const std::vector<double>& values) {
  const double top = values.empty() ? 0 : *std::max_element(values.begin(), values.end());
  return top > 0 ? top : 1;
}

QString Number(double v, int decimals) { return QString::fromStdString(FixedText(v, decimals)); }

}  // namespace

ChoicePlot::ChoicePlot(ChoiceCurve curve, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      curve_(std::move(curve)),
      leftTop_(TopOf(curve_.Left)),
      minutesTop_(TopOf(curve_.Minutes)) {
  setObjectName(QStringLiteral("ChoicePlot"));
  setWindowTitle(QStringLiteral("Material left and cutting time against sections"));
  resize(900, 420);
}

QRectF ChoicePlot::Area() const {
  return QRectF(kMargin, 30, width() - 2 * kMargin, height() - 30 - 50);
}

// Both scales start at 0, so a curve that levels off shows how little more sections buy.
QPointF ChoicePlot::At(int k, double value, double top) const {
  const QRectF a = Area();
  const int count = std::max<int>(int(curve_.Left.size()), 2);
  return {a.left() + a.width() * (k - 1) / (count - 1), a.bottom() - a.height() * value / top};
}

QPointF ChoicePlot::LeftPoint(int k) const {
  return At(k, curve_.Left[std::size_t(k - 1)], leftTop_);
}

void ChoicePlot::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF a = Area();
  p.setPen(Qt::black);
  p.drawRect(a);
  p.drawText(QRectF(0, a.bottom() + 18, width(), 16), Qt::AlignCenter,
             QStringLiteral("sections (in the order chosen)"));
  p.drawText(QRectF(4, a.bottom() + 34, width() - 8, 16), Qt::AlignCenter,
             QString::fromStdString(curve_.Summary));
  const int count = int(curve_.Left.size());
  for (int k : {1, count}) {
    p.drawText(QRectF(At(k, 0, 1).x() - 20, a.bottom() + 4, 40, 16), Qt::AlignCenter,
               QString::number(k));
  }
  const auto line = [&](const std::vector<double>& values, double top, QColor colour,
                        Qt::Alignment side, const QString& name) {
    QPainterPath path;
    for (int k = 1; k <= int(values.size()); ++k) {
      const QPointF at = At(k, values[std::size_t(k - 1)], top);
      k == 1 ? path.moveTo(at) : path.lineTo(at);
    }
    p.setPen(QPen(colour, 2));
    p.drawPath(path);
    const double x = side == Qt::AlignLeft ? 2 : a.right() + 4;
    p.drawText(QRectF(x, a.top() - 8, kMargin - 6, 16), side, Number(top, 0));
    p.drawText(QRectF(x, a.bottom() - 8, kMargin - 6, 16), side, QStringLiteral("0"));
    p.drawText(QRectF(x, 6, 300, 16), Qt::AlignLeft, name);
  };
  line(curve_.Left, leftTop_, kLeftColour, Qt::AlignLeft, QStringLiteral("material left beyond all candidates', mm³"));
  line(curve_.Minutes, minutesTop_, kMinutesColour, Qt::AlignRight, QStringLiteral("min"));
  if (curve_.Chosen < 1 || curve_.Chosen > count) return;
  const QPointF chosen = LeftPoint(curve_.Chosen);
  p.setPen(QPen(kChosenColour, 1, Qt::DashLine));
  p.drawLine(QPointF(chosen.x(), a.top()), QPointF(chosen.x(), a.bottom()));
  p.setPen(Qt::NoPen);
  p.setBrush(kChosenColour);
  p.drawEllipse(chosen, 5, 5);
  p.setPen(kChosenColour);
  p.drawText(QRectF(chosen.x() + 8, a.top() + 4, 200, 16), Qt::AlignLeft,
             QString::number(curve_.Chosen) + QStringLiteral(" chosen"));
}

}  // namespace vantora
