// The "Tool Path Form" as the tool-path set-up opens it: its controls, its place
// beside the main window, and the origin, scale and markers it works out. The drawing
// itself is checked on a real screen (xvfb/tool_path_view_test.cpp).
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "toolpath/tool_path_testing.h"

namespace vantora {
namespace {

class OutLineFormTest : public testing::ToolPathTest {
 protected:
  // The box of BoxFile(), or one `height` mm high, set up with the default fields in a
  // main window of its designed size, 1099 x 750.
  void SetUpBox(float height = 20) {
    testing::WriteFile(dir.File("box.stl"), testing::TextStlBox(20, height));
    OpenModel(dir.File("box.stl"));
    Click("PosNcButton");
  }
};

TEST_F(OutLineFormTest, ControlsAsDescribed) {
  SetUpBox();
  TOutLineForm& view = pathForm();
  EXPECT_EQ(view.windowTitle(), "Tool Path Form");
  EXPECT_TRUE(view.isWindow());
  EXPECT_EQ(view.parentWidget(), &form());
  EXPECT_FALSE(view.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(view.windowFlags() & Qt::WindowMinMaxButtonsHint);
  EXPECT_FALSE(view.isModal());
  EXPECT_TRUE(view.RoteDegEdit->isReadOnly());
  EXPECT_EQ(view.RoteDegEdit->text(), "0.00");
}

TEST_F(OutLineFormTest, PlacedBesideTheParameterPanel) {
  SetUpBox();
  // Left at the panel's 289 pixels and 5 more, 100 down; as wide as the rest of the
  // main window, 80 pixels less high than it.
  EXPECT_EQ(pathForm().pos(), QPoint(294, 100));
  EXPECT_EQ(pathForm().size(), QSize(1099 - 294, 750 - 80));
  EXPECT_EQ(pathForm().Canvas().size(), pathForm().size());
}

TEST_F(OutLineFormTest, OriginScaleAndMarkersForTheSetUp) {
  SetUpBox();
  const TOutLineForm& view = pathForm();
  // Client 805 x 670.
  EXPECT_EQ(view.OriginX, 352);
  EXPECT_EQ(view.OriginY, 570);
  // The widest span is the raster's 2 x 16.056 mm: 570 / 32.113 x 0.8 pixels per mm.
  EXPECT_NEAR(view.ViewScale, 14.2, 0.001);
  EXPECT_EQ(view.ViewScale, float(double(570.0f / float(store().MaxX - store().MinX)) * 0.8));

  // The start-height bar on raster row 0, the angle panel just below it.
  EXPECT_EQ(view.Panel2->geometry(), QRect(50, 570, 805 - 200, 4));
  EXPECT_EQ(view.Panel1->pos(), QPoint(805 / 2 - 180, 575));
  EXPECT_EQ(view.ZLabel->pos(), QPoint(605 + 80, 565));
  EXPECT_EQ(view.ZLabel->text(), "0.000");
  // The preset range: the markers at MinX and MaxX, -16.056 x 14.2 = -227.5 (truncated
  // toward zero after adding 0.5: -227) and 228.5 pixels from the origin column.
  EXPECT_EQ(view.XPanel->pos(), QPoint(352 - 227, 550));
  EXPECT_EQ(view.EndXPanel->pos(), QPoint(352 + 228, 550));
  EXPECT_EQ(view.StartXLabel->pos(), QPoint(352 - 227 - 60, 550));
  EXPECT_EQ(view.EndXLabel->pos(), QPoint(352 + 228 + 10, 550));
  EXPECT_EQ(view.StartXLabel->text(), "-16.056");
  EXPECT_EQ(view.EndXLabel->text(), "16.056");
}

TEST_F(OutLineFormTest, TallestSpanSetsTheScale) {
  SetUpBox(100);
  // 100 mm high against a raster 32.1 mm wide.
  EXPECT_EQ(pathForm().ViewScale, float(double(570.0f / 100.0f) * 0.8));
}

TEST_F(OutLineFormTest, ResizeRecomputesOriginScaleAndMarkers) {
  SetUpBox();
  TOutLineForm& view = pathForm();
  const float wide = view.ViewScale;
  view.setFixedSize(705, 470);
  EXPECT_EQ(view.OriginX, 302);
  EXPECT_EQ(view.OriginY, 370);
  EXPECT_FLOAT_EQ(view.ViewScale, wide * 370 / 570);
  EXPECT_EQ(view.Panel2->geometry(), QRect(50, 370, 505, 4));
  EXPECT_EQ(view.Panel1->pos(), QPoint(705 / 2 - 180, 375));
  EXPECT_EQ(view.ZLabel->pos(), QPoint(505 + 80, 365));
  EXPECT_EQ(view.Canvas().size(), QSize(705, 470));
}

}  // namespace
}  // namespace vantora
