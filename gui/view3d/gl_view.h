#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "core/common/host.h"

namespace vantora {

// The drawing area of a 3D view: owns the OpenGL context and hands its moments to the
// window (create, resize, paint, mouse press and release). Qt makes the context current
// before each of them.
class GlView final : public QOpenGLWidget {
 public:
  struct Events {
    std::function<void(int width, int height)> Create;
    std::function<void(int width, int height)> Resize;
    std::function<void()> Paint;
    std::function<void(int x, int y)> MouseDown;
    std::function<void(int x, int y)> MouseUp;
  };

  GlView(QWidget* parent, Events events);

  // Whether the context exists: the view has been shown once.
  bool HasContext() const { return context() != nullptr; }

 protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int DevicePixels(int logical) const;

  Events events_;
};

// Draws one frame of `view` with `draw` under the hourglass, then puts the arrow cursor
// back. A frame that `draw` reports failed (false: the library reported an error) or
// that throws (for example no memory for a list) is abandoned, and "DisPlay card can
// not run OpenGL" is shown once the paint is over: a modal box inside it would paint
// the view again.
void PaintFrame(Host& host, GlView& view, const std::function<bool()>& draw);

}  // namespace vantora
