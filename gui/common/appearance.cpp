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

// The locked look: dark text on the panels' light grey, apart from the white of a
// field that can be typed in.
const QColor kLockedText{0x30, 0x30, 0x30};

void SetRole(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget.palette();
  palette.setColor(role, color);
  widget.setPalette(palette);
}

void SetRoleWhileEnabled(QWidget& widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget.palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, role, color);
  }
  widget.setPalette(palette);
}

}  // namespace

void SetBackground(QWidget& widget, const QColor& color) {
  SetRole(widget, QPalette::Window, color);
  widget.setAutoFillBackground(true);
}

void SetBase(QWidget& widget, const QColor& color) {
  SetRoleWhileEnabled(widget, QPalette::Base, color);
}

void ShowLockedReadably(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Disabled, QPalette::Text, kLockedText);
  palette.setColor(QPalette::Disabled, QPalette::Base, kBtnFace);
  widget.setPalette(palette);
}

void SetTextColor(QWidget& widget, const QColor& color) {
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    SetRole(widget, role, color);
  }
}

}  // namespace vantora
