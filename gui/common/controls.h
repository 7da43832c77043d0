#pragma once

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

namespace vantora {

// Controls as the form descriptions give them: each carries its name as objectName,
// so code, tests and the Parts call it by the same name.
template <class Control>
Control* MakeControl(QWidget* parent, const char* name) {
  auto* control = new Control(parent);
  control->setObjectName(QLatin1String(name));
  return control;
}

// A raised panel filled with one colour.
QFrame* MakePanel(QWidget* parent, const char* name, const QColor& color);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font);
// A picture of a fixed size.
QLabel* MakeImage(QWidget* parent, const char* name, const QPixmap& picture);
// White while it can be typed in, locked (disabled) legibly.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text);
// The button "OK" centred in `panel`, the panel along the bottom of a dialog.
QPushButton* MakeOkButton(QFrame* panel, const char* name);
// A flat picture button of a fixed size that never takes the keyboard focus, so that
// clicking it leaves the guided input where it was.
QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QIcon& picture,
                             const QString& hint, QSize size);

}  // namespace vantora
