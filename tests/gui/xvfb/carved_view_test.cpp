// The carved-result view drawn for real on an X server (Xvfb, Mesa): a known solid
// around a known model, each frame grabbed from the view's framebuffer, checked where
// the camera puts them, and kept in artefacts/view3d/.
#include <gtest/gtest.h>

#include <QTest>

#include "frame_testing.h"
#include "stl_builder.h"
#include "view3d/carved_view.h"

namespace vantora {
namespace {

using namespace testing;

// A closed box in millimetres with the file's outward normals, as an STL import and
// the carving leave their tables.
std::unique_ptr<FacetTable> Box(Vec3 lo, Vec3 hi) {
  auto table = std::make_unique<FacetTable>(12);
  table->UseFileNormals = true;
  for (const StlRecord& r : BoxFacets(lo, hi)) {
    table->Facets[table->FacetCount++] = {
        {r[0], r[1], r[2]}, {r[3], r[4], r[5]}, {r[6], r[7], r[8]}, {r[9], r[10], r[11]}};
  }
  return table;
}

class CarvedViewTest : public StartedApplicationTest {
 protected:
  void SetUp() override {
    store().ViewDistance = 1.0f;
    store().MaxX = store().MaxY = -1.0;  // an empty grid: only the two solids show
  }
};

// The model shows inside the translucent solid, the solid around it, nothing beyond,
// seen from the front (from above the swept torus shows the same in
// CarvedResultTest, tool_path_view_test.cpp).
TEST_F(CarvedViewTest, ModelShowsThroughTheSolidAroundIt) {
  SweptCarving carving;
  carving.Model = Box({-0.2f, -0.2f, 0}, {0.2f, 0.2f, 0.3f});
  carving.Carved.Solid = Box({-0.6f, -0.6f, 0}, {0.6f, 0.6f, 0.4f});
  CarvedView view(host, store(), std::move(carving), nullptr);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  view.Navigation->YLessButton->click();
  const QImage frame = Grab(view, "front");
  const auto colour = [&](Vec3 at) {
    return frame.pixelColor(At(view, at).toPoint()).name().toStdString();
  };
  const Vec3 model{0, -0.2f, 0.15f}, solidOnly{0.45f, -0.6f, 0.2f};
  EXPECT_TRUE(Near(frame, At(view, model), IsModelInside, 0)) << colour(model);
  EXPECT_TRUE(Near(frame, At(view, solidOnly), IsSolidOnly, 0)) << colour(solidOnly);
  EXPECT_TRUE(Near(frame, At(view, {0, -0.6f, 0.7f}), IsBlack, 0));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
