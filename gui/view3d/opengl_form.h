#pragma once

#include <QWidget>

namespace vantora {

// The 3D view window ("3D"): a top-level window of 757 x 650 client pixels on black.
// Start-up keeps one of them hidden; the 3D view gives it its drawing context and
// controls.
class TOpenGL_Form : public QWidget {
  Q_OBJECT

 public:
  explicit TOpenGL_Form(QWidget* owner = nullptr);
};

}  // namespace vantora
