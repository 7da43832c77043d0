#include "view3d/gl_view.h"

#include <QMouseEvent>
#include <QTimer>

namespace vantora {
namespace {

constexpr const char* kDisplayCardMessage = "DisPlay card can not run OpenGL";

}  // namespace

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

void PaintFrame(Host& host, GlView& view, const std::function<bool()>& draw) {
  host.SetBusy(true);
  bool drawn = false;
  try {
    drawn = draw();
  } catch (...) {
    // Abandoned like a frame the library refused.
  }
  host.SetBusy(false);
  view.setCursor(Qt::ArrowCursor);
  if (!drawn) {
    QTimer::singleShot(0, &view, [&host] { host.ShowMessage(kDisplayCardMessage); });
  }
}

}  // namespace vantora
