#include "common/appearance.h"

#include <QPalette>
#include <QWidget>

namespace vantora {

QFont FormFont(int pixelHeight, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

namespace {

void SetRole(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget.palette();
  palette.setColor(role, color);
  widget.setPalette(palette);
}

}  // namespace

void SetBackground(QWidget& widget, const QColor& color) {
  SetRole(widget, QPalette::Window, color);
  widget.setAutoFillBackground(true);
}

void SetBase(QWidget& widget, const QColor& color) { SetRole(widget, QPalette::Base, color); }

void SetTextColor(QWidget& widget, const QColor& color) {
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    SetRole(widget, role, color);
  }
}

}  // namespace vantora
