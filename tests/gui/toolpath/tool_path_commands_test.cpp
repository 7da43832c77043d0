// The tool-path commands of the main window driven through its controls: set-up,
// start position, the sweep into Memo1 and saving the program, compared with what the
// batch tool writes for the same model and values.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <set>

#include "cli_run.h"
#include "stl_builder.h"
#include "common/memo_appender.h"
#include "core/common/number_text.h"
#include "toolpath/tool_path_testing.h"

namespace vantora {
namespace {

using testing::ReadFile;
using testing::RunTool;
using testing::SharedModel;
using testing::WriteFile;

class ToolPathCommandsTest : public testing::ToolPathTest {
 protected:
  // What vantora-cli nc writes for `model` with `options`, run here.
  std::string BatchProgram(const std::string& model, std::vector<std::string> options) {
    const std::string out = dir.File("batch.nc");
    options.insert(options.begin(), {"nc", model, "-o", out});
    const testing::CliRun run = RunTool(options);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    return ReadFile(out);
  }

  // Clicks PosWireButton, answering Yes to "Save NC file ?" and choosing `file`.
  void SweepAndSave(const std::string& file) {
    host.answers.push_back(true);
    host.saveFiles.push_back({file, 1});
    Click("PosWireButton");
  }

  // Clicks PosWireButton, answering No.
  void SweepWithoutSaving() {
    host.answers.push_back(false);
    Click("PosWireButton");
  }

  using Fields = std::vector<std::pair<const char*, const char*>>;
  // Types `fields`, then `text` into `edit`, and clicks `button`: the messages shown.
  std::vector<std::string> ClickWith(const char* button, const Fields& fields, const char* edit,
                                     const char* text) {
    for (const auto& [name, value] : fields) Type(name, value);
    Type(edit, text);
    host.messages.clear();
    Click(button);
    return host.messages;
  }

  std::string Memo() { return Find<QPlainTextEdit>("Memo1")->toPlainText().toStdString(); }

  // The session's program as the memo should show it: a line each, the program end
  // without a line feed of its own.
  std::string ProgramAsMemoText() {
    std::string text;
    const NcProgram& program = form().session().Program;
    for (int k = 0; k < program.LineCount(); ++k) {
      std::string_view line = program.Line(k);
      if (line == "M30\n") line = "M30";
      text.append(line).append("\n");
    }
    return text;
  }

  static int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
      ++n;
    }
    return n;
  }
};

TEST_F(ToolPathCommandsTest, SweepBeforeSetUpSaysToolPathNotFind) {
  OpenModel(BoxFile());
  Type("StartDegEdit", "abc");  // not read: the missing set-up is said first
  Click("PosWireButton");
  EXPECT_EQ(host.messages, std::vector<std::string>{"Tool path not find"});
  EXPECT_TRUE(Memo().empty());
  EXPECT_EQ(form().session().Program.LineCount(), 0);
  EXPECT_TRUE(host.questions.empty());
}

TEST_F(ToolPathCommandsTest, SetUpPresetsTheFieldsAndOpensTheToolPathWindow) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(store().ToolPathReady, 1);
  EXPECT_FALSE(Find("PosNcButton")->isEnabled());
  EXPECT_FALSE(Find("ResuEdit")->isEnabled());
  EXPECT_FALSE(Find("WrrediaEdit1")->isEnabled());
  EXPECT_FALSE(Find("StartButton")->isHidden());
  EXPECT_EQ(form().FocusedEditIndex, 5);
  EXPECT_EQ(form().GuidedField(form().FocusedEditIndex), Find("StartDegEdit"));
  EXPECT_FALSE(form().Busy.Active());
  // The 20 mm box with a 1 mm wire: a raster 22 mm across each way, whose diagonal
  // 31.113 mm gives a half width of 16.056 mm.
  EXPECT_EQ(Text("StartXEdit"), "-16.056");
  EXPECT_EQ(Text("EndXEdit"), "16.056");
  EXPECT_EQ(Text("StartHeightEdit"), "0.000");
  EXPECT_EQ(Text("ResuEdit"), "0.2");  // as typed: it fitted
  ASSERT_NE(form().OutLineForm, nullptr);
  EXPECT_TRUE(pathForm().isVisible());
  EXPECT_EQ(pathForm().windowTitle(), "Tool Path Form");
}

TEST_F(ToolPathCommandsTest, ResolutionEnlargedToFitTheGridsIsShown) {
  WriteFile(dir.File("wide.stl"), testing::TextStlBox(1500, 10));
  OpenModel(dir.File("wide.stl"));
  Type("WrrediaEdit1", "0.1");
  Click("PosNcButton");
  // diag / 0.2 is far above 5000 cells: the resolution becomes diag / 5000, more than
  // the wire's 0.1 mm.
  EXPECT_EQ(host.messages, std::vector<std::string>{"Wrie dia > Resolution"});
  EXPECT_EQ(Text("ResuEdit"), FloatToText(store().Resolution));
  EXPECT_EQ(Text("ResuEdit"), "0.424");
  EXPECT_EQ(store().RasterMaxI, 5500);
  EXPECT_FALSE(Find("PosNcButton")->isEnabled());
}

TEST_F(ToolPathCommandsTest, SetUpThatCannotBeDoneChangesNothing) {
  OpenModel(BoxFile());
  const Fields usual{{"ResuEdit", "0.2"}, {"WrrediaEdit1", "1.00"}, {"StartDegEdit", "0.00"}};
  const std::pair<const char*, const char*> refused[] = {
      {"ResuEdit", "abc"}, {"WrrediaEdit1", "1..0"}, {"StartDegEdit", "x"}, {"ResuEdit", "0"},
      {"ResuEdit", "-0.2"}};
  const std::string openedStartX = Text("StartXEdit");  // as the open flow wrote it
  for (const auto& [edit, text] : refused) {
    SCOPED_TRACE(std::string(edit) + " = " + text);
    EXPECT_EQ(ClickWith("PosNcButton", usual, edit, text).size(), 1u);
    EXPECT_EQ(store().ToolPathReady, 0);
    EXPECT_TRUE(Find("PosNcButton")->isEnabled());
    EXPECT_TRUE(Find("ResuEdit")->isEnabled());
    EXPECT_TRUE(Find("StartButton")->isHidden());
    EXPECT_EQ(form().OutLineForm, nullptr);
    EXPECT_EQ(form().FocusedEditIndex, 0);
    EXPECT_EQ(Text("StartXEdit"), openedStartX);
    EXPECT_FALSE(form().Busy.Active());
  }
  EXPECT_EQ(ClickWith("PosNcButton", usual, "ResuEdit", "abc"),
            std::vector<std::string>{"'abc' is not a valid floating point value"});
}

TEST_F(ToolPathCommandsTest, ModelLeftBelowThePlatformIsRefused) {
  WriteFile(dir.File("sunk.stl"),
            testing::TextStl(testing::BoxFacets({0, 0, -30}, {20, 20, -10})));
  host.openFiles.push_back({dir.File("sunk.stl"), 2});
  host.answers.push_back(false);  // Cancel to "Move to platform ?"
  form().OpenFileButton->click();
  Click("PosNcButton");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("from Z -30 to Z -10; it must stand on the platform"),
            std::string::npos)
      << host.messages[0];
  EXPECT_EQ(store().ToolPathReady, 0);
  EXPECT_TRUE(Find("PosNcButton")->isEnabled());
  EXPECT_EQ(form().OutLineForm, nullptr);
}

TEST_F(ToolPathCommandsTest, WholeJobSavesWhatTheBatchToolWrites) {
  const std::string cone = SharedModel("ocl-cone_on_side.stl").string();
  for (const std::string& model : {BoxFile(), cone}) {
    if (!std::filesystem::exists(model)) continue;  // the shared models are optional
    SCOPED_TRACE(model);
    Restart();
    OpenModel(model);
    Click("PosNcButton");
    Type("StartDegEdit", "0");
    Type("EndDegEdit", "360");
    Type("StepDegEdit", "5");
    SweepAndSave(dir.File("window.nc"));

    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "Save NC file ?");
    EXPECT_EQ(host.questions[0].caption, "Position Message");
    EXPECT_EQ(host.progress.back(), std::make_pair(73, 73));
    EXPECT_EQ(pathForm().RoteDegEdit->text(), "360.000");
    const std::string saved = ReadFile(dir.File("window.nc"));
    EXPECT_EQ(saved, BatchProgram(model, {"--from", "0", "--to", "360", "--step", "5"}));
    EXPECT_EQ(Memo(), ProgramAsMemoText());
    EXPECT_EQ(Count(saved, "M30\r\n"), 1);
    EXPECT_EQ(pathForm().CheckLabel->text(), "The wire stays outside the model.");
    EXPECT_FALSE(form().Busy.Active());
    EXPECT_TRUE(host.messages.empty()) << host.messages[0];
    host.progress.clear();
  }
}

TEST_F(ToolPathCommandsTest, TheToleranceSmoothsAsTheBatchToolDoes) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("EndDegEdit", "90");
  Type("StepDegEdit", "30");
  Type("ToleranceEdit", "0.2");
  SweepAndSave(dir.File("smooth.nc"));
  EXPECT_EQ(ReadFile(dir.File("smooth.nc")),
            BatchProgram(BoxFile(), {"--to", "90", "--step", "30", "--tolerance", "0.2"}));
  EXPECT_EQ(pathForm().CheckLabel->text(), "The wire stays outside the model.");
}

TEST_F(ToolPathCommandsTest, FormatAndDefaultsReachTheProgram) {
  WriteFile(dir.File("NC.ini"), "UVAs500hG90 G21/");
  Restart();
  OpenModel(BoxFile());
  Click("PosNcButton");
  SweepAndSave(dir.File("window.nc"));  // the defaults: one section, at 0 degrees
  EXPECT_EQ(host.progress, (std::vector<std::pair<int, int>>{{1, 1}}));
  const std::string saved = ReadFile(dir.File("window.nc"));
  EXPECT_EQ(saved.substr(0, 9), "G90 G21\r\n");
  EXPECT_EQ(saved, BatchProgram(BoxFile(), {}));
  EXPECT_EQ(Memo().substr(0, 8), "G90 G21\n");
}

TEST_F(ToolPathCommandsTest, EachRunAppendsAWholeProgramUntilTheMemoIsCleared) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("EndDegEdit", "10");
  SweepWithoutSaving();
  const int firstRun = form().session().Program.LineCount();
  EXPECT_EQ(Count(Memo(), "M30"), 1);
  SweepWithoutSaving();
  EXPECT_EQ(Count(Memo(), "M30"), 2);
  // The check reads the run just appended, not the ones before it.
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(pathForm().CheckLabel->text(), "The wire stays outside the model.");
  EXPECT_GT(form().session().Program.LineCount(), firstRun);
  EXPECT_EQ(Memo(), ProgramAsMemoText());

  // Saving writes the whole memo: both programs.
  SweepAndSave(dir.File("three.nc"));
  EXPECT_EQ(Count(ReadFile(dir.File("three.nc")), "M30\r\n"), 3);

  Click("StepButton");
  EXPECT_TRUE(Memo().empty());
  EXPECT_EQ(form().session().Program.LineCount(), 0);
  SweepAndSave(dir.File("one.nc"));
  const std::string one = ReadFile(dir.File("one.nc"));
  EXPECT_EQ(Count(one, "M30\r\n"), 1);
  EXPECT_EQ(one.substr(0, 2), "\r\n");  // the empty first line of the default format
}

// A margin of one enlarged cell is too narrow for the wire on this box: the window
// says so and marks the section, and the program is still offered.
TEST_F(ToolPathCommandsTest, ASweepThatReachesIntoTheModelIsMarked) {
  WriteFile(dir.File("wide.stl"), testing::TextStlBox(1500, 10));
  OpenModel(dir.File("wide.stl"));
  Type("WrrediaEdit1", "0.3");
  Click("PosNcButton");
  SweepWithoutSaving();
  const std::string label = pathForm().CheckLabel->text().toStdString();
  EXPECT_NE(label.find("reaches into the model"), std::string::npos) << label;
  EXPECT_NE(label.find("Sections: C 0.000"), std::string::npos) << label;
  EXPECT_EQ(Memo(), ProgramAsMemoText());
  EXPECT_EQ(host.questions.size(), 1u);
}

TEST_F(ToolPathCommandsTest, AnswerNoOrCancelSavesNothingAndKeepsTheProgram) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  SweepWithoutSaving();
  host.answers.push_back(true);  // Yes, then the dialog cancelled
  Click("PosWireButton");
  EXPECT_EQ(host.questions.size(), 2u);
  EXPECT_EQ(Count(Memo(), "M30"), 2);
  EXPECT_TRUE(host.messages.empty());
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_NE(entry.path().extension(), ".nc") << entry.path();
  }
}

TEST_F(ToolPathCommandsTest, SaveThatFailsIsReportedAndLeavesNoFile) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  const std::string target = dir.File("missing/out.nc");
  SweepAndSave(target);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("out.nc"), std::string::npos) << host.messages[0];
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(Count(Memo(), "M30"), 1);  // the program stays to be saved elsewhere
}

TEST_F(ToolPathCommandsTest, RefusedAnglesChangeNothing) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  const Fields usual{{"StartDegEdit", "0.00"}, {"EndDegEdit", "0.00"}, {"StepDegEdit", "5.00"}};
  const std::pair<const char*, const char*> refused[] = {
      {"StepDegEdit", "0"}, {"StepDegEdit", "-5"}, {"EndDegEdit", "ten"}, {"StartDegEdit", ""},
      {"StartDegEdit", "90"}};
  for (const auto& [edit, text] : refused) {
    SCOPED_TRACE(std::string(edit) + " = " + text);
    EXPECT_EQ(ClickWith("PosWireButton", usual, edit, text).size(), 1u);
    EXPECT_TRUE(Memo().empty());
    EXPECT_EQ(form().session().Program.LineCount(), 0);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_FALSE(form().Busy.Active());
  }
  EXPECT_EQ(ClickWith("PosWireButton", usual, "StepDegEdit", "0"),
            std::vector<std::string>{"The section step must be greater than 0; it is 0."});
}

// The memo shows whole programs only: a sweep that fails adds nothing to it.
TEST_F(ToolPathCommandsTest, SweepWithoutAPathLeavesTheMemoAsItWas) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  SweepWithoutSaving();
  const std::string memo = Memo();
  const int lines = form().session().Program.LineCount();
  Type("StartHeightEdit", "50");  // above the box
  Click("StartButton");
  host.messages.clear();
  Click("PosWireButton");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("No section has a tool path"), std::string::npos);
  EXPECT_EQ(Memo(), memo);
  EXPECT_EQ(form().session().Program.LineCount(), lines);
  EXPECT_EQ(host.questions.size(), 1u);  // the first run's "Save NC file ?" only
}

TEST_F(ToolPathCommandsTest, StartButtonMovesTheMarkersAndTheNextSweepUsesTheRange) {
  const std::string box = BoxFile();
  OpenModel(box);
  Click("PosNcButton");
  TOutLineForm& view = pathForm();
  const QPoint anglePanel = view.Panel1->pos();
  const QPoint bar = view.Panel2->pos();

  // Typed but not confirmed: the next sweep does not see it.
  Type("StartXEdit", "-3");
  Type("EndDegEdit", "90");
  Type("StepDegEdit", "45");
  SweepAndSave(dir.File("preset.nc"));
  EXPECT_EQ(ReadFile(dir.File("preset.nc")),
            BatchProgram(box, {"--to", "90", "--step", "45"}));
  Click("StepButton");

  Type("StartHeightEdit", "5");
  Type("StartXEdit", "-8");
  Type("EndXEdit", "9");
  Click("StartButton");
  EXPECT_EQ(store().StartHeight, 5.0f);
  EXPECT_EQ(store().BeginRange, -8.0f);
  EXPECT_EQ(store().EndRange, 9.0f);
  EXPECT_FALSE(view.FollowBar);
  // 5 mm at ViewScale pixels per mm above the base line; the angle panel stays.
  const int up = int(5.0f * view.ViewScale + 0.5);
  EXPECT_GT(up, 20);
  EXPECT_EQ(view.Panel2->pos(), bar - QPoint(0, up));
  EXPECT_EQ(view.Panel1->pos(), anglePanel);
  EXPECT_EQ(view.ZLabel->text(), "5.000");
  EXPECT_EQ(view.StartXLabel->text(), "-8.000");
  EXPECT_EQ(view.EndXLabel->text(), "9.000");

  SweepAndSave(dir.File("range.nc"));
  EXPECT_EQ(ReadFile(dir.File("range.nc")),
            BatchProgram(box, {"--to", "90", "--step", "45", "--start-height", "5",
                               "--begin-range", "-8", "--end-range", "9"}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ToolPathCommandsTest, StartPositionThatCannotBeUsedChangesNothing) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  for (const char* height : {"abc", "1e30"}) {
    Type("StartHeightEdit", height);
    host.messages.clear();
    Click("StartButton");
    EXPECT_EQ(host.messages.size(), 1u) << height;
    EXPECT_EQ(store().StartHeight, 0.0f);
    EXPECT_TRUE(pathForm().FollowBar);
  }
}

// While a sweep runs the event loop runs too: nothing may start a second sweep or
// change the raster, the model, the format or the program under it.
TEST_F(ToolPathCommandsTest, NothingElseStartsWhileASweepRuns) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("EndDegEdit", "20");
  std::set<std::string> anglesShown;
  bool triedOthers = false;
  host.whilePending = [&] {
    anglesShown.insert(pathForm().RoteDegEdit->text().toStdString());
    if (triedOthers) return;
    triedOthers = true;
    EXPECT_TRUE(form().Busy.Active());
    for (const char* name : {"PosWireButton", "StepButton", "StartButton", "PosNcButton",
                             "OpenFileButton", "FormatButton", "SaveDfButtom"}) {
      EXPECT_FALSE(Find(name)->isEnabled()) << name;
      Click(name);
    }
    EXPECT_FALSE(form().ModelView->Panel3->isEnabled());
    EXPECT_FALSE(form().ModelView->InSetButton->isEnabled());
  };
  SweepWithoutSaving();
  host.whilePending = nullptr;
  EXPECT_TRUE(triedOthers);
  EXPECT_EQ(Count(Memo(), "M30"), 1);
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_TRUE(Find("PosWireButton")->isEnabled());
  EXPECT_TRUE(Find("StepButton")->isEnabled());
  EXPECT_TRUE(Find("FormatButton")->isEnabled());
  EXPECT_FALSE(Find("PosNcButton")->isEnabled());  // as the set-up left it
  // Redrawn for every section, with its angle shown.
  for (const char* angle : {"0.000", "5.000", "10.000", "15.000", "20.000"}) {
    EXPECT_EQ(anglesShown.count(angle), 1u) << angle;
  }
}

}  // namespace
}  // namespace vantora
