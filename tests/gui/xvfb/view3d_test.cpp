// The 3D view drawn for real on an X server (Xvfb, Mesa): every frame is grabbed from
// the view's framebuffer, checked where the camera puts the model, and kept in
// artefacts/view3d/ for a person to look at.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <optional>

#include "frame_testing.h"
#include "stl_builder.h"

namespace vantora {
namespace {

using namespace testing;

// A closed box of twelve facets around `centre`, wound outwards, in view units.
void AddBox(FacetTable& table, Vec3 centre, float half) {
  const Vec3 lo{centre[0] - half, centre[1] - half, centre[2] - half};
  const Vec3 hi{centre[0] + half, centre[1] + half, centre[2] + half};
  for (const StlRecord& r : BoxFacets(lo, hi)) {
    table.AddFacet({r[3], r[4], r[5]}, {r[6], r[7], r[8]}, {r[9], r[10], r[11]}, 1.0f);
  }
}

class View3dTest : public StartedApplicationTest {
 protected:
  void SetUp() override {
    store().ViewDistance = 1.0f;
    // Negative bounds give an empty grid: only the model shows.
    store().MaxX = store().MaxY = -1.0;
  }

  // A new model view, shown, as the open-file flow makes one, with a box of half size
  // `half` around `centre`, if given.
  std::unique_ptr<TOpenGL_Form> ShowView(std::optional<Vec3> centre = {}, float half = 0.1f) {
    auto view = std::make_unique<TOpenGL_Form>(host, form());
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    if (centre) {
      AddBox(view->Table, *centre, half);
      view->BuildModelList();
    }
    return view;
  }
};

TEST_F(View3dTest, OneFacetAppearsLitFrontAboveAndBackBelow) {
  auto view = ShowView();
  // Wound counter-clockwise seen from +Z: its front faces up.
  view->Table.AddFacet({-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0}, {0, 0.5f, 0}, 1.0f);
  view->BuildModelList();
  view->Navigation->TopButton->click();
  EXPECT_TRUE(Near(Grab(*view, "top"), At(*view, {0, -0.1f, 0}), IsFrontLit, 0));
  view->Navigation->ButtomButton->click();
  EXPECT_TRUE(Near(Grab(*view, "bottom"), At(*view, {0, -0.1f, 0}), IsBackLit, 0));
}

// Each camera change, the six presets, zooming and a drag, moves the picture to where
// the projection puts the model, and away from where it was.
TEST_F(View3dTest, CameraChangesMoveThePictureWhereTheProjectionSays) {
  const Vec3 centre{0.5f, 0.3f, 0.2f};
  auto view = ShowView(centre, 0.08f);
  auto* gl = Child<QOpenGLWidget>(*view, "GlView");
  const auto clicks = [&view](const char* button, int times = 1) {
    return [&view, button, times] {
      for (int i = 0; i < times; ++i) Child<QToolButton>(*view, button)->click();
    };
  };
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"top", clicks("TopButton")},       {"bottom", clicks("ButtomButton")},
      {"plus-y", clicks("YAddButton")},   {"minus-y", clicks("YLessButton")},
      {"minus-x", clicks("XLessButton")}, {"plus-x", clicks("XAddButton")},
      {"zoom-in", clicks("ZoomInButtom", 2)}, {"zoom-out", clicks("ZoomOutButton", 3)},
      {"drag", [gl] {
         QTest::mousePress(gl, Qt::LeftButton, {}, QPoint(100, 100));
         QTest::mouseRelease(gl, Qt::LeftButton, {}, QPoint(150, 80));
       }}};
  QPointF was = At(*view, centre);
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    const QImage frame = Grab(*view, name);
    const QPointF now = At(*view, centre);
    EXPECT_TRUE(Near(frame, now, IsFrontLit, 0));
    if (std::hypot(now.x() - was.x(), now.y() - was.y()) > 30) {
      EXPECT_TRUE(Near(frame, was, IsBlack, 0));
    }
    was = now;
  }
}

// Each added scan is drawn with those before it: a third one leaves the second shown.
TEST_F(View3dTest, AddedScansShowBesideTheFirstModel) {
  auto view = ShowView();
  view->Navigation->TopButton->click();
  const Vec3 first{-0.6f, 0, 0}, second{0, 0.5f, 0}, third{0.6f, 0, 0};
  int scans = 0;
  for (Vec3 centre : {first, second, third}) {
    form().session().ScanFileCount = scans++;
    AddBox(view->Table, centre, 0.1f);
    view->BuildModelList();
  }

  const QImage frame = Grab(*view, "three-scans");
  for (Vec3 centre : {first, second, third}) {
    EXPECT_TRUE(Near(frame, At(*view, centre), IsFrontLit, 0)) << centre[0] << "," << centre[1];
  }
}

TEST_F(View3dTest, TurnedModelIsRecompiledAndRedrawn) {
  auto view = ShowView(Vec3{0.8f, 0, 0.1f});
  view->Panel3->show();  // as the open-file flow leaves a view of an STL file
  view->Navigation->TopButton->click();
  EXPECT_TRUE(Near(Grab(*view, "before"), At(*view, {0.8f, 0, 0.1f}), IsFrontLit, 0));

  view->MoveDegEdit->setText(QStringLiteral("90"));
  view->RoteZButton->click();
  // Turned onto +Y (y 0.7 to 0.9), then moved until its box, with the origin, is
  // centred: y 0.25 to 0.45.
  const QImage after = Grab(*view, "after");
  EXPECT_TRUE(Near(after, At(*view, {0, 0.35f, 0.1f}), IsFrontLit, 0));
  EXPECT_TRUE(Near(after, At(*view, {0.8f, 0, 0.1f}), IsBlack, 0));
}

TEST_F(View3dTest, FailedFrameIsReportedOnceAndTheNextOneDraws) {
  auto view = ShowView();
  AddBox(view->Table, {0, 0, 0.3f}, 0.1f);
  auto* gl = Child<QOpenGLWidget>(*view, "GlView");
  // A list left open in the context makes the frame's own list compile fail, as a
  // driver that cannot take the model would.
  gl->makeCurrent();
  glNewList(99, GL_COMPILE);
  gl->doneCurrent();
  view->BuildModelList();
  Grab(*view, "failed");
  QTest::qWait(20);
  ASSERT_EQ(host.messages.size(), 1u);

  gl->makeCurrent();
  glEndList();
  gl->doneCurrent();
  view->Table.FirstNewFacet = 0;
  view->BuildModelList();
  const QImage frame = Grab(*view, "recovered");
  QTest::qWait(20);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(Near(frame, At(*view, {0, 0, 0.3f}), IsFrontLit, 0));
}

TEST_F(View3dTest, ViewsDrawTheirOwnModels) {
  const Vec3 l{-0.5f, 0, 0.2f}, r{0.5f, 0, 0.2f};
  auto left = ShowView(l);
  auto right = ShowView(r);
  // Each view's own box, and not the other's.
  const auto expectOwn = [](TOpenGL_Form& view, Vec3 own, Vec3 other, const char* name) {
    const QImage frame = Grab(view, name);
    EXPECT_TRUE(Near(frame, At(view, own), IsFrontLit, 0)) << name;
    EXPECT_TRUE(Near(frame, At(view, other), IsBlack, 0)) << name;
  };
  for (int round = 0; round < 2; ++round) {
    expectOwn(*left, l, r, "left");
    expectOwn(*right, r, l, "right");
  }
  left.reset();  // releases its lists in its own context
  expectOwn(*right, r, l, "right-alone");
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
