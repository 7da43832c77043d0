// The tool-path window drawn for real on an X server (Xvfb): every frame is read back
// from the screen, checked against the places where the section's outline cells, wire
// path and base line belong, and kept in artefacts/ for a person to look at. Then the
// carved-result view a sweep leads to, read back from its framebuffer and the screen,
// and what shows a program for as long as the program stands.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <functional>
#include <tuple>

#include "frame_testing.h"
#include "toolpath/tool_path_testing.h"
#include "view3d/carved_view.h"

namespace vantora {
namespace {

using testing::At;
using testing::IsModelInside;
using testing::IsSolidOnly;
using testing::Keep;
using testing::Near;

const QColor kPathBlue(0, 0, 255);
const QColor kBaseRed(255, 0, 0);
const QColor kNeverLeftGreen(0, 128, 0);
const QColor kLeftOnceYellow(255, 255, 0);

int Round(double pixels) { return int(pixels + 0.5); }

class ToolPathViewTest : public testing::ToolPathTest {
 protected:
  // Opens `model` and sets the tool path up with the fields as they are.
  void SetUpModel(const std::string& model) {
    OpenModel(model);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form().ModelView));
    Click("PosNcButton");
    ASSERT_NE(form().OutLineForm, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pathForm()));
  }

  // The window as the screen shows it now, kept in artefacts/toolpath/.
  QImage Screen(const char* name) {
    QCoreApplication::processEvents();  // the paints asked for reach the screen
    TOutLineForm& view = pathForm();
    const QImage frame =
        view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(frame.size(), view.size());
    return Keep(frame, "toolpath", name);
  }

  // Where the section's drawing belongs: the centre of cell (i, j)'s square, the
  // pixel of a path point, the squares' half size.
  QPoint CellCentre(int i, int j) {
    const TOutLineForm& v = pathForm();
    const float cell = store().Resolution * v.ViewScale;
    return {Round(float(i - store().AxisColumn) * cell) + v.OriginX,
            v.OriginY - Round(float(j) * cell)};
  }
  QPoint PathPixel(const PathPoint& p) {
    const TOutLineForm& v = pathForm();
    return {Round(p.X * v.ViewScale) + v.OriginX,
            v.OriginY - Round((double(p.Y) - store().MinZ) * v.ViewScale)};
  }
  int SquareRadius() { return std::max(1, Round(0.3 * pathForm().ViewScale * 0.5)); }
  // Controls lie over the drawing.
  bool Covered(QPoint p) { return pathForm().childAt(p) != nullptr; }

  // Every outline cell's square shows its colour: green where the walk never left the
  // cell, yellow where it left it once. Squares overlap, each drawn over those of the
  // rows below and the cells to its left, so a square's bottom-left pixel is its own
  // whenever cells lie a pixel or more apart.
  int ExpectOutlineSquares(const QImage& frame) {
    const int r = SquareRadius();
    int seen = 0;
    for (int j = 0; j <= store().RasterMaxJ; ++j) {
      for (int i = 0; i <= store().RasterMaxI; ++i) {
        const int weight = store().Raster.OutlineWeight(i, j);
        if (weight < 1) continue;
        const QPoint corner = CellCentre(i, j) + QPoint(-r, r - 1);
        if (Covered(corner) || corner.y() == pathForm().OriginY) continue;
        const QColor want = weight == 1 ? kLeftOnceYellow : kNeverLeftGreen;
        EXPECT_EQ(frame.pixelColor(corner), want) << "cell " << i << "," << j;
        ++seen;
      }
    }
    return seen;
  }

  // The base line along raster row 0 from MinX to MaxX, where no control covers it.
  void ExpectBaseLine(const QImage& frame) {
    const TOutLineForm& v = pathForm();
    const int from = Round(store().MinX * v.ViewScale) + v.OriginX;
    const int to = Round(store().MaxX * v.ViewScale) + v.OriginX;
    int seen = 0;
    for (int x = from; x <= to; ++x) {
      if (Covered({x, v.OriginY})) continue;
      EXPECT_EQ(frame.pixelColor(x, v.OriginY), kBaseRed) << x;
      ++seen;
    }
    EXPECT_GT(seen, (to - from) / 2);
    EXPECT_NE(frame.pixelColor(from - 2, v.OriginY), kBaseRed);
    EXPECT_NE(frame.pixelColor(to + 2, v.OriginY), kBaseRed);
  }

  // The check's line below the base line and the angle panel, inside the window, its
  // type a bright green on the black.
  void ExpectCheckUnderTheSection() {
    const TOutLineForm& v = pathForm();
    const QRect line = v.CheckLabel->geometry();
    EXPECT_GT(line.top(), v.OriginY);
    EXPECT_FALSE(line.intersects(v.Panel1->geometry()));
    EXPECT_TRUE(v.rect().contains(line));
    const QImage frame = Screen("check");
    int bright = 0;
    for (int y = line.top(); y <= line.bottom(); ++y) {
      for (int x = line.left(); x <= line.right(); ++x) {
        const QColor c = frame.pixelColor(x, y);
        bright += c.green() > 180 && c.red() < 120 && c.blue() < 120;
      }
    }
    EXPECT_GT(bright, 100);
  }

  // A window that covers neither the main window's tool bar nor its parameter panel,
  // and lies on the screen.
  void ExpectBesideTheParameterPanel(const QWidget& window) {
    const auto onScreen = [](QWidget* w) { return QRect(w->mapToGlobal(QPoint()), w->size()); };
    const QRect frame = window.frameGeometry();
    EXPECT_FALSE(frame.intersects(onScreen(Find("Panel12"))));
    EXPECT_FALSE(frame.intersects(onScreen(Find("Panel1"))));
    EXPECT_TRUE(window.screen()->availableGeometry().contains(frame));
  }

  // The pixels of the drawing, not of a control over it, that have `colour`.
  std::vector<QPoint> Drawn(const QImage& frame, const QColor& colour) {
    std::vector<QPoint> found;
    for (int y = 0; y < frame.height(); ++y) {
      for (int x = 0; x < frame.width(); ++x) {
        if (frame.pixelColor(x, y) == colour && !Covered({x, y})) found.emplace_back(x, y);
      }
    }
    return found;
  }
};

// The widest or tallest span of the raster fills four fifths of the height above the
// base line, at the window's size when set up and after a resize; the canvas follows.
TEST_F(ToolPathViewTest, DrawingFitsTheWindow) {
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

// At a small scale (1.5 m wide, a coarser resolution, about 0.2 pixels per mm) the
// set-up's squares of radius 1 are 2 x 2 pixels of border and nothing inside.
TEST_F(ToolPathViewTest, SetUpAtASmallScaleShowsEveryOutlineCellInGreen) {
  testing::WriteFile(dir.File("wide.stl"), testing::TextStlBox(1500, 600));
  Type("WrrediaEdit1", "0.1");
  SetUpModel(dir.File("wide.stl"));
  EXPECT_EQ(SquareRadius(), 1);
  const QImage frame = Screen("small-scale");
  EXPECT_GT(ExpectOutlineSquares(frame), 1000);
  for (const QColor& none : {kLeftOnceYellow, kPathBlue, kBaseRed, QColor(Qt::white)}) {
    EXPECT_TRUE(Drawn(frame, none).empty()) << none.name().toStdString();
  }
}

// The box at its set-up, at 45 degrees while the sweep runs, and once it has run. What
// a set-up alone draws is checked at the small scale, squares of this size mid-sweep.
TEST_F(ToolPathViewTest, EachSectionIsDrawnAndThePathAndTheBaseLineRemain) {
  SetUpModel(BoxFile());
  EXPECT_TRUE(form().ModelView->isHidden());
  // The base line lies under the start-height bar, which stands on raster row 0.
  const TOutLineForm& v = pathForm();
  Keep(v.Canvas(), "toolpath", "canvas");
  for (int x = v.Panel2->x() + 100; x < v.Panel2->x() + 200; ++x) {
    EXPECT_EQ(v.Canvas().pixelColor(x, v.OriginY), kBaseRed) << x;
  }

  // The bar moves up off the base line.
  Type("StartHeightEdit", "5");
  Click("StartButton");
  Type("EndDegEdit", "90");
  Type("StepDegEdit", "45");
  QImage during;
  int squares = 0;
  host.whilePending = [&] {
    // Called while the section's lines are written, right after its drawing.
    if (!during.isNull() || pathForm().RoteDegEdit->text() != "45.000") return;
    during = Screen("45-degrees");
    squares = ExpectOutlineSquares(during);
  };
  host.answers.push_back(false);
  Click("PosWireButton");
  host.whilePending = nullptr;
  ASSERT_FALSE(during.isNull());
  EXPECT_GT(squares, 300);
  // The walk went over the top: cells it left once are yellow, the others green; the
  // path lies under the squares of the cells it joins.
  EXPECT_GT(Drawn(during, kLeftOnceYellow).size(), 100u);
  EXPECT_GT(Drawn(during, kNeverLeftGreen).size(), 100u);

  // The raster was cleared: the last section's path in blue, the base line in red.
  const QImage frame = Screen("after-sweep");
  EXPECT_TRUE(Drawn(frame, kNeverLeftGreen).empty());
  EXPECT_TRUE(Drawn(frame, kLeftOnceYellow).empty());
  ExpectBaseLine(frame);
  ASSERT_GT(store().ToolPath.size(), 4u);
  std::vector<QPoint> path;
  for (const PathPoint& point : store().ToolPath) {
    path.push_back(PathPixel(point));
    if (!Covered(path.back())) {
      EXPECT_EQ(frame.pixelColor(path.back()), kPathBlue) << path.size();
    }
  }
  // Nothing blue away from the path's segments.
  const auto nearPath = [&](QPoint p) {
    for (std::size_t k = 1; k < path.size(); ++k) {
      const QPointF a = path[k - 1], b = path[k], d = b - a;
      const double length2 = QPointF::dotProduct(d, d);
      const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0) : 0;
      const QPointF gap = QPointF(p) - (a + t * d);
      if (std::hypot(gap.x(), gap.y()) <= 1.0) return true;
    }
    return false;
  };
  const std::vector<QPoint> blue = Drawn(frame, kPathBlue);
  EXPECT_GT(blue.size(), 100u);
  for (QPoint p : blue) EXPECT_TRUE(nearPath(p)) << p.x() << "," << p.y();
  EXPECT_EQ(pathForm().RoteDegEdit->text(), "90.000");
}

// The sweep turns the facets; the 3D view, shown again, draws them as turned, as it
// does once made to compile them all again.
TEST_F(ToolPathViewTest, ModelViewShowsTheTurnedModelWhenShownAgain) {
  SetUpModel(BoxFile());
  TOpenGL_Form& model = *form().ModelView;
  model.Navigation->TopButton->click();
  model.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&model));
  const QImage before = testing::Grab(model, "before");
  model.hide();
  Type("EndDegEdit", "30");
  Type("StepDegEdit", "30");
  host.answers.push_back(false);
  Click("PosWireButton");

  model.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&model));
  const QImage after = testing::Grab(model, "after");
  model.Table.FirstNewFacet = 0;
  model.BuildModelList();
  const QImage expected = testing::Grab(model, "rebuilt");
  EXPECT_NE(after, before);
  EXPECT_EQ(after, expected);
}

// What stands for a sweep's program lives as long as it: the carved-result command, the
// check's line under the section and the carved-result window, which opens beside the
// parameter panel. A new sweep takes all three away from its first sections on, until
// its own check arrives; one that fails leaves none. (A model is set up once, on a
// window of its own.)
TEST_F(ToolPathViewTest, CarvedCommandCheckLineAndWindowLiveAsLongAsTheirProgram) {
  app->ShowMainWindow();
  OpenModel(BoxFile());
  Type("EndDegEdit", "90");
  Type("StepDegEdit", "45");
  const auto shown = [&] {  // the command enabled, the check's line shown, the window open
    const CarvedView* carved = form().CarvedResultView;
    return std::tuple(Find("CarvedButton")->isEnabled(),
                      form().OutLineForm && pathForm().CheckLabel->isVisible(),
                      carved && carved->isVisible());
  };
  using Shown = decltype(shown());
  const auto sweep = [&] {
    Shown meanwhile{};
    host.whilePending = [&] {
      if (pathForm().RoteDegEdit->text() == "45.000") meanwhile = shown();  // the last walk
    };
    host.answers.push_back(false);
    Click("PosWireButton");
    host.whilePending = nullptr;
    EXPECT_EQ(meanwhile, Shown());
    ExpectCheckUnderTheSection();
  };
  const auto carve = [&] {
    Click("CarvedButton");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form().CarvedResultView));
    ExpectBesideTheParameterPanel(*form().CarvedResultView);
  };
  const struct {
    const char* name;
    std::function<void()> act;
    Shown after;
  } steps[] = {
      {"opened", [] {}, {false, false, false}},
      {"set up", [&] { Click("PosNcButton"); }, {false, false, false}},
      {"swept", sweep, {true, true, false}},
      {"carved", carve, {true, true, true}},
      {"swept again", sweep, {true, true, false}},
      {"carved again", carve, {true, true, true}},
      {"memo cleared", [&] { Click("StepButton"); }, {false, false, false}},
      {"swept once more", sweep, {true, true, false}},
      {"carved once more", carve, {true, true, true}},
      {"swept without a path",
       [&] {
         Type("StartHeightEdit", "50");  // above the box
         Click("StartButton");
         Click("PosWireButton");
         EXPECT_EQ(host.messages.size(), 1u);
       },
       {false, false, false}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(shown(), step.after);
  }
}

// The box swept with everything below 5 mm left standing: the solid's rim and plate
// stand out round the model. As it opens and from every side the carved-result view
// shows the whole solid inside its frame, nothing washed to white; from above, the
// model's top shows inside it, not cut away by the near plane (which stood at a fixed
// distance).
TEST_F(ToolPathViewTest, CarvedViewFramesTheWholeSolidFromEverySide) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("StartHeightEdit", "5");
  Click("StartButton");
  Type("EndDegEdit", "360");
  Type("StepDegEdit", "30");
  host.answers.push_back(false);
  Click("PosWireButton");
  Click("CarvedButton");
  ASSERT_NE(form().CarvedResultView, nullptr);
  CarvedView& view = *form().CarvedResultView;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const ViewNavigation& sides = *view.Navigation;
  // As it opens, then from each side, from above last.
  QImage frame;
  for (QToolButton* side : {static_cast<QToolButton*>(nullptr), sides.ButtomButton,
                            sides.YAddButton, sides.YLessButton, sides.XLessButton,
                            sides.XAddButton, sides.TopButton}) {
    const std::string name = side ? side->objectName().toStdString() : "opened";
    SCOPED_TRACE(name);
    if (side) side->click();
    frame = testing::Grab(view, name.c_str());
    int solid = 0, solidOnTheBorder = 0, white = 0;
    for (int y = 0; y < frame.height(); ++y) {
      for (int x = 0; x < frame.width(); ++x) {
        const QColor c = frame.pixelColor(x, y);
        const bool border = x == 0 || y == 0 || x == frame.width() - 1 || y == frame.height() - 1;
        solid += IsSolidOnly(c);
        solidOnTheBorder += border && IsSolidOnly(c);
        white += c.red() > 230 && c.green() > 230 && c.blue() > 230;
      }
    }
    EXPECT_GT(solid, 2000);
    EXPECT_EQ(solidOnTheBorder, 0);
    EXPECT_LT(white, frame.width() * frame.height() / 100);
  }
  // Were the top cut away, the floor grid would show through the model.
  const QImage& top = frame;
  const float d = store().ViewDistance;
  const QRect modelTop =
      QRectF(At(view, {-9 / d, 9 / d, 20 / d}), At(view, {9 / d, -9 / d, 20 / d})).toRect();
  int gridRed = 0;
  for (int y = modelTop.top(); y <= modelTop.bottom(); ++y) {
    for (int x = modelTop.left(); x <= modelTop.right(); ++x) {
      const QColor c = top.pixelColor(x, y);
      gridRed += c.red() > 100 && c.red() > 2 * c.green() && c.red() > 2 * c.blue();
    }
  }
  EXPECT_GT(modelTop.width(), 100);
  EXPECT_EQ(gridRed, 0);
  EXPECT_TRUE(Near(top, modelTop.center(), IsModelInside, 0));
}

// Named for scripts/carved-view-picture, which runs it alone.
using CarvedResultTest = testing::ToolPathTest;

// The torus (R 100, r 30 mm) swept all round every 15 degrees: no wire reaches its
// hole, so the carved solid fills it, and the ring shows inside the solid where the
// model stands. The window as the screen shows it first, from the front left and above,
// is kept as artefacts/carved_view.png: scripts/carved-view-picture copies it into docs/.
TEST_F(CarvedResultTest, SweptTorusShowsInsideTheSolidThatFillsItsHole) {
  app->ShowMainWindow();  // the window opens beside it, at its designed size
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
  QTest::qWait(50);  // the frame reaches the screen
  EXPECT_TRUE(view.screen()->grabWindow(view.winId()).save(VANTORA_ARTEFACTS "/carved_view.png"));

  view.Navigation->TopButton->click();
  const QImage top = testing::Grab(view, "torus-top");
  const float d = store().ViewDistance;
  EXPECT_TRUE(Near(top, At(view, {100 / d, 0, 60 / d}), IsModelInside, 0));
  EXPECT_TRUE(Near(top, At(view, {0, 0, 60 / d}), IsSolidOnly, 0));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vantora
