#include "mesh/import_dialog.h"

#include <gtest/gtest.h>

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
  Flags flags() {
    const ModelTurnRequest& t = form().session().ImportTurn;
    return {t.MirrorZ, t.RotateX, t.RotateY};
  }
  std::unique_ptr<TForm3> Show() {
    auto dialog = std::make_unique<TForm3>(host, form().session().ImportTurn, &form());
    dialog->show();
    return dialog;
  }
};

// The choices pressed, the angle typed (or the field's own), then OK: the last choice
// wins, no choice keeps an earlier import's.
TEST_F(ImportDialogTest, OkTakesTheLastChoiceAndTheAngle) {
  struct Row {
    std::uint8_t mirroredBefore;  // an earlier import's choice
    std::vector<QToolButton* TForm3::*> pressed;
    const char* angle;
    Flags after;
    float storedAngle;
  };
  const Row rows[] = {
      {1, {}, nullptr, {1, 0, 0}, 180.0f},
      {0, {&TForm3::RoteYButton}, "90", {0, 0, 1}, 90.0f},
      {0, {&TForm3::RoteXButton, &TForm3::ZMirrorButton}, nullptr, {1, 0, 0}, 180.0f},
      {1, {&TForm3::ZMirrorButton, &TForm3::RoteXButton}, "-45", {0, 1, 0}, -45.0f},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.storedAngle);
    form().session().ImportTurn.MirrorZ = r.mirroredBefore;
    const auto d = Show();
    for (auto button : r.pressed) ((*d).*button)->click();
    EXPECT_TRUE(d->isVisible());  // choices do not close the dialog
    if (r.angle) d->DegEdit->setText(QLatin1String(r.angle));
    d->OKButton->click();
    EXPECT_EQ(flags(), r.after);
    EXPECT_EQ(form().session().ImportTurn.Angle, r.storedAngle);
  }
}

TEST_F(ImportDialogTest, AngleThatIsNoNumberKeepsTheDialogOpen) {
  form().session().ImportTurn.Angle = 45.0f;
  const auto d = Show();
  d->RoteXButton->click();
  d->DegEdit->setText(QStringLiteral("abc"));
  d->OKButton->click();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(form().session().ImportTurn.Angle, 45.0f);
  EXPECT_TRUE(d->isVisible());

  d->close();  // the close box: the flags as last chosen
  EXPECT_EQ(flags(), (Flags{0, 1, 0}));
}

// The view's insert button runs the open-file flow after the dialog, even one closed
// with the close box (after OK: xvfb/model_flows_test.cpp).
TEST_F(ImportDialogTest, InsertButtonOpensAFileAfterTheDialogIsClosed) {
  TOpenGL_Form view(host, form(), &form());
  host.openFiles.push_back({dir.File("missing.sca"), 1});
  WhenModal([](QWidget& dialog) { dialog.close(); });
  view.InSetButton->click();
  EXPECT_TRUE(host.openFiles.empty());  // asked for the file to open
}

}  // namespace
}  // namespace vantora
