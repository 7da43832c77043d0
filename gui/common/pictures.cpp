#include "common/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>

#include "common/appearance.h"

namespace vantora {
namespace {

// Every picture is drawn on a 48 x 48 grid and scaled to the size asked for.
constexpr double kGrid = 48.0;
constexpr int kIconSize = 48;

const QColor kInk{0x20, 0x20, 0x20};
const QColor kPaper{0xFF, 0xFF, 0xFF};
const QColor kSteel{0x8A, 0x94, 0x9E};
const QColor kPathRed{0xD0, 0x20, 0x20};
const QColor kModelBlue{0x2A, 0x5C, 0xB8};
const QColor kAxisBlue{0x10, 0x30, 0xE0};

QPixmap Draw(int size, const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kGrid, size / kGrid);
  paint(painter);
  return pixmap;
}

QIcon Icon(const std::function<void(QPainter&)>& paint) { return QIcon(Draw(kIconSize, paint)); }

QPen Pen(const QColor& color, double width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A line from `from` to `to` with a filled head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, double width = 3.0) {
  p.setPen(Pen(color, width));
  const QPointF d = to - from;
  const double length = std::hypot(d.x(), d.y());
  const QPointF unit = d / length;
  const QPointF normal(-unit.y(), unit.x());
  const double head = 3.5 * width;
  p.drawLine(from, to - unit * head * 0.8);
  p.setBrush(color);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF{to, to - unit * head + normal * head * 0.5,
                          to - unit * head - normal * head * 0.5});
}

void Letter(QPainter& p, const QRectF& box, const QString& text, const QColor& color) {
  p.setPen(color);
  p.setFont(FormFont(14, true));
  p.drawText(box, Qt::AlignCenter, text);
}

// A page of text lines, the NC program.
void Page(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(kPaper);
  p.drawPolygon(QPolygonF{{10, 4}, {32, 4}, {40, 12}, {40, 44}, {10, 44}});
  p.setPen(Pen(kSteel, 2.0));
  for (double y = 16; y <= 36; y += 6) p.drawLine(QPointF(15, y), QPointF(35, y));
}

// The silhouette of a model as the section raster sees it.
QPainterPath Silhouette() {
  QPainterPath path;
  path.moveTo(14, 40);
  path.cubicTo(10, 28, 16, 20, 20, 18);
  path.cubicTo(22, 10, 30, 10, 31, 18);
  path.cubicTo(38, 22, 38, 32, 34, 40);
  path.closeSubpath();
  return path;
}

void ProbeOn(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(kSteel);
  p.drawRect(QRectF(21, 2, 6, 30));
  p.setBrush(kPathRed);
  p.drawEllipse(QPointF(24, 36), 7, 7);
  p.setPen(Pen(kInk, 2.5));
  p.drawLine(QPointF(6, 44.5), QPointF(42, 44.5));
}

void Folder(QPainter& p) {
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(QColor(0xD9, 0xA4, 0x2E));
  p.drawPolygon(QPolygonF{{4, 12}, {18, 12}, {22, 16}, {40, 16}, {40, 40}, {4, 40}});
  p.setBrush(QColor(0xF5, 0xCB, 0x5C));
  p.drawPolygon(QPolygonF{{4, 40}, {10, 22}, {46, 22}, {40, 40}});
}

QColor AxisColor(Axis axis) {
  switch (axis) {
    case Axis::X: return kRed;
    case Axis::Y: return kGreen;
    case Axis::Z: return kAxisBlue;
  }
  return kInk;
}

const char* AxisLetter(Axis axis) {
  switch (axis) {
    case Axis::X: return "X";
    case Axis::Y: return "Y";
    case Axis::Z: return "Z";
  }
  return "";
}

// A scanned bump standing on the platform line at height `base`, `height` tall.
QPainterPath Bump(double base, double height) {
  QPainterPath path;
  path.moveTo(6, base);
  path.cubicTo(14, base, 14, base - height, 24, base - height);
  path.cubicTo(34, base - height, 34, base, 42, base);
  path.closeSubpath();
  return path;
}

// The platform, the plane Z = 0, seen edge on.
void Platform(QPainter& p, double y) {
  QPen dashed = Pen(kSteel, 2.0);
  dashed.setStyle(Qt::DashLine);
  p.setPen(dashed);
  p.drawLine(QPointF(2, y), QPointF(46, y));
}

// A box seen from one side, an eye arrow looking at it and the side's name; the
// preset in force is drawn on a yellow ground.
void ViewFrom(QPainter& p, const QString& side, bool current) {
  if (current) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xE0, 0x40));
    p.drawRoundedRect(QRectF(1, 1, 46, 46), 6, 6);
  }
  p.setPen(Pen(kInk, 1.5));
  p.setBrush(kModelBlue);
  p.drawRect(QRectF(22, 20, 20, 20));
  p.setBrush(QColor(0x6A, 0x94, 0xE0));
  p.drawPolygon(QPolygonF{{22, 20}, {28, 14}, {48, 14}, {42, 20}});
  Arrow(p, QPointF(4, 44), QPointF(19, 31), kPathRed, 2.5);
  Letter(p, QRectF(0, 0, 26, 22), side, kInk);
}

}  // namespace

QIcon OpenFilePicture() { return Icon(Folder); }

QIcon InsertFilePicture() {
  return Icon([](QPainter& p) {
    Folder(p);
    p.setPen(Pen(QColor(0x20, 0xA0, 0x40), 5.0));
    p.drawLine(QPointF(36, 2), QPointF(36, 18));
    p.drawLine(QPointF(28, 10), QPointF(44, 10));
  });
}

QIcon ZoomPicture(bool in) {
  return Icon([in](QPainter& p) {
    p.setPen(Pen(kInk, 4.0));
    p.drawLine(QPointF(30, 30), QPointF(44, 44));
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(20, 20), 15, 15);
    p.setPen(Pen(kModelBlue, 3.5));
    p.drawLine(QPointF(12, 20), QPointF(28, 20));
    if (in) p.drawLine(QPointF(20, 12), QPointF(20, 28));
  });
}

QIcon TurnPicture(Axis axis) {
  return Icon([axis](QPainter& p) {
    const QColor color = AxisColor(axis);
    p.setPen(Pen(color, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 10, 36, 30), 30 * 16, 280 * 16);
    Arrow(p, QPointF(36, 36), QPointF(42, 30), color);
    Letter(p, QRectF(14, 14, 20, 20), QString::fromLatin1(AxisLetter(axis)), color);
  });
}

QIcon ViewFromPicture(const QString& side) {
  QIcon icon(Draw(kIconSize, [&](QPainter& p) { ViewFrom(p, side, false); }));
  icon.addPixmap(Draw(kIconSize, [&](QPainter& p) { ViewFrom(p, side, true); }),
                 QIcon::Disabled);
  return icon;
}

QIcon SaveModelPicture() {
  return Icon([](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kModelBlue);
    p.drawPolygon(QPolygonF{{6, 6}, {36, 6}, {42, 12}, {42, 42}, {6, 42}});
    p.setBrush(kPaper);
    p.drawRect(QRectF(12, 24, 24, 18));
    p.setBrush(kSteel);
    p.drawRect(QRectF(14, 6, 18, 12));
    p.setBrush(kModelBlue);
    p.drawRect(QRectF(26, 8, 4, 8));
  });
}

QIcon TouchPointPicture() { return Icon(ProbeOn); }

QIcon NcFormatPicture() {
  return Icon([](QPainter& p) {
    Page(p);
    p.setBrush(kPaper);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(14, 25, 22, 14));
    Letter(p, QRectF(10, 24, 30, 16), QStringLiteral("NC"), kModelBlue);
  });
}

QIcon ToolPathPicture() {
  return Icon([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kModelBlue);
    p.drawPath(Silhouette());
    QPen dashed = Pen(kPathRed, 2.0);
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{6, 44}, {7, 26}, {14, 14}, {19, 5}, {33, 5}, {38, 16},
                             {44, 26}, {42, 44}});
  });
}

QIcon StartPositionPicture() {
  return Icon([](QPainter& p) {
    p.setPen(Pen(kInk, 2.5));
    p.drawLine(QPointF(12, 44), QPointF(12, 4));
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(QColor(0x20, 0xA0, 0x40));
    p.drawPolygon(QPolygonF{{12, 5}, {40, 13}, {12, 22}});
    p.drawLine(QPointF(4, 44), QPointF(24, 44));
  });
}

QIcon WirePathPicture() {
  return Icon([](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kSteel);
    p.drawRect(QRectF(10, 14, 28, 22));
    p.setPen(Pen(kPathRed, 2.5));
    p.drawLine(QPointF(24, 2), QPointF(24, 46));
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(kAxisBlue, 2.5));
    p.drawArc(QRectF(4, 30, 40, 14), 200 * 16, 140 * 16);
    Arrow(p, QPointF(37, 43), QPointF(43, 39), kAxisBlue, 2.5);
  });
}

QIcon ClearProgramPicture() {
  return Icon([](QPainter& p) {
    Page(p);
    p.setPen(Pen(kPathRed, 4.0));
    p.drawLine(QPointF(18, 20), QPointF(38, 40));
    p.drawLine(QPointF(38, 20), QPointF(18, 40));
  });
}

QIcon CarvedResultPicture() {
  return Icon([](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(QColor(0xA8, 0xC4, 0xE8, 0x90));
    p.drawPolygon(QPolygonF{{8, 44}, {8, 14}, {16, 4}, {32, 4}, {40, 14}, {40, 44}});
    p.setBrush(kModelBlue);
    p.drawPath(Silhouette());
  });
}

QPixmap AxisPicture(Axis axis, int size) {
  return Draw(size, [axis](QPainter& p) {
    const QColor color = AxisColor(axis);
    const QString letter = QString::fromLatin1(AxisLetter(axis));
    switch (axis) {
      case Axis::X:
        Arrow(p, QPointF(6, 34), QPointF(44, 34), color);
        Letter(p, QRectF(16, 6, 20, 20), letter, color);
        break;
      case Axis::Y:
        Arrow(p, QPointF(8, 40), QPointF(38, 12), color);
        Letter(p, QRectF(4, 8, 20, 20), letter, color);
        break;
      case Axis::Z:
        Arrow(p, QPointF(16, 44), QPointF(16, 4), color);
        Letter(p, QRectF(24, 14, 20, 20), letter, color);
        break;
    }
  });
}

QPixmap DiameterPicture(int size) {
  return Draw(size, [](QPainter& p) {
    p.setPen(Pen(kInk, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(24, 24), 18, 18);
    Arrow(p, QPointF(24, 24), QPointF(40, 12), kPathRed, 2.0);
    Arrow(p, QPointF(24, 24), QPointF(8, 36), kPathRed, 2.0);
  });
}

QPixmap ProbePicture(int size) { return Draw(size, ProbeOn); }

QPixmap MirrorZPicture(int size) {
  return Draw(size, [](QPainter& p) {
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kModelBlue);
    p.drawPath(Bump(24, 16));
    QPen outline = Pen(kModelBlue, 1.5);
    outline.setStyle(Qt::DashLine);
    p.setPen(outline);
    p.setBrush(QColor(0xB8, 0xCC, 0xF0));
    p.drawPath(Bump(24, -16));
    Platform(p, 24);
    Arrow(p, QPointF(42, 18), QPointF(42, 4), kAxisBlue, 2.0);
    Arrow(p, QPointF(42, 30), QPointF(42, 44), kAxisBlue, 2.0);
    Letter(p, QRectF(0, 0, 14, 16), QStringLiteral("Z"), kAxisBlue);
  });
}

QPixmap TurnModelPicture(Axis axis, int size) {
  return Draw(size, [axis](QPainter& p) {
    const QColor color = AxisColor(axis);
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kModelBlue);
    p.drawPath(Bump(36, 18));
    Platform(p, 36);
    // The axis through the model, and a turn around it drawn in perspective: about X
    // the axis runs across, about Y into the picture.
    const QPointF from = axis == Axis::X ? QPointF(4, 28) : QPointF(12, 42);
    const QPointF to = axis == Axis::X ? QPointF(46, 28) : QPointF(40, 10);
    Arrow(p, from, to, color, 2.5);
    p.save();
    p.translate(axis == Axis::X ? QPointF(36, 28) : QPointF(24, 29));
    p.rotate(axis == Axis::X ? 0 : -49);
    p.setPen(Pen(color, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-5, -13, 10, 26), 110 * 16, 260 * 16);
    Arrow(p, QPointF(-3, 10), QPointF(1, 13), color, 2.0);
    p.restore();
    Letter(p, QRectF(0, 0, 18, 18), QString::fromLatin1(AxisLetter(axis)), color);
  });
}

QPixmap HorizontalAxisPicture(int size) {
  return Draw(size, [](QPainter& p) {
    Arrow(p, QPointF(24, 24), QPointF(44, 24), kRed);
    Arrow(p, QPointF(24, 24), QPointF(4, 24), kRed);
  });
}

QPixmap VerticalAxisPicture(int size) {
  return Draw(size, [](QPainter& p) {
    Arrow(p, QPointF(24, 24), QPointF(24, 4), kGreen);
    Arrow(p, QPointF(24, 24), QPointF(24, 44), kGreen);
  });
}

QPixmap RotaryAxisPicture(int size) {
  return Draw(size, [](QPainter& p) {
    p.setPen(Pen(kAxisBlue, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 14, 36, 20), 30 * 16, 300 * 16);
    Arrow(p, QPointF(35, 31), QPointF(41, 27), kAxisBlue);
    p.setPen(Pen(kInk, 2.0));
    p.drawLine(QPointF(24, 4), QPointF(24, 44));
  });
}

QPixmap SectionAnglePicture(QSize size) {
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  const int glyph = size.height() - 4;
  QPainter(&picture).drawPixmap(24, 2, RotaryAxisPicture(glyph));
  return picture;
}

}  // namespace vantora
