#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "common/appearance.h"
#include "common/memo_appender.h"
#include "gui_testing.h"

namespace vantora {
namespace {

using testing::Child;
using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kSmallScreenMessage = "Screen tool samall,Some display  error!";

QColor Base(const QWidget* field) { return field->palette().color(QPalette::Base); }

using MainWindowTest = testing::StartedApplicationTest;

TEST_F(MainWindowTest, StartsWithTheDescribedControls) {
  EXPECT_EQ(form().windowTitle(), "Orvelline");
  for (const char* hidden : {"Panel1", "PosNcButton", "XImage", "YImage", "ZImage", "RImage",
                             "XLabel", "YLabel", "ZLabel", "DiaLabel", "Panel2", "ScaBar",
                             "StartButton"}) {
    EXPECT_TRUE(Find(hidden)->isHidden()) << hidden;
  }
  EXPECT_FALSE(Find("SaveDfButtom")->isEnabled());
  EXPECT_TRUE(Find("OpenFileButton")->isEnabled());
  EXPECT_EQ(form().ChildWindowOffset, Find("Panel1")->width());

  const std::pair<const char*, const char*> hints[] = {
      {"OpenFileButton", "Open *.stl *.sca"}, {"SaveDfButtom", "Save Text/Binary.stl"},
      {"SpeedButton1", "Set Trouch Point size"}, {"FormatButton", "Define  nc forma"},
      {"PosNcButton", "Tool Path"}, {"StartButton", "Define start position"}};
  for (const auto& [name, hint] : hints) EXPECT_EQ(Find(name)->toolTip(), hint) << name;

  const std::pair<const char*, const char*> edits[] = {
      {"ResuEdit", "0.2"},        {"WrrediaEdit1", "1.00"},   {"StartDegEdit", "0.00"},
      {"EndDegEdit", "0.00"},     {"StepDegEdit", "5.00"},    {"StartHeightEdit", "0.00"},
      {"StartXEdit", "0.00"},     {"EndXEdit", "0.00"}};
  for (const auto& [name, text] : edits) EXPECT_EQ(Find<QLineEdit>(name)->text(), text) << name;

  const char* const captions[] = {"Resolution", "Wire Dia",     "From",        "To",
                                  "deg",        "Section deg",  "Start height", "Begin Range",
                                  "End Range"};
  for (int i = 0; i < 9; ++i) {
    const std::string name = "Label" + std::to_string(i + 1);
    EXPECT_EQ(Find<QLabel>(name.c_str())->text(), captions[i]) << name;
  }
  EXPECT_EQ(Find<QPushButton>("BitBtn1")->text(), "OK");
}

TEST_F(MainWindowTest, CreationOrderAndTimers) {
  EXPECT_EQ(form().DataModule1, app->DataModule1.get());
  EXPECT_TRUE(app->OpenGL_Form->isHidden());
  EXPECT_EQ(app->OpenGL_Form->windowTitle(), "3D");
  EXPECT_EQ(app->OpenGL_Form->objectName(), "OpenGL_Form");
  const auto* timer2 = Child<QTimer>(form(), "Timer2");
  EXPECT_TRUE(timer2->isActive());
  EXPECT_EQ(timer2->interval(), 1000);
  EXPECT_EQ(form().session().ScanFileCount, -1);
  EXPECT_EQ(form().session().XRate, 1.0f);
}

TEST_F(MainWindowTest, ShowsMaximisedOverTheWorkArea) {
  app->ShowMainWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
  QTest::qWait(20);
  EXPECT_TRUE(form().isMaximized());
  EXPECT_EQ(form().frameGeometry(), form().screen()->availableGeometry());
  EXPECT_TRUE(host.messages.empty());  // the offscreen screen is 800 pixels high
}

TEST_F(MainWindowTest, LowWindowIsReportedOnceWhenShown) {
  form().resize(1099, 719);
  form().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
  QTest::qWait(20);
  EXPECT_EQ(host.messages, std::vector<std::string>{kSmallScreenMessage});
  EXPECT_TRUE(form().isVisible());
}

TEST_F(MainWindowTest, DesignedSizeShowsWithoutMessage) {
  form().resize(1099, 720);
  form().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
  QTest::qWait(20);
  EXPECT_TRUE(host.messages.empty());
}

// Guided input: the field to fill next blinks, entering it moves the blinking on.
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

  // Two ticks: one paints the blinking field sky blue, the other white again.
  void ExpectBlinks(const char* name) {
    const QWidget* field = Find(name);
    form().BlinkPhase = false;
    form().Timer2Timer();
    EXPECT_EQ(Base(field), kSkyBlue) << name;
    form().Timer2Timer();
    EXPECT_EQ(Base(field), kWindowColor) << name;
  }
};

TEST_F(GuidedInputTest, ResolutionThenWireDiameterThenNothing) {
  EXPECT_EQ(form().FocusedEditIndex, 0);
  ExpectBlinks("ResuEdit");

  Enter("ResuEdit");
  EXPECT_EQ(form().FocusedEditIndex, 1);
  EXPECT_EQ(Base(Find("ResuEdit")), kSkyBlue);
  ExpectBlinks("WrrediaEdit1");
  EXPECT_EQ(Base(Find("ResuEdit")), kSkyBlue);  // the entered field keeps its colour

  Enter("WrrediaEdit1");
  EXPECT_EQ(form().FocusedEditIndex, 3);
  for (int tick = 0; tick < 3; ++tick) form().Timer2Timer();
  for (const char* name : {"ResuEdit", "WrrediaEdit1"}) EXPECT_EQ(Base(Find(name)), kSkyBlue);
  for (const char* name : {"StartDegEdit", "EndDegEdit", "StepDegEdit", "StartHeightEdit"}) {
    EXPECT_EQ(Base(Find(name)), kWindowColor) << name;
  }
}

TEST_F(GuidedInputTest, AnglesAndStartHeightAfterToolPathSetUp) {
  form().FocusedEditIndex = 5;  // what the tool-path set-up leaves
  const std::pair<const char*, int> chain[] = {
      {"StartDegEdit", 6}, {"EndDegEdit", 7}, {"StepDegEdit", 8}, {"StartHeightEdit", 9}};
  for (const auto& [field, next] : chain) {
    ExpectBlinks(field);
    Enter(field);
    EXPECT_EQ(form().FocusedEditIndex, next) << field;
  }
  EXPECT_EQ(form().GuidedField(9), nullptr);
  for (int index : {2, 3, 4, -1, 10}) EXPECT_EQ(form().GuidedField(index), nullptr) << index;
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

TEST_F(MainWindowTest, TouchPointSizeIsKeptInTheSettingsFile) {
  EXPECT_EQ(form().session().TouchPointSize, 0.5f);  // no file yet
  Restart();
  EXPECT_EQ(ReadFile(dir.File("ScanerTool.ini")), "ScannerTool=0.500mm\n");

  Click("SpeedButton1");
  EXPECT_FALSE(Find("SpeedButton1")->isEnabled());
  EXPECT_FALSE(Find("Panel2")->isHidden());
  EXPECT_EQ(Find<QLineEdit>("ToolSizeEdit")->text(), "0.500");
  Find<QLineEdit>("ToolSizeEdit")->setText("0.8");
  Click("BitBtn1");
  EXPECT_TRUE(Find("Panel2")->isHidden());
  EXPECT_TRUE(Find("SpeedButton1")->isEnabled());
  EXPECT_EQ(form().session().TouchPointSize, 0.8f);

  Restart();
  EXPECT_EQ(ReadFile(dir.File("ScanerTool.ini")), "ScannerTool=0.800mm\n");
  EXPECT_EQ(form().session().TouchPointSize, 0.8f);
  EXPECT_TRUE(host.messages.empty());
}

// The smoothing tolerance lives in a file of its own, so NC.ini keeps its format.
TEST_F(MainWindowTest, ToleranceIsKeptInItsOwnSettingsFile) {
  EXPECT_EQ(Find<QLineEdit>("ToleranceEdit")->text(), "0.000");  // no file yet
  Find<QLineEdit>("ToleranceEdit")->setText("0.25");
  Restart();
  EXPECT_EQ(ReadFile(dir.File("Smoothing.ini")), "Tolerance=0.250mm\n");
  EXPECT_EQ(Find<QLineEdit>("ToleranceEdit")->text(), "0.250");
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainWindowTest, TouchPointSizeThatIsNotANumberStopsTheHandler) {
  Click("SpeedButton1");
  Find<QLineEdit>("ToolSizeEdit")->setText("abc");
  Click("BitBtn1");
  EXPECT_EQ(host.messages, std::vector<std::string>{"'abc' is not a valid floating point value"});
  EXPECT_EQ(form().session().TouchPointSize, 0.5f);
  // What the handler did before the bad number stays done.
  EXPECT_TRUE(Find("Panel2")->isHidden());
  EXPECT_TRUE(Find("SpeedButton1")->isEnabled());
}

TEST_F(MainWindowTest, SettingsFileThatCannotBeWrittenIsReportedAndClosingGoesOn) {
  form().SettingsFileName = dir.File("missing/ScanerTool.ini");
  bool closed = false;
  QObject::connect(&form(), &TForm1::Closed, [&closed] { closed = true; });
  form().close();
  EXPECT_TRUE(closed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("ScanerTool.ini"), std::string::npos) << host.messages[0];
}

TEST_F(MainWindowTest, NcFormatIsReadAtStart) {
  WriteFile(dir.File("NC.ini"), "UVAs120hG90 G21/");
  Restart();
  const NcFormat& format = form().session().Format;
  EXPECT_EQ(format.HorizonAxis + format.VerticalAxis + format.RotateAxis, "UVA");
  EXPECT_EQ(format.CutSpeed, "120");
  EXPECT_EQ(format.FirstLine, "G90 G21");
}

// A long operation disables the buttons that would start another one; they come back
// as the operation left them.
TEST_F(MainWindowTest, BusyStateHoldsOffSecondOperations) {
  const char* const starters[] = {"OpenFileButton", "SpeedButton1", "FormatButton",
                                  "PosWireButton", "StepButton"};
  {
    BusyState::Scope operation(form().Busy);
    EXPECT_TRUE(form().Busy.Active());
    for (const char* name : starters) EXPECT_FALSE(Find(name)->isEnabled()) << name;
    form().SaveDfButtom->setEnabled(true);  // what an import does in the middle
    form().OpenFileButton->setEnabled(false);
    {
      BusyState::Scope nested(form().Busy);
    }
    EXPECT_FALSE(Find("FormatButton")->isEnabled());
  }
  EXPECT_FALSE(form().Busy.Active());
  EXPECT_TRUE(Find("SaveDfButtom")->isEnabled());
  EXPECT_FALSE(Find("OpenFileButton")->isEnabled());
  for (const char* name : {"SpeedButton1", "FormatButton", "PosWireButton", "StepButton"}) {
    EXPECT_TRUE(Find(name)->isEnabled()) << name;
  }
}

TEST_F(MainWindowTest, StepButtonClearsTheProgramIncludingLinesNotYetShown) {
  form().NcLines->AppendLine("G1 X 1.000 F300");
  form().NcLines->Flush();
  form().NcLines->AppendLine(" X 2.000");
  Click("StepButton");
  QTest::qWait(40);
  EXPECT_TRUE(Find<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
}

}  // namespace
}  // namespace vantora
