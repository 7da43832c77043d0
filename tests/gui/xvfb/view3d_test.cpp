// The 3D view drawn for real on an X server (Xvfb, Mesa): every frame is grabbed from
// the view's framebuffer, checked where the camera puts the model and the grid, and
// kept in artefacts/view3d/ for a person to look at.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "frame_testing.h"
#include "stl_builder.h"

namespace vantora {
namespace {

using testing::At;
using testing::Child;
using testing::Grab;
using testing::IsBackLit;
using testing::IsBlack;
using testing::IsFrontLit;
using testing::Near;
using testing::Project;

bool IsGreen(QColor c) { return c.green() > 150 && c.green() > c.red() + 40 && c.green() > c.blue() + 40; }
bool IsRed(QColor c) { return c.red() > 150 && c.red() > c.green() + 40 && c.red() > c.blue() + 40; }
// Runs of consecutive pixels passing `test` along the line from `from` to `to`.
int Runs(const QImage& frame, QPoint from, QPoint to, const std::function<bool(QColor)>& test) {
  const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
  int runs = 0;
  bool inRun = false;
  for (int i = 0; i <= steps; ++i) {
    const QPoint p = from + (to - from) * i / steps;
    const bool passes = test(frame.pixelColor(p));
    if (passes && !inRun) ++runs;
    inRun = passes;
  }
  return runs;
}

// A closed box of twelve facets around `centre`, wound outwards, in view units.
void AddBox(FacetTable& table, Vec3 centre, float half) {
  const Vec3 lo{centre[0] - half, centre[1] - half, centre[2] - half};
  const Vec3 hi{centre[0] + half, centre[1] + half, centre[2] + half};
  for (const testing::StlRecord& r : testing::BoxFacets(lo, hi)) {
    table.AddFacet({r[3], r[4], r[5]}, {r[6], r[7], r[8]}, {r[9], r[10], r[11]}, 1.0f);
  }
}

class View3dTest : public testing::StartedApplicationTest {
 protected:
  void SetUp() override {
    store().ViewDistance = 1.0f;
    // Negative bounds give an empty grid: only the model shows.
    store().MaxX = store().MaxY = -1.0;
  }

  TDataModule1& store() { return *app->DataModule1; }

  // A new model view, shown, as the open-file flow makes one.
  std::unique_ptr<TOpenGL_Form> ShowView() {
    auto view = std::make_unique<TOpenGL_Form>(host, form());
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    return view;
  }
};

TEST_F(View3dTest, FreshlyShownViewIsBlack) {
  auto view = ShowView();
  const QImage frame = Grab(*view, "fresh");
  ASSERT_FALSE(frame.isNull());
  EXPECT_EQ(frame.size(), view->size());
  for (int y = 0; y < frame.height(); y += 7) {
    for (int x = 0; x < frame.width(); x += 7) {
      ASSERT_TRUE(IsBlack(frame.pixelColor(x, y))) << x << "," << y;
    }
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(View3dTest, GridLinesLieWhereTheProjectionPutsThem) {
  // MaxX 25, MaxY 10: lines at -30, -20, ..., 30 mm each way; 25 mm per view unit
  // keeps the whole grid in the picture from above.
  store().MaxX = 25;
  store().MaxY = 10;
  store().ViewDistance = 25;
  auto view = ShowView();
  view->TopButton->click();
  view->BuildModelList();
  const QImage frame = Grab(*view, "grid");

  const auto at = [&](float xMm, float yMm) { return At(*view, {xMm / 25, yMm / 25, 0}); };
  for (float t = -30; t <= 30; t += 10) {
    // Between the crossings: green along Y, red along X.
    EXPECT_TRUE(Near(frame, at(t, 5), IsGreen)) << "green line at x = " << t;
    EXPECT_TRUE(Near(frame, at(5, t), IsRed)) << "red line at y = " << t;
  }
  EXPECT_TRUE(Near(frame, at(5, 5), IsBlack, 0));
  // Seven of each across the grid, and nothing beyond its edges.
  EXPECT_EQ(Runs(frame, at(-33, 5).toPoint(), at(33, 5).toPoint(), IsGreen), 7);
  EXPECT_EQ(Runs(frame, at(5, -33).toPoint(), at(5, 33).toPoint(), IsRed), 7);
  EXPECT_TRUE(Near(frame, at(-40, 5), IsBlack, 0));
  EXPECT_TRUE(Near(frame, at(5, 40), IsBlack, 0));
}

TEST_F(View3dTest, OneFacetAppearsLitFrontAboveAndBackBelow) {
  auto view = ShowView();
  // Wound counter-clockwise seen from +Z: its front faces up.
  view->Table.AddFacet({-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0}, {0, 0.5f, 0}, 1.0f);
  view->BuildModelList();
  view->TopButton->click();
  const QImage top = Grab(*view, "top");
  EXPECT_TRUE(Near(top, At(*view, {0, -0.1f, 0}), IsFrontLit, 0))
      << top.pixelColor(At(*view, {0, -0.1f, 0}).toPoint()).name().toStdString();

  view->ButtomButton->click();
  const QImage bottom = Grab(*view, "bottom");
  EXPECT_TRUE(Near(bottom, At(*view, {0, -0.1f, 0}), IsBackLit, 0))
      << bottom.pixelColor(At(*view, {0, -0.1f, 0}).toPoint()).name().toStdString();
}

TEST_F(View3dTest, EachPresetShowsTheModelFromItsSide) {
  auto view = ShowView();
  const Vec3 centre{0.5f, 0.3f, 0.2f};
  AddBox(view->Table, centre, 0.08f);
  view->BuildModelList();

  const char* const names[] = {"TopButton",   "ButtomButton", "YAddButton",
                               "YLessButton", "XLessButton",  "XAddButton"};
  // Where the box's centre lands under each preset.
  std::vector<QPointF> spots;
  for (int n = 1; n <= 6; ++n) {
    ViewState v = view->View;
    v.ShowFrom(ViewPreset(n));
    spots.push_back(Project(v, view->size(), centre));
  }
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(names[n - 1]);
    if (n == 4) view->TopButton->click();  // the starting preset's button is disabled
    Child<QToolButton>(*view, names[n - 1])->click();
    EXPECT_FALSE(Child<QToolButton>(*view, names[n - 1])->isEnabled());
    const QImage frame = Grab(*view, names[n - 1]);
    EXPECT_TRUE(Near(frame, spots[n - 1], IsFrontLit, 0));
    for (int other = 0; other < 6; ++other) {
      const QPointF d = spots[other] - spots[n - 1];
      if (std::hypot(d.x(), d.y()) > 30) {
        EXPECT_TRUE(Near(frame, spots[other], IsBlack, 0)) << "spot of " << names[other];
      }
    }
  }
}

TEST_F(View3dTest, DragPansThePicture) {
  auto view = ShowView();
  const Vec3 centre{0, 0, 0.3f};
  AddBox(view->Table, centre, 0.1f);
  view->BuildModelList();
  const QImage before = Grab(*view, "before");
  const QPointF was = At(*view, centre);
  ASSERT_TRUE(Near(before, was, IsFrontLit, 0));

  auto* gl = Child<QOpenGLWidget>(*view, "GlView");
  QTest::mousePress(gl, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseRelease(gl, Qt::LeftButton, {}, QPoint(150, 80));
  EXPECT_NEAR(view->View.PanX, 0.2 + 0.3, 1e-6);
  EXPECT_NEAR(view->View.PanY, -1.2 + 0.15, 1e-6);

  const QImage after = Grab(*view, "after");
  const QPointF now = At(*view, centre);
  EXPECT_GT(now.x() - was.x(), 30);  // right and up
  EXPECT_LT(now.y() - was.y(), -15);
  EXPECT_TRUE(Near(after, now, IsFrontLit, 0));
  EXPECT_TRUE(Near(after, was, IsBlack, 0));
}

TEST_F(View3dTest, ZoomStepsScaleThePicture) {
  auto view = ShowView();
  const Vec3 corner{0.6f, 0, 0.6f};
  AddBox(view->Table, corner, 0.08f);
  view->BuildModelList();

  const float in[] = {1.3f, 1.6f, 1.9f, 2.2f};
  for (float expected : in) {
    view->ZoomInButtom->click();
    EXPECT_FLOAT_EQ(view->View.ZoomScale, expected);
  }
  const QImage near = Grab(*view, "zoom-2.2");
  EXPECT_TRUE(Near(near, At(*view, corner), IsFrontLit, 0));

  view->View.ZoomScale = 1.0f;
  const double out[] = {0.7, 0.4, 0.1, 0.3, 1.2e-8, 0.3, 1.2e-8};
  for (double expected : out) {
    view->ZoomOutButton->click();
    EXPECT_NEAR(view->View.ZoomScale, expected, expected * 1e-2) << expected;
  }
  view->ZoomOutButton->click();
  ASSERT_FLOAT_EQ(view->View.ZoomScale, 0.3f);
  // The scale shrinks the model, and its normals grow by the same factor (they are
  // not normalised), so the small box shows nearly white.
  const QImage far = Grab(*view, "zoom-0.3");
  EXPECT_FALSE(Near(far, At(*view, corner), IsBlack, 0));
  const QPointF full = Project(ViewState{}, view->size(), corner);
  EXPECT_TRUE(Near(far, full, IsBlack, 0));
}

TEST_F(View3dTest, AddedScansShowBesideTheFirstModel) {
  auto view = ShowView();
  view->TopButton->click();
  const Vec3 first{-0.6f, 0, 0}, second{0, 0.5f, 0}, third{0.6f, 0, 0};
  form().session().ScanFileCount = 0;
  AddBox(view->Table, first, 0.1f);
  view->BuildModelList();
  form().session().ScanFileCount = 1;
  AddBox(view->Table, second, 0.1f);
  view->BuildModelList();
  form().session().ScanFileCount = 2;
  AddBox(view->Table, third, 0.1f);
  view->BuildModelList();

  const QImage frame = Grab(*view, "three-scans");
  for (Vec3 centre : {first, second, third}) {
    EXPECT_TRUE(Near(frame, At(*view, centre), IsFrontLit, 0)) << centre[0] << "," << centre[1];
  }
}

TEST_F(View3dTest, TurnedModelIsRecompiledAndRedrawn) {
  auto view = ShowView();
  view->Panel3->show();  // as the open-file flow leaves a view of an STL file
  view->TopButton->click();
  AddBox(view->Table, {0.8f, 0, 0.1f}, 0.1f);
  view->BuildModelList();
  const QImage before = Grab(*view, "before");

  EXPECT_TRUE(Near(before, At(*view, {0.8f, 0, 0.1f}), IsFrontLit, 0));

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
  EXPECT_EQ(host.messages[0], "DisPlay card can not run OpenGL");

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
  auto left = ShowView();
  auto right = ShowView();
  AddBox(left->Table, {-0.5f, 0, 0.2f}, 0.1f);
  left->BuildModelList();
  AddBox(right->Table, {0.5f, 0, 0.2f}, 0.1f);
  right->BuildModelList();

  for (int round = 0; round < 2; ++round) {
    const QImage l = Grab(*left, "left"), r = Grab(*right, "right");
    EXPECT_TRUE(Near(l, At(*left, {-0.5f, 0, 0.2f}), IsFrontLit, 0));
    EXPECT_TRUE(Near(l, At(*left, {0.5f, 0, 0.2f}), IsBlack, 0));
    EXPECT_TRUE(Near(r, At(*right, {0.5f, 0, 0.2f}), IsFrontLit, 0));
    EXPECT_TRUE(Near(r, At(*right, {-0.5f, 0, 0.2f}), IsBlack, 0));
  }
  left.reset();  // releases its lists in its own context
  const QImage r = Grab(*right, "right-alone");
  EXPECT_TRUE(Near(r, At(*right, {0.5f, 0, 0.2f}), IsFrontLit, 0));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
