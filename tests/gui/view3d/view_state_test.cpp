#include "view3d/view_state.h"

#include <gtest/gtest.h>

namespace vantora {
namespace {

TEST(ViewStateTest, StartsLookingFromTheFront) {
  const ViewState v;
  EXPECT_EQ(v.PanX, 0.2f);
  EXPECT_EQ(v.PanY, -1.2f);
  EXPECT_EQ(v.EyeDistance, 4.5);
  EXPECT_EQ(v.ViewAngleX, 90.0f);
  EXPECT_EQ(v.ViewAngleY, 0.0f);
  EXPECT_EQ(v.ViewAngleZ, 0.0f);
  EXPECT_EQ(v.ZoomScale, 1.0f);
}

TEST(ViewStateTest, DragPansBySixThousandthsAcrossAndSevenAndAHalfDown) {
  ViewState v;
  v.DownX = 100;
  v.DownY = 100;
  v.PanTo(150, 80);
  EXPECT_EQ(v.PanX, float(double(0.2f) + 50 * 0.001 * 6.0));
  EXPECT_EQ(v.PanY, float(double(-1.2f) + 20 * 0.00125 * 6.0));
  EXPECT_NEAR(v.PanX, 0.5, 1e-6);
  EXPECT_NEAR(v.PanY, -1.05, 1e-6);

  // A click without movement pans nothing.
  const ViewState before = v;
  v.DownX = 300;
  v.DownY = 40;
  v.PanTo(300, 40);
  EXPECT_EQ(v.PanX, before.PanX);
  EXPECT_EQ(v.PanY, before.PanY);
}

TEST(ViewStateTest, ReleaseWithoutPressPansFromTheLastPress) {
  ViewState v;  // no press yet: from (0, 0)
  v.PanTo(10, 20);
  EXPECT_NEAR(v.PanX, 0.2 + 0.06, 1e-6);
  EXPECT_NEAR(v.PanY, -1.2 - 0.15, 1e-6);
}

TEST(ViewStateTest, ZoomOutSnapsToTheFloorAndAlternatesThere) {
  ViewState v;
  const float tiny = float(double(0.3f) - 0.3);  // the f32 0.3 lies above the double
  ASSERT_GT(tiny, 0.0f);
  ASSERT_LT(tiny, 2e-8f);
  const float expected[] = {0.7f, 0.4f, float(double(float(double(0.7f) - 0.3)) - 0.3), 0.3f,
                            tiny, 0.3f, tiny, 0.3f};
  for (float e : expected) {
    v.ZoomOut();
    EXPECT_FLOAT_EQ(v.ZoomScale, e);
  }
  EXPECT_NEAR(expected[2], 0.1f, 1e-6f);
}

TEST(ViewStateTest, ZoomInHasNoLimit) {
  ViewState v;
  for (float e : {1.3f, 1.6f, 1.9f, 2.2f}) {
    v.ZoomIn();
    EXPECT_FLOAT_EQ(v.ZoomScale, e);
  }
  for (int i = 0; i < 100; ++i) v.ZoomIn();
  EXPECT_NEAR(v.ZoomScale, 32.2f, 1e-3f);
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
