#pragma once

// Looking at what a 3D view drew on an X server: where the camera puts a point, the
// colours the scene uses, and frames grabbed and kept for a person to look at.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QOpenGLWidget>
#include <cmath>
#include <functional>
#include <numbers>

#include "gui_testing.h"
#include "view3d/opengl_form.h"

namespace vantora::testing {

// The camera of ApplyViewTransform and the perspective of SetProjection, worked out
// on the CPU: the pixel of a grabbed frame (top-left origin) where a point in view
// units lands.
inline QPointF Project(const ViewState& v, QSize size, Vec3 point) {
  const auto turn = [](double& a, double& b, double degrees) {
    const double r = degrees * std::numbers::pi / 180.0;
    const double ca = std::cos(r) * a - std::sin(r) * b;
    b = std::sin(r) * a + std::cos(r) * b;
    a = ca;
  };
  const auto scaled = [&](int axis) { return (point[axis] - v.Pivot[axis]) * double(v.ZoomScale); };
  double x = scaled(0), y = scaled(1), z = scaled(2);
  turn(z, x, v.ViewAngleY);   // about Y by +ViewAngleY
  turn(y, z, -v.ViewAngleX);  // about X by -ViewAngleX
  turn(x, y, -v.ViewAngleZ);  // about Z by -ViewAngleZ
  x += v.PanX;
  y += v.PanY;
  z -= v.EyeDistance;
  const double f = 1.0 / std::tan(std::numbers::pi / 6.0);  // 60 degrees field of view
  const double aspect = double(size.width()) / size.height();
  const double ndcX = f / aspect * x / -z, ndcY = f * y / -z;
  return {(ndcX + 1) / 2 * size.width(), (1 - ndcY) / 2 * size.height()};
}

// Where a point in view units lands in the frame of `view` (a model view or the
// carved-result view).
template <class View>
QPointF At(const View& view, Vec3 point) {
  return Project(view.View, Child<QOpenGLWidget>(view, "GlView")->size(), point);
}

inline bool IsBlack(QColor c) { return c.red() < 8 && c.green() < 8 && c.blue() < 8; }
// The model's front material: lit, green a little above red, blue lowest.
inline bool IsFrontLit(QColor c) {
  return c.green() > 60 && c.green() > c.red() && c.red() > c.blue();
}
// The back of a facet: the library's default grey material.
inline bool IsBackLit(QColor c) {
  return c.red() > 60 && std::abs(c.red() - c.green()) < 8 && std::abs(c.green() - c.blue()) < 8;
}

// The carved-result view: the model's green seen through the translucent solid still
// leads well; the solid alone over the black ground is a blue well apart from it.
inline bool IsModelInside(QColor c) {
  return c.green() > 60 && c.green() > c.blue() + 40 && c.green() > c.red() + 40;
}
inline bool IsSolidOnly(QColor c) {
  return c.blue() > 40 && c.blue() > c.green() + 40 && c.green() > c.red();
}

// Whether a pixel within `radius` of `at` passes `test`.
inline bool Near(const QImage& frame, QPointF at, const std::function<bool(QColor)>& test,
                 int radius = 2) {
  const QPoint centre = at.toPoint();
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const QPoint p = centre + QPoint(dx, dy);
      if (frame.rect().contains(p) && test(frame.pixelColor(p))) return true;
    }
  }
  return false;
}

// Keeps `frame` as artefacts/<folder>/<test>-<name>.png for a person to look at.
inline const QImage& Keep(const QImage& frame, const char* folder, const char* name) {
  const QString artefacts = QStringLiteral(VANTORA_ARTEFACTS "/") + folder;
  QDir().mkpath(artefacts);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  frame.save(artefacts + "/" + info->name() + "-" + name + ".png");
  return frame;
}

// The frame `view` draws now, kept in artefacts/view3d/.
inline QImage Grab(QWidget& view, const char* name) {
  return Keep(Child<QOpenGLWidget>(view, "GlView")->grabFramebuffer(), "view3d", name);
}

}  // namespace vantora::testing
