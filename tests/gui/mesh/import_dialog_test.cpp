#include "mesh/import_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "gui_testing.h"
#include "view3d/opengl_form.h"

namespace vantora {
namespace {

using testing::WhenModal;

struct Flags {
  int mirrorZ, rotateX, rotateY;
  bool operator==(const Flags&) const = default;
};

class ImportDialogTest : public testing::StartedApplicationTest {
 protected:
  TDataModule1& store() { return *app->DataModule1; }
  Flags flags() {
    return {store().ImportMirrorZ, store().ImportRotateX, store().ImportRotateY};
  }
  std::unique_ptr<TForm3> Show() {
    auto dialog = std::make_unique<TForm3>(host, store(), &form());
    dialog->show();
    return dialog;
  }
};

TEST_F(ImportDialogTest, StartsWithThreeChoicesAndTheAngleHidden) {
  const auto d = Show();
  EXPECT_EQ(d->windowTitle(), "Import File");
  for (QToolButton* b : {d->ZMirrorButton, d->RoteXButton, d->RoteYButton}) {
    EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
  }
  EXPECT_EQ(d->Label2->text(), "Input Rote deg.");
  EXPECT_TRUE(d->Label2->isHidden());
  EXPECT_TRUE(d->DegEdit->isHidden());
  EXPECT_EQ(d->DegEdit->text(), "180.0");
  EXPECT_EQ(d->OKButton->text(), "OK");
}

TEST_F(ImportDialogTest, OkWithoutAChoiceKeepsTheFlagsAndTakesTheAngle) {
  auto d = Show();
  d->OKButton->click();
  EXPECT_EQ(flags(), (Flags{0, 0, 0}));
  EXPECT_EQ(store().ImportAngle, 180.0f);
  EXPECT_EQ(d->result(), QDialog::Accepted);

  store().ImportMirrorZ = 1;  // the choice of an earlier import
  d = Show();
  d->OKButton->click();
  EXPECT_EQ(flags(), (Flags{1, 0, 0}));
}

TEST_F(ImportDialogTest, LastChoiceWinsAndTheAngleFieldsStayShown) {
  const auto d = Show();
  d->RoteXButton->click();
  EXPECT_EQ(flags(), (Flags{0, 1, 0}));
  EXPECT_FALSE(d->DegEdit->isHidden());
  EXPECT_FALSE(d->Label2->isHidden());
  d->ZMirrorButton->click();
  EXPECT_EQ(flags(), (Flags{1, 0, 0}));
  EXPECT_FALSE(d->DegEdit->isHidden());
  EXPECT_TRUE(d->isVisible());  // choices do not close the dialog
}

TEST_F(ImportDialogTest, TurnAboutYByTheEnteredAngle) {
  const auto d = Show();
  d->RoteYButton->click();
  d->DegEdit->setText(QStringLiteral("90"));
  d->OKButton->click();
  EXPECT_EQ(flags(), (Flags{0, 0, 1}));
  EXPECT_EQ(store().ImportAngle, 90.0f);
}

TEST_F(ImportDialogTest, AngleThatIsNoNumberKeepsTheDialogOpen) {
  store().ImportAngle = 45.0f;
  const auto d = Show();
  d->RoteXButton->click();
  d->DegEdit->setText(QStringLiteral("abc"));
  d->OKButton->click();
  EXPECT_EQ(host.messages, std::vector<std::string>{"'abc' is not a valid floating point value"});
  EXPECT_EQ(store().ImportAngle, 45.0f);
  EXPECT_TRUE(d->isVisible());

  d->close();  // the close box: the angle stays, the flags as last chosen
  EXPECT_EQ(store().ImportAngle, 45.0f);
  EXPECT_EQ(flags(), (Flags{0, 1, 0}));
}

// The view's insert button runs the open-file flow after the dialog, however it closed.
TEST_F(ImportDialogTest, InsertButtonOpensAFileAfterTheDialog) {
  TOpenGL_Form view(host, form(), &form());
  const std::string missing = dir.File("missing.sca");
  const std::string opened = "Cannot open \"" + missing + "\": No such file or directory";
  host.openFiles.push_back({missing, 1});
  WhenModal([](QWidget& window) {
    auto& dialog = dynamic_cast<TForm3&>(window);
    dialog.ZMirrorButton->click();
    dialog.OKButton->click();
  });
  view.InSetButton->click();
  EXPECT_EQ(store().ImportMirrorZ, 1);
  EXPECT_EQ(host.messages, std::vector<std::string>{opened});

  host.openFiles.push_back({missing, 1});
  WhenModal([](QWidget& window) { window.close(); });
  view.InSetButton->click();
  EXPECT_EQ(host.messages, (std::vector<std::string>{opened, opened}));
}

}  // namespace
}  // namespace vantora
