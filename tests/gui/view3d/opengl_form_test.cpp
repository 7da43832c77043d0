// The 3D view's handlers on Qt's offscreen platform. The view is never shown here
// (that needs OpenGL: see xvfb/view3d_test.cpp), so the lists are only asked for, not
// compiled.
#include "view3d/opengl_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "gui_testing.h"

namespace vantora {
namespace {

class OpenGlFormTest : public testing::StartedApplicationTest {
 protected:
  std::unique_ptr<TOpenGL_Form> NewView() { return std::make_unique<TOpenGL_Form>(host, form()); }
  double Size(const char* label) { return Find<QLabel>(label)->text().toDouble(); }
};

// An angle that is no number changes nothing. The import dialog's choice belongs to
// the scan it placed: turning the model later neither mirrors it again nor changes it.
TEST_F(OpenGlFormTest, TurningWritesTheSizesAndLeavesTheImportChoiceAlone) {
  auto v = NewView();
  v->Table.AddFacet({10, 0, 0}, {20, 0, 0}, {10, 5, 3}, 1.0f);
  v->Table.FirstNewFacet = 1;
  v->MoveDegEdit->setText(QStringLiteral("abc"));
  v->RoteZButton->click();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  EXPECT_EQ(v->Table.Facets[0].V1, (Vec3{10, 0, 0}));
  EXPECT_TRUE(Find("XLabel")->isHidden());

  form().session().ImportTurn = {true, false, true, false, 30.0f};  // mirrored and turned about Y
  v->MoveDegEdit->setText(QStringLiteral("90"));
  v->RoteZButton->click();
  // Turned by 1.5705 radians about Z only: x from -5 to 0, y from 0 to 20 (bounds
  // start at 0), the highest corner stays highest.
  EXPECT_NEAR(Size("XLabel"), 5.0, 0.01);
  EXPECT_NEAR(Size("YLabel"), 20.0, 1e-9);
  EXPECT_NEAR(Size("DiaLabel"), 20.616, 0.01);
  EXPECT_GT(v->Table.Facets[0].V3[2], v->Table.Facets[0].V1[2]);
  EXPECT_TRUE(form().session().ImportTurn.MirrorZ);
  EXPECT_TRUE(form().session().ImportTurn.RotateY);
  EXPECT_EQ(form().session().ImportTurn.Angle, 30.0f);
}

}  // namespace
}  // namespace vantora
