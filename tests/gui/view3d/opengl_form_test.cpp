// The 3D view's handlers on Qt's offscreen platform. The view is never shown here
// (that needs OpenGL: see xvfb/view3d_test.cpp), so the lists are only asked for, not
// compiled.
#include "view3d/opengl_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "gui_testing.h"

namespace vantora {
namespace {

class OpenGlFormTest : public testing::StartedApplicationTest {
 protected:
  std::unique_ptr<TOpenGL_Form> NewView() { return std::make_unique<TOpenGL_Form>(host, form()); }
  double Size(const char* label) { return Find<QLabel>(label)->text().toDouble(); }
};

TEST_F(OpenGlFormTest, NoTurnOrImportWhileAnOperationRuns) {
  store().StlFirstFacet = 1;  // the rotation panel shows while the file is read
  auto v = NewView();
  v->InSetButton->setEnabled(false);  // as the flow leaves it after an STL file
  {
    BusyState::Scope busy(form().Busy);
    EXPECT_FALSE(v->RoteZButton->isEnabled());
    EXPECT_FALSE(v->InSetButton->isEnabled());
    EXPECT_TRUE(v->TopButton->isEnabled());  // looking around stays possible
  }
  EXPECT_TRUE(v->RoteZButton->isEnabled());
  EXPECT_FALSE(v->InSetButton->isEnabled());
}

TEST_F(OpenGlFormTest, TurningTheModelWritesTheMainWindowsSizes) {
  auto v = NewView();
  v->Table.AddFacet({10, 0, 0}, {20, 0, 0}, {10, 5, 3}, 1.0f);
  v->MoveDegEdit->setText(QStringLiteral("90"));
  v->RoteZButton->click();
  EXPECT_EQ(store().ImportRotateZ, 1);
  EXPECT_EQ(store().ImportAngle, 90.0f);
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  // Turned by 1.5705 radians: x from -5 to 0, y from 0 to 20 (bounds start at 0).
  EXPECT_NEAR(Size("XLabel"), 5.0, 0.01);
  EXPECT_NEAR(Size("YLabel"), 20.0, 1e-9);
  EXPECT_NEAR(Size("DiaLabel"), 20.616, 0.01);
  // Recentred: the box with the origin is centred, nothing below the platform.
  EXPECT_NEAR(v->Table.Facets[0].V2[1], 10.0f, 0.01f);
  EXPECT_EQ(store().MinZ, 0.0);

  v->MoveDegEdit->setText(QStringLiteral("90"));
  v->RoteXButton->click();
  EXPECT_EQ(store().ImportRotateX, 1);
  EXPECT_EQ(store().ImportRotateZ, 0);
  // y ran from -10 to 10 after the recentring, z from 0 to 3: z' = s y + c z.
  EXPECT_NEAR(Size("ZLabel"), 10.0, 0.01);
}

TEST_F(OpenGlFormTest, AngleThatIsNoNumberChangesNothing) {
  auto v = NewView();
  v->Table.AddFacet({1, 0, 0}, {2, 0, 0}, {1, 1, 1}, 1.0f);
  v->Table.FirstNewFacet = 1;
  store().ImportRotateY = 1;
  store().ImportAngle = 45.0f;
  v->MoveDegEdit->setText(QStringLiteral("abc"));
  v->RoteZButton->click();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(store().ImportRotateY, 1);
  EXPECT_EQ(store().ImportRotateZ, 0);
  EXPECT_EQ(store().ImportAngle, 45.0f);
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  EXPECT_EQ(v->Table.Facets[0].V1, (Vec3{1, 0, 0}));
  EXPECT_TRUE(Find("XLabel")->isHidden());
}

// Which list the facets go to, as a sequence of imports asks for them.
TEST_F(OpenGlFormTest, AddedScansGoToTheSecondListThroughThePendingTransform) {
  auto v = NewView();
  int& scans = form().session().ScanFileCount;
  store().ViewDistance = 1.0f;
  const auto addScan = [&](int count, float z) {
    scans = count;
    v->Table.AddFacet({0, 0, z}, {1, 0, z}, {0, 1, z}, 1.0f);
    v->BuildModelList();
  };
  addScan(0, 1);  // the first scan
  EXPECT_FALSE(v->Lists.SecondListBuilt);

  store().ImportMirrorZ = 1;  // a second scan, mirrored in Z by the import dialog
  addScan(1, 2);
  EXPECT_TRUE(v->Lists.SecondListBuilt);
  EXPECT_EQ(v->Lists.SecondListStart, 1);
  EXPECT_EQ(v->Table.Facets[0].V1[2], 1.0f);  // only the new facets are mirrored
  EXPECT_EQ(v->Table.Facets[1].V1[2], -2.0f);

  store().ImportMirrorZ = 0;  // a third: SecondList keeps showing the second too
  addScan(2, 3);
  EXPECT_EQ(v->Lists.SecondListStart, 1);
  EXPECT_EQ(v->Table.FirstNewFacet, 3);

  // Recompiling the whole table puts it all into ModelList.
  v->Table.FirstNewFacet = 0;
  v->BuildModelList();
  EXPECT_FALSE(v->Lists.SecondListBuilt);
  EXPECT_EQ(v->Table.FirstNewFacet, 3);
}

}  // namespace
}  // namespace vantora
