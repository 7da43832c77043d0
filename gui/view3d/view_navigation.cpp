#include "view3d/view_navigation.h"

#include <QGridLayout>
#include <algorithm>

#include "common/controls.h"
#include "common/handlers.h"
#include "common/pictures.h"

namespace vantora {
namespace {

constexpr QSize kViewButton{64, 52};

}  // namespace

ViewNavigation::ViewNavigation(Host& host, QWidget* panel, ViewState& view,
                               QWidget& drawingArea, std::function<void()> redraw)
    : Buttons(new QGridLayout), view_(view), drawingArea_(drawingArea), redraw_(std::move(redraw)) {
  Buttons->setSpacing(4);
  const auto button = [&](const char* name, const QIcon& picture, const char* hint, int row,
                          int column) {
    QToolButton* b = MakeSpeedButton(panel, name, picture, QString::fromLatin1(hint), kViewButton);
    Buttons->addWidget(b, row, column);
    return b;
  };
  ZoomInButtom = button("ZoomInButtom", ZoomPicture(true), "Zoom in", 0, 0);
  ZoomOutButton = button("ZoomOutButton", ZoomPicture(false), "Zoom out", 0, 1);
  TopButton = button("TopButton", ViewFromPicture(QStringLiteral("+Z")), "Top", 1, 0);
  ButtomButton = button("ButtomButton", ViewFromPicture(QStringLiteral("-Z")), "Bottom", 1, 1);
  YAddButton = button("YAddButton", ViewFromPicture(QStringLiteral("+Y")), "Back", 2, 0);
  YLessButton = button("YLessButton", ViewFromPicture(QStringLiteral("-Y")), "Front", 2, 1);
  XLessButton = button("XLessButton", ViewFromPicture(QStringLiteral("+X")), "Right", 3, 0);
  XAddButton = button("XAddButton", ViewFromPicture(QStringLiteral("-X")), "Left", 3, 1);
  YLessButton->setEnabled(false);

  BindClick(host, ZoomInButtom, panel, [this](QObject* b) { ZoomInButtomClick(b); });
  BindClick(host, ZoomOutButton, panel, [this](QObject* b) { ZoomInButtomClick(b); });
  for (QToolButton* b : PresetButtons()) {
    BindClick(host, b, panel, [this](QObject* sender) { RoteButton(sender); });
  }
}

void ViewNavigation::ZoomInButtomClick(QObject* sender) {
  if (sender == ZoomOutButton) {
    view_.ZoomOut();
  } else {
    view_.ZoomIn();
  }
  redraw_();
}

std::array<QToolButton*, 6> ViewNavigation::PresetButtons() const {
  return {TopButton, ButtomButton, YAddButton, YLessButton, XLessButton, XAddButton};
}

void ViewNavigation::RoteButton(QObject* sender) {
  const auto presets = PresetButtons();
  const auto pressed = std::find(presets.begin(), presets.end(), sender);
  if (pressed == presets.end()) return;
  const int number = int(pressed - presets.begin()) + 1;
  view_.ShowFrom(ViewPreset(number));
  SetViewButtons(number);
  redraw_();
}

void ViewNavigation::SetViewButtons(int pressed) {
  const auto presets = PresetButtons();
  for (int i = 0; i < 6; ++i) presets[i]->setEnabled(i + 1 != pressed);
}

void ViewNavigation::MouseDown(int x, int y) {
  drawingArea_.setCursor(Qt::PointingHandCursor);
  view_.DownX = x;
  view_.DownY = y;
}

void ViewNavigation::MouseUp(int x, int y) {
  view_.PanTo(x, y);
  redraw_();
}

}  // namespace vantora
