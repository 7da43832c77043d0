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

}  // namespace
}  // namespace vantora
