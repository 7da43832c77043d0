#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "common/memo_appender.h"
#include "gui_testing.h"

namespace vantora {
namespace {

using MainWindowTest = testing::StartedApplicationTest;

// A window too low for its controls is reported once it shows, and then stays.
TEST_F(MainWindowTest, LowWindowIsReportedOnceWhenShown) {
  for (const auto& [height, reported] : {std::pair{719, 1u}, std::pair{720, 0u}}) {
    Restart();
    host.messages.clear();
    form().resize(1099, height);
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    QTest::qWait(20);
    EXPECT_EQ(host.messages.size(), reported) << height;
    EXPECT_TRUE(form().isVisible());
  }
}

// Guided input: entering the field to fill next passes the guidance on to the one
// after it, Resolution then Wire Dia before the tool-path set-up, the angles and the
// start height after it.
class GuidedInputTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Find("Panel1")->show();  // as an STL import does
    form().resize(1099, 750);
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
  }
  void Enter(const char* name) {
    QTest::mouseClick(Find(name), Qt::LeftButton);
    ASSERT_TRUE(Find(name)->hasFocus()) << name;
  }
  QWidget* Guided() { return form().GuidedField(form().FocusedEditIndex); }
};

TEST_F(GuidedInputTest, EachEnteredFieldGuidesToTheNext) {
  // From the start, and from where the tool-path set-up leaves the guidance.
  const std::pair<int, std::vector<const char*>> chains[] = {
      {0, {"ResuEdit", "WrrediaEdit1"}},
      {5, {"StartDegEdit", "EndDegEdit", "StepDegEdit", "StartHeightEdit"}}};
  for (const auto& [start, chain] : chains) {
    form().FocusedEditIndex = start;
    for (const char* field : chain) {
      EXPECT_EQ(Guided(), Find(field)) << field;
      Enter(field);
    }
    EXPECT_EQ(Guided(), nullptr);
  }
}

TEST_F(GuidedInputTest, FocusComingBackWithTheWindowIsNoEntry) {
  Enter("WrrediaEdit1");
  form().FocusedEditIndex = 5;  // the tool-path set-up, which opens another window
  QWidget other;
  other.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  form().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
  EXPECT_TRUE(Find("WrrediaEdit1")->hasFocus());
  EXPECT_EQ(form().FocusedEditIndex, 5);
}

// A size that is no number is said and changes nothing; what the handler did before
// reading it stays done. The tolerance lives in a file of its own, so NC.ini keeps its
// format.
TEST_F(MainWindowTest, TouchPointSizeAndToleranceAreKeptWhenTheProgramCloses) {
  for (const auto& [typed, size] : {std::pair{"abc", 0.5f}, std::pair{"0.8", 0.8f}}) {
    Click("SpeedButton1");
    Find<QLineEdit>("ToolSizeEdit")->setText(typed);
    Click("BitBtn1");
    EXPECT_TRUE(Find("SpeedButton1")->isEnabled());
    EXPECT_EQ(form().session().TouchPointSize, size);
  }
  EXPECT_EQ(host.messages.size(), 1u);
  Find<QLineEdit>("ToleranceEdit")->setText("0.25");
  Restart();
  EXPECT_EQ(form().session().TouchPointSize, 0.8f);
  EXPECT_EQ(Find<QLineEdit>("ToleranceEdit")->text(), "0.250");
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));

  // A file that cannot be written is said, and closing goes on.
  form().SettingsFileName = dir.File("missing/ScanerTool.ini");
  QSignalSpy closed(&form(), &TForm1::Closed);
  form().close();
  EXPECT_EQ(closed.count(), 1);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_NE(host.messages[1].find("ScanerTool.ini"), std::string::npos) << host.messages[1];
}

// Only the outer of nested operations gives the buttons back.
TEST_F(MainWindowTest, NestedOperationHoldsTheButtonsOffUntilTheOuterEnds) {
  {
    BusyState::Scope operation(form().Busy);
    { BusyState::Scope nested(form().Busy); }
    EXPECT_FALSE(Find("FormatButton")->isEnabled());
  }
  EXPECT_TRUE(Find("FormatButton")->isEnabled());
}

// The program's lines reach the memo with the event loop, each followed by a break;
// the step button clears it, lines not yet shown included.
TEST_F(MainWindowTest, MemoShowsTheProgramUntilTheStepButtonClearsIt) {
  auto* memo = Find<QPlainTextEdit>("Memo1");
  form().NcLines->AppendLine("");  // an empty first line of the program stays a line
  form().NcLines->AppendLine("M30");
  EXPECT_TRUE(QTest::qWaitFor([memo] { return !memo->toPlainText().isEmpty(); }, 1000));
  EXPECT_EQ(memo->toPlainText(), "\nM30\n");
  form().NcLines->AppendLine(" X 2.000");
  Click("StepButton");
  QTest::qWait(40);
  EXPECT_TRUE(memo->toPlainText().isEmpty());
}

}  // namespace
}  // namespace vantora
