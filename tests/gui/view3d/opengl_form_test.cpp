// The 3D view's window, controls and handlers on Qt's offscreen platform. The view is
// never shown here (that needs OpenGL: see xvfb/view3d_test.cpp), so the lists are only
// asked for, not compiled.
#include "view3d/opengl_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "gui_testing.h"

namespace vantora {
namespace {

class OpenGlFormTest : public testing::StartedApplicationTest {
 protected:
  TDataModule1& store() { return *app->DataModule1; }
  TOpenGL_Form& hidden() { return *app->OpenGL_Form; }
  std::unique_ptr<TOpenGL_Form> NewView() {
    return std::make_unique<TOpenGL_Form>(host, form());
  }
};

TEST_F(OpenGlFormTest, StartUpViewIsBuiltAsDescribed) {
  TOpenGL_Form& v = hidden();
  EXPECT_TRUE(v.isHidden());
  EXPECT_EQ(v.windowTitle(), "3D");
  EXPECT_TRUE(v.windowFlags() & Qt::Window);
  EXPECT_FALSE(v.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(v.windowFlags() & Qt::WindowSystemMenuHint);

  EXPECT_EQ(v.Panel1->height(), v.height());
  EXPECT_TRUE(v.Panel3->isHidden());  // no STL file on the way
  EXPECT_EQ(v.MoveDegEdit->text(), "0.00");
  EXPECT_EQ(testing::Child<QLabel>(v, "Label2")->text(), "deg");

  EXPECT_TRUE(v.Panel2->isHidden());
  EXPECT_EQ(testing::Child<QLabel>(v, "Label1")->text(), "Please wait Creating faces ");
  EXPECT_EQ(v.FaceLabel->text(), "0");
  EXPECT_EQ(v.Timer1->interval(), 1200);
  EXPECT_FALSE(v.Timer1->isActive());

  for (QToolButton* b : {v.TopButton, v.ButtomButton, v.YAddButton, v.XLessButton,
                         v.XAddButton}) {
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  }
  EXPECT_FALSE(v.YLessButton->isEnabled());
  // Each preset has a glyph of its own for the disabled, current state.
  const QIcon icon = v.TopButton->icon();
  EXPECT_NE(icon.pixmap(32, QIcon::Normal).toImage(), icon.pixmap(32, QIcon::Disabled).toImage());

  EXPECT_EQ(v.Table.FacetCount, 0);
  EXPECT_FALSE(v.Lists.SecondListBuilt);
}

TEST_F(OpenGlFormTest, PlacedBesideTheParameterPanelOverTheMainWindow) {
  // The main window as built: 1099 x 750, the parameter panel 289 wide.
  EXPECT_EQ(hidden().pos(), QPoint(289 + 5, 100));
  EXPECT_EQ(hidden().size(), QSize(1099 - 294, 650));

  form().resize(1600, 1000);
  form().ChildWindowOffset = 0;  // after a scan file
  auto view = NewView();
  EXPECT_EQ(view->pos(), QPoint(5, 100));
  EXPECT_EQ(view->size(), QSize(1595, 900));
  EXPECT_EQ(view->Panel1->height(), 900);

  // Never smaller than the form's own 757 x 650.
  form().resize(600, 500);
  EXPECT_EQ(NewView()->size(), QSize(757, 650));
}

TEST_F(OpenGlFormTest, NoTurnOrImportWhileAnOperationRuns) {
  auto v = NewView();
  v->Panel3->show();  // as the flow leaves it after an STL file
  v->InSetButton->setEnabled(false);
  {
    BusyState::Scope busy(form().Busy);
    EXPECT_FALSE(v->RoteZButton->isEnabled());
    EXPECT_FALSE(v->InSetButton->isEnabled());
    EXPECT_TRUE(v->TopButton->isEnabled());  // looking around stays possible
  }
  EXPECT_TRUE(v->RoteZButton->isEnabled());
  EXPECT_FALSE(v->InSetButton->isEnabled());
}

TEST_F(OpenGlFormTest, PresetButtonsSetTheAnglesAndMarkTheCurrentOne) {
  auto v = NewView();
  v->View.PanX = 0.7f;
  v->XAddButton->click();
  EXPECT_EQ(v->View.ViewAngleZ, -90.0f);
  EXPECT_EQ(v->View.ViewAngleX, 0.0f);
  EXPECT_EQ(v->View.ViewAngleY, 90.0f);
  EXPECT_EQ(v->View.PanX, 0.7f);
  EXPECT_FALSE(v->XAddButton->isEnabled());
  EXPECT_TRUE(v->YLessButton->isEnabled());

  v->ButtomButton->click();
  EXPECT_EQ(v->View.ViewAngleY, 180.0f);
  EXPECT_EQ(v->View.ViewAngleZ, 0.0f);
  EXPECT_TRUE(v->XAddButton->isEnabled());
  EXPECT_FALSE(v->ButtomButton->isEnabled());

  v->SetViewButtons(5);
  EXPECT_FALSE(v->XLessButton->isEnabled());
  EXPECT_TRUE(v->ButtomButton->isEnabled());
}

TEST_F(OpenGlFormTest, ZoomButtonsAndMouseMoveTheCamera) {
  auto v = NewView();
  v->ZoomInButtom->click();
  EXPECT_FLOAT_EQ(v->View.ZoomScale, 1.3f);
  v->ZoomOutButton->click();
  v->ZoomOutButton->click();
  EXPECT_FLOAT_EQ(v->View.ZoomScale, 0.7f);

  v->FormMouseDown(100, 100);
  EXPECT_EQ(v->View.DownX, 100);
  v->FormMouseUp(150, 80);
  EXPECT_NEAR(v->View.PanX, 0.5, 1e-6);
  EXPECT_NEAR(v->View.PanY, -1.05, 1e-6);
}

TEST_F(OpenGlFormTest, TurningTheModelWritesTheMainWindowsSizes) {
  auto v = NewView();
  v->Table.AddFacet({10, 0, 0}, {20, 0, 0}, {10, 5, 3}, 1.0f);
  v->MoveDegEdit->setText(QStringLiteral("90"));
  v->RoteZButton->click();

  EXPECT_EQ(store().ImportRotateZ, 1);
  EXPECT_EQ(store().ImportRotateX, 0);
  EXPECT_EQ(store().ImportAngle, 90.0f);
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  // Turned by 1.5705 radians: x from -5 to 0, y from 0 to 20 (bounds start at 0).
  EXPECT_NEAR(Find<QLabel>("XLabel")->text().toDouble(), 5.0, 0.01);
  EXPECT_EQ(Find<QLabel>("YLabel")->text(), "20.000");
  EXPECT_NEAR(Find<QLabel>("DiaLabel")->text().toDouble(), 20.616, 0.01);
  for (const char* shown : {"XImage", "YImage", "ZImage", "RImage", "XLabel", "YLabel",
                            "DiaLabel"}) {
    EXPECT_FALSE(Find(shown)->isHidden()) << shown;
  }
  EXPECT_TRUE(Find("ZLabel")->isHidden());  // a turn about Z leaves it as it was
  // Recentred: the box with the origin is centred, nothing below the platform.
  const Facet& f = v->Table.Facets[0];
  EXPECT_NEAR(f.V2[1], 10.0f, 0.01f);
  EXPECT_EQ(store().MinZ, 0.0);

  v->MoveDegEdit->setText(QStringLiteral("90"));
  v->RoteXButton->click();
  EXPECT_EQ(store().ImportRotateX, 1);
  EXPECT_EQ(store().ImportRotateZ, 0);
  EXPECT_FALSE(Find("ZLabel")->isHidden());
  // y ran from -10 to 10 after the recentring, z from 0 to 3: z' = s y + c z.
  EXPECT_NEAR(Find<QLabel>("ZLabel")->text().toDouble(), 10.0, 0.01);
}

TEST_F(OpenGlFormTest, AngleThatIsNoNumberChangesNothing) {
  auto v = NewView();
  v->Table.AddFacet({1, 0, 0}, {2, 0, 0}, {1, 1, 1}, 1.0f);
  v->Table.FirstNewFacet = 1;
  store().ImportRotateY = 1;
  store().ImportAngle = 45.0f;
  v->MoveDegEdit->setText(QStringLiteral("abc"));
  v->RoteZButton->click();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "'abc' is not a valid floating point value");
  EXPECT_EQ(store().ImportRotateY, 1);
  EXPECT_EQ(store().ImportRotateZ, 0);
  EXPECT_EQ(store().ImportAngle, 45.0f);
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  EXPECT_EQ(v->Table.Facets[0].V1, (Vec3{1, 0, 0}));
  EXPECT_TRUE(Find("XLabel")->isHidden());
}

TEST_F(OpenGlFormTest, FirstStlFacetStartsTheProgressDisplay) {
  auto v = NewView();
  v->Table.NewFacet(0);
  v->Table.FillFacet(StlFacetValues{}, store(), host);
  EXPECT_FALSE(v->Panel2->isHidden());
  EXPECT_TRUE(v->Timer1->isActive());

  v->Table.NewFacet(41);
  const long before = host.pendingMessageCalls;
  v->Timer1Timer();
  EXPECT_EQ(v->FaceLabel->text(), "41");
  EXPECT_EQ(host.pendingMessageCalls, before + 1);
}

// Which list the facets go to, as a sequence of imports asks for them.
TEST_F(OpenGlFormTest, AddedScansGoToTheSecondListThroughThePendingTransform) {
  auto v = NewView();
  int& scans = form().session().ScanFileCount;
  store().ViewDistance = 1.0f;
  scans = 0;  // the first scan
  v->Table.AddFacet({0, 0, 1}, {1, 0, 1}, {0, 1, 1}, 1.0f);
  v->BuildModelList();
  EXPECT_EQ(v->Table.FirstNewFacet, 1);
  EXPECT_FALSE(v->Lists.SecondListBuilt);

  scans = 1;  // a second scan, mirrored in Z by the import dialog
  store().ImportMirrorZ = 1;
  v->Table.AddFacet({0, 0, 2}, {1, 0, 2}, {0, 1, 2}, 1.0f);
  v->BuildModelList();
  EXPECT_TRUE(v->Lists.SecondListBuilt);
  EXPECT_EQ(v->Lists.SecondListStart, 1);
  EXPECT_EQ(v->Table.Facets[0].V1[2], 1.0f);  // only the new facets are mirrored
  EXPECT_EQ(v->Table.Facets[1].V1[2], -2.0f);
  EXPECT_EQ(v->Table.FirstNewFacet, 2);

  scans = 2;  // a third: SecondList keeps showing the second too
  store().ImportMirrorZ = 0;
  v->Table.AddFacet({0, 0, 3}, {1, 0, 3}, {0, 1, 3}, 1.0f);
  v->BuildModelList();
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
