// The carved-result command after a sweep, on a model opened through the open button:
// the view it opens, read back from its framebuffer and from the screen.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "xvfb/frame_testing.h"
#include "toolpath/tool_path_testing.h"
#include "view3d/carved_view.h"

namespace vantora {
namespace {

using testing::At;
using testing::IsModelInside;
using testing::IsSolidOnly;
using testing::Near;

using CarvedResultTest = testing::ToolPathTest;

// The torus (R 100, r 30 mm) swept all round every 15 degrees: no wire reaches its
// hole, so the carved solid fills it, and the ring shows inside the solid where the
// model stands. The window as the screen shows it, from above at a slant, is kept as
// artefacts/carved_view.png: scripts/carved-view-picture copies it into docs/.
TEST_F(CarvedResultTest, SweptTorusShowsInsideTheSolidThatFillsItsHole) {
  OpenModel(VANTORA_EXAMPLES "/torus.stl");
  Click("PosNcButton");
  Type("EndDegEdit", "360");
  Type("StepDegEdit", "15");
  host.answers.push_back(false);  // No to "Save NC file ?"
  Click("PosWireButton");
  Click("CarvedButton");
  ASSERT_TRUE(host.messages.empty()) << host.messages.front();
  ASSERT_NE(form().CarvedResultView, nullptr);
  CarvedView& view = *form().CarvedResultView;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  view.Navigation->TopButton->click();
  const QImage top = testing::Grab(view, "torus-top");
  const float d = store().ViewDistance;
  EXPECT_TRUE(Near(top, At(view, {100 / d, 0, 60 / d}), IsModelInside, 0));
  EXPECT_TRUE(Near(top, At(view, {0, 0, 60 / d}), IsSolidOnly, 0));

  // Centred, from the front left and above.
  view.View = ViewState{};
  view.View.PanX = 0.05f;
  view.View.PanY = -0.25f;
  view.View.ViewAngleX = 62;
  view.View.ViewAngleZ = -30;
  view.View.ZoomScale = 1.15f;
  view.Navigation->SetViewButtons(0);  // no preset in force
  testing::Child<QOpenGLWidget>(view, "GlView")->update();
  QTest::qWait(50);  // the frame reaches the screen
  EXPECT_TRUE(view.screen()->grabWindow(view.winId()).save(VANTORA_ARTEFACTS "/carved_view.png"));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
