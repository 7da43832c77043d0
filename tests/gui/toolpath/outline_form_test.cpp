// The "Tool Path Form" as the tool-path set-up opens it: the origin and scale it works
// out keep the drawing inside the window. The drawing itself is checked on a real
// screen (xvfb/tool_path_view_test.cpp).
#include <gtest/gtest.h>

#include "toolpath/tool_path_testing.h"

namespace vantora {
namespace {

using OutLineFormTest = testing::ToolPathTest;

// The widest or tallest span of the raster fills four fifths of the height above the
// base line, at the window's size when set up and after a resize; the canvas follows.
TEST_F(OutLineFormTest, DrawingFitsTheWindow) {
  const struct {
    float height;
    QSize resized;
  } rows[] = {{20, {}}, {100, {}}, {20, {705, 470}}, {100, {1400, 300}}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.height);
    Restart();
    testing::WriteFile(dir.File("box.stl"), testing::TextStlBox(20, r.height));
    OpenModel(dir.File("box.stl"));
    Click("PosNcButton");
    TOutLineForm& view = pathForm();
    if (r.resized.isValid()) view.setFixedSize(r.resized);
    EXPECT_EQ(view.Canvas().size(), view.size());
    const double scale = view.ViewScale;
    const double spanX = (store().MaxX - store().MinX) * scale;
    const double spanZ = (store().MaxZ - store().MinZ) * scale;
    EXPECT_NEAR(std::max(spanX, spanZ), 0.8 * view.OriginY, 0.5);
    EXPECT_GE(view.OriginX + store().MinX * scale, 0);
    EXPECT_LE(view.OriginX + store().MaxX * scale, view.width());
    EXPECT_GE(view.OriginY - spanZ, 0);
    EXPECT_LT(view.OriginY, view.height());
  }
}

}  // namespace
}  // namespace vantora
