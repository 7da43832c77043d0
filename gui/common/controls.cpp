#include "common/controls.h"

#include <QHBoxLayout>

#include "common/appearance.h"

namespace vantora {

QFrame* MakePanel(QWidget* parent, const char* name, const QColor& color) {
  auto* panel = MakeControl<QFrame>(parent, name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  SetBackground(*panel, color);
  return panel;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font) {
  auto* label = MakeControl<QLabel>(parent, name);
  label->setText(text);
  label->setFont(font);
  return label;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QPixmap& picture) {
  auto* image = MakeControl<QLabel>(parent, name);
  image->setPixmap(picture);
  image->setFixedSize(picture.size());
  return image;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text) {
  auto* edit = MakeControl<QLineEdit>(parent, name);
  edit->setText(text);
  SetBase(*edit, kWindowColor);
  ShowLockedReadably(*edit);
  return edit;
}

QPushButton* MakeOkButton(QFrame* panel, const char* name) {
  auto* button = MakeControl<QPushButton>(panel, name);
  button->setText(QStringLiteral("OK"));
  auto* layout = new QHBoxLayout(panel);
  layout->addStretch(1);
  layout->addWidget(button);
  layout->addStretch(1);
  return button;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QIcon& picture,
                             const QString& hint, QSize size) {
  auto* button = MakeControl<QToolButton>(parent, name);
  button->setIcon(picture);
  button->setIconSize(size * 0.7);
  button->setFixedSize(size);
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace vantora
