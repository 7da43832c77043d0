#include "mesh/scale_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui_testing.h"

namespace vantora {
namespace {

using testing::Child;

class ScaleDialogTest : public testing::StartedApplicationTest {
 protected:
  // The dialog of a save, shown for a model of `x` x `y` x `z` mm whose box starts at
  // (-5, 3, 0).
  std::unique_ptr<TForm2> Show(double x, double y, double z) {
    TDataModule1& s = *app->DataModule1;
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
  static QString Text(const QLineEdit* edit) { return edit->text(); }
};

TEST_F(ScaleDialogTest, RowsShowTheModelSizes) {
  const auto d = Show(100, 50, 20);
  EXPECT_EQ(d->windowTitle(), "Form2");
  EXPECT_EQ(d->size(), QSize(271, 208));
  const std::pair<const char*, const char*> captions[] = {
      {"Label1", "X 1:"}, {"Label2", "Y 1:"}, {"Label3", "Z 1:"},
      {"Label4", "="},    {"Label5", "="},    {"Label6", "="}};
  for (const auto& [name, text] : captions) EXPECT_EQ(Child<QLabel>(*d, name)->text(), text);
  for (QLineEdit* rate : {d->XRateEdit, d->YRateEdit, d->ZRateEdit}) EXPECT_EQ(rate->text(), "1");
  EXPECT_EQ(Text(d->XEdit), "100");
  EXPECT_EQ(Text(d->YEdit), "50");
  EXPECT_EQ(Text(d->ZEdit), "20");
  EXPECT_EQ(d->SizeX, 100.0f);
  EXPECT_EQ(d->OKButtom->text(), "OK");
}

TEST_F(ScaleDialogTest, SizesArePrintedFromTheirExactFloatValue) {
  const auto d = Show(12.3456, 0.1, 1e20);
  EXPECT_EQ(Text(d->XEdit), "12.3456001281738");
  EXPECT_EQ(Text(d->YEdit), "0.100000001490116");
  EXPECT_EQ(Text(d->ZEdit), "1.00000002004088E20");
}

TEST_F(ScaleDialogTest, EachRateMovesOnlyItsOwnSize) {
  const auto d = Show(100, 50, 20);
  d->XRateEdit->setText(QStringLiteral("2"));
  EXPECT_EQ(Text(d->XEdit), "200");
  EXPECT_EQ(Text(d->YEdit), "50");
  EXPECT_EQ(Text(d->ZEdit), "20");
  // The product is formed in double: 0.1 as f32 times 50.
  d->YRateEdit->setText(QStringLiteral("0.1"));
  EXPECT_EQ(Text(d->YEdit), "5.00000007450581");
  d->ZRateEdit->setText(QStringLiteral("-1.5"));
  EXPECT_EQ(Text(d->ZEdit), "-30");
  EXPECT_EQ(Text(d->XEdit), "200");
}

TEST_F(ScaleDialogTest, TextsThatAreNoNumberYetAreIgnoredSilently) {
  const auto d = Show(100, 50, 20);
  d->XRateEdit->setText(QStringLiteral("3"));
  for (const char* partial : {"", "-", ".", "3x"}) {
    d->XRateEdit->setText(QLatin1String(partial));
    EXPECT_EQ(Text(d->XEdit), "300") << partial;
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ScaleDialogTest, OkStoresTheRatesAndTheCloseBoxKeepsThePreviousOnes) {
  Session& session = form().session();
  session.XRate = session.YRate = session.ZRate = 3.0f;
  auto d = Show(100, 50, 20);
  d->close();
  EXPECT_EQ(d->result(), QDialog::Rejected);
  EXPECT_EQ(session.XRate, 3.0f);
  EXPECT_EQ(session.ZRate, 3.0f);

  d = Show(100, 50, 20);  // a new dialog starts at "1" again
  d->OKButtom->click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(session.XRate, 1.0f);
  EXPECT_EQ(session.YRate, 1.0f);
  EXPECT_EQ(session.ZRate, 1.0f);

  d = Show(100, 50, 20);
  d->XRateEdit->setText(QStringLiteral("2"));
  d->YRateEdit->setText(QStringLiteral("1"));
  d->ZRateEdit->setText(QStringLiteral("0.5"));
  d->OKButtom->click();
  EXPECT_EQ(session.XRate, 2.0f);
  EXPECT_EQ(session.ZRate, 0.5f);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ScaleDialogTest, RateThatIsNoNumberStopsOkAfterTheRatesBeforeIt) {
  Session& session = form().session();
  const auto d = Show(100, 50, 20);
  d->XRateEdit->setText(QStringLiteral("2"));
  d->YRateEdit->setText(QStringLiteral("abc"));
  d->ZRateEdit->setText(QStringLiteral("4"));
  d->OKButtom->click();
  EXPECT_EQ(host.messages, std::vector<std::string>{"'abc' is not a valid floating point value"});
  EXPECT_EQ(session.XRate, 2.0f);
  EXPECT_EQ(session.YRate, 1.0f);
  EXPECT_EQ(session.ZRate, 1.0f);
  EXPECT_TRUE(d->isVisible());
}

}  // namespace
}  // namespace vantora
