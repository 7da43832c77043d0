#include "view3d/view_state.h"

#include <gtest/gtest.h>

namespace vantora {
namespace {

TEST(ViewStateTest, ZoomOutSnapsToTheFloorAndAlternatesThere) {
  ViewState v;
  const float tiny = float(double(0.3f) - 0.3);  // the f32 0.3 lies above the double
  ASSERT_GT(tiny, 0.0f);
  ASSERT_LT(tiny, 2e-8f);
  const float third = float(double(float(double(0.7f) - 0.3)) - 0.3);  // about 0.1
  for (float e : {0.7f, 0.4f, third, 0.3f, tiny, 0.3f, tiny, 0.3f}) {
    v.ZoomOut();
    EXPECT_FLOAT_EQ(v.ZoomScale, e);
  }
}

TEST(ViewStateTest, PresetsSetTheirAnglesWithoutAccumulating) {
  struct Row {
    ViewPreset preset;
    float z, x, y;
  };
  const Row rows[] = {{ViewPreset::Top, 0, 0, 0},          {ViewPreset::Bottom, 0, 0, 180},
                      {ViewPreset::FromPlusY, 0, -90, 180}, {ViewPreset::FromMinusY, 0, 90, 0},
                      {ViewPreset::FromPlusX, 90, 0, -90},  {ViewPreset::FromMinusX, -90, 0, 90}};
  ViewState v;
  v.PanX = 1.5f;
  v.ZoomScale = 2.5f;
  for (int round = 0; round < 2; ++round) {
    for (const Row& r : rows) {
      v.ShowFrom(r.preset);
      EXPECT_EQ(v.ViewAngleZ, r.z);
      EXPECT_EQ(v.ViewAngleX, r.x);
      EXPECT_EQ(v.ViewAngleY, r.y);
    }
  }
  EXPECT_EQ(v.PanX, 1.5f);
  EXPECT_EQ(v.ZoomScale, 2.5f);
}

}  // namespace
}  // namespace vantora
