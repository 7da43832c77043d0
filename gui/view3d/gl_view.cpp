#include "view3d/gl_view.h"

#include <QMouseEvent>

namespace vantora {

GlView::GlView(QWidget* parent, Events events)
    : QOpenGLWidget(parent), events_(std::move(events)) {
  setObjectName(QStringLiteral("GlView"));
}

int GlView::DevicePixels(int logical) const { return int(logical * devicePixelRatioF()); }

void GlView::initializeGL() { events_.Create(DevicePixels(width()), DevicePixels(height())); }

void GlView::resizeGL(int width, int height) {
  events_.Resize(DevicePixels(width), DevicePixels(height));
}

void GlView::paintGL() { events_.Paint(); }

void GlView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  events_.MouseDown(p.x(), p.y());
}

void GlView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  events_.MouseUp(p.x(), p.y());
}

}  // namespace vantora
