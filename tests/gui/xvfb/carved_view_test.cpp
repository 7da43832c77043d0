// The carved-result view drawn for real on an X server (Xvfb, Mesa): a known solid
// around a known model, each frame grabbed from the view's framebuffer, checked where
// the camera puts them, and kept in artefacts/view3d/.
#include <gtest/gtest.h>

#include <QPushButton>
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

// The model shows inside the translucent solid, the solid around it in the colour of
// the most material left (blue), nothing beyond, seen from the front (from above the
// swept torus shows the same in CarvedResultTest, tool_path_view_test.cpp). A facet the
// program takes shows red. Without the model the solid stands alone, opaque.
TEST_F(CarvedViewTest, ModelShowsThroughTheSolidAroundIt) {
  SweptCarving carving;
  carving.Model = Box({-0.2f, -0.2f, 0}, {0.2f, 0.2f, 0.3f});
  carving.Carved.Solid = Box({-0.6f, -0.6f, 0}, {0.6f, 0.6f, 0.4f});
  carving.Colours.MaterialLeft.assign(std::size_t(carving.Carved.Solid->FacetCount), 0.4f);
  for (int k = 0; k < carving.Model->FacetCount; ++k) {  // the side facing -Y is cut
    carving.Colours.Taken.push_back(carving.Model->Facets[std::size_t(k)].Normal[1] < -0.5f);
  }
  CarvedView view(host, store(), std::move(carving), nullptr);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  view.Navigation->YLessButton->click();
  const QImage frame = Grab(view, "front");
  const auto colour = [&](const QImage& image, Vec3 at) {
    return image.pixelColor(At(view, at).toPoint()).name().toStdString();
  };
  const Vec3 model{0, -0.2f, 0.15f}, solidOnly{0.45f, -0.6f, 0.2f};
  const auto isCut = [](QColor c) { return c.red() > c.green() + 30 && c.red() > c.blue() + 20; };
  EXPECT_TRUE(Near(frame, At(view, model), isCut, 0)) << colour(frame, model);
  EXPECT_TRUE(Near(frame, At(view, solidOnly), IsSolidOnly, 0)) << colour(frame, solidOnly);
  EXPECT_TRUE(Near(frame, At(view, {0, -0.6f, 0.7f}), IsBlack, 0));

  view.ModelButton->click();
  const QImage alone = Grab(view, "front-solid-alone");
  EXPECT_TRUE(Near(alone, At(view, model), IsSolidOnly, 0)) << colour(alone, model);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
