#include "view3d/opengl_form.h"

#include "common/appearance.h"

namespace vantora {

TOpenGL_Form::TOpenGL_Form(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("OpenGL_Form"));
  setWindowTitle(QStringLiteral("3D"));
  setFixedSize(757, 650);
  setFont(FormFont(11));
  SetBackground(*this, Qt::black);
}

}  // namespace vantora
