#include "mesh/scale_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "gui_testing.h"

namespace vantora {
namespace {

class ScaleDialogTest : public testing::StartedApplicationTest {
 protected:
  // The dialog of a save, shown for a model of `x` x `y` x `z` mm whose box starts at
  // (-5, 3, 0).
  std::unique_ptr<TForm2> Show(double x = 100, double y = 50, double z = 20) {
    TDataModule1& s = store();
    s.MinX = -5;
    s.MaxX = -5 + x;
    s.MinY = 3;
    s.MaxY = 3 + y;
    s.MinZ = 0;
    s.MaxZ = z;
    auto dialog = std::make_unique<TForm2>(host, s, form().session(), &form());
    dialog->show();
    return dialog;
  }
  static void Rates(TForm2& d, const char* x, const char* y, const char* z) {
    d.XRateEdit->setText(QLatin1String(x));
    d.YRateEdit->setText(QLatin1String(y));
    d.ZRateEdit->setText(QLatin1String(z));
  }
  static std::vector<QString> Sizes(const TForm2& d) {
    return {d.XEdit->text(), d.YEdit->text(), d.ZEdit->text()};
  }
};

// Each size is printed from its exact float value times its own rate, formed in
// double; texts that are no number yet leave the size as it was, silently.
TEST_F(ScaleDialogTest, SizesFollowTheirOwnRates) {
  EXPECT_EQ(Sizes(*Show(12.3456, 0.1, 1e20)),
            (std::vector<QString>{"12.3456001281738", "0.100000001490116", "1.00000002004088E20"}));
  const auto d = Show();
  Rates(*d, "2", "0.1", "-1.5");
  EXPECT_EQ(Sizes(*d), (std::vector<QString>{"200", "5.00000007450581", "-30"}));
  for (const char* partial : {"", "-", ".", "3x"}) {
    d->XRateEdit->setText(QLatin1String(partial));
    EXPECT_EQ(d->XEdit->text(), "200") << partial;
  }
  EXPECT_TRUE(host.messages.empty());
}

// The close box stores no rate, whatever was typed; OK stores them up to one that is
// no number, which is said and keeps the dialog open.
TEST_F(ScaleDialogTest, CloseBoxStoresNoRateAndOkStopsAtOneThatIsNoNumber) {
  const Session& session = form().session();
  for (bool ok : {false, true}) {
    const auto d = Show();
    Rates(*d, "2", "abc", "4");
    ok ? d->OKButtom->click() : (void)d->close();
    EXPECT_EQ(d->isVisible(), ok);
    EXPECT_EQ((std::array{session.XRate, session.YRate, session.ZRate}),
              (std::array{ok ? 2.0f : 1.0f, 1.0f, 1.0f}));
  }
  EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace vantora
