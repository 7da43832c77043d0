// The tool-path commands of the main window driven through its controls: set-up,
// start position, the sweep into Memo1 and saving the program, compared with what the
// batch tool writes for the same model and values.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "cli_run.h"
#include "core/nc/machine_profile.h"
#include "core/stl/stl_writer.h"
#include "stl_builder.h"
#include "toolpath/choice_plot.h"
#include "xvfb/frame_testing.h"
#include "toolpath/tool_path_testing.h"
#include "xvfb/frame_testing.h"
#include "toolpath_models.h"
#include "view3d/carved_view.h"

namespace vantora {
namespace {

using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kOutside = "The wire stays outside the model.";

class ToolPathCommandsTest : public testing::ToolPathTest {
 protected:
  // What vantora-cli nc writes for `model` with `options`, run here.
  std::string BatchProgram(const std::string& model, std::vector<std::string> options) {
    const std::string out = dir.File("batch.nc");
    options.insert(options.begin(), {"nc", model, "-o", out});
    const testing::CliRun run = testing::RunTool(options);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    return ReadFile(out);
  }

  // Clicks PosWireButton, answering Yes to "Save NC file ?" and choosing `file`, or No
  // without a file.
  void Sweep(const std::string& file = {}) {
    host.answers.push_back(!file.empty());
    if (!file.empty()) host.saveFiles.push_back({file, 1});
    Click("PosWireButton");
  }

  std::string Memo() { return Find<QPlainTextEdit>("Memo1")->toPlainText().toStdString(); }
  std::string Check() { return pathForm().CheckLabel->text().toStdString(); }

  // How far a field's text stands out from its ground: the contrast ratio of its
  // darkest pixel and its commonest, inside the frame (1 to 21).
  static double TextContrast(const QImage& field) {
    std::map<QRgb, int> counts;
    double darkest = 1;
    for (int y = 4; y < field.height() - 4; ++y) {
      for (int x = 4; x < field.width() - 4; ++x) {
        ++counts[field.pixel(x, y)];
        darkest = std::min(darkest, Luminance(field.pixelColor(x, y)));
      }
    }
    const auto ground = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
      return a.second < b.second;
    });
    return (Luminance(QColor(ground->first)) + 0.05) / (darkest + 0.05);
  }
  static double Luminance(QColor c) {
    const auto linear = [](double v) {
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  }

  // A saved program as the memo shows it: a line each, ended by a line feed.
  static std::string AsMemoText(std::string saved) {
    for (auto at = saved.find("\r\n"); at != std::string::npos; at = saved.find("\r\n", at)) {
      saved.erase(at, 1);
    }
    return saved;
  }

  static int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  // What a refused command must leave as it was: the set-up, the start position, the
  // program and the memo, the questions asked, the busy state.
  auto State() {
    const TOutLineForm* path = form().OutLineForm;
    return std::tuple(store().ToolPathReady, path != nullptr, path && path->FollowBar,
                      Find("PosNcButton")->isEnabled(), Find("StartButton")->isHidden(),
                      Text("StartXEdit"), store().StartHeight, store().BeginRange, Memo(),
                      form().session().Program.LineCount(), host.questions.size(),
                      form().Busy.Active());
  }
};

// Each refused entry is said once and changes nothing. A sweep the core refuses hands
// nothing over, so one refusal of it stands for all, a sweep without a path among them.
TEST_F(ToolPathCommandsTest, RefusedEntriesChangeNothing) {
  OpenModel(BoxFile());
  // A field that is no number, and one refusal of the core call per button: which
  // values the core refuses is its own tests' concern.
  const std::tuple<const char*, const char*, const char*> refused[] = {
      {"PosWireButton", "StartDegEdit", "abc"}, {"PosNcButton", "ResuEdit", "abc"},
      {"PosNcButton", "WrrediaEdit1", "1..0"},  {"PosNcButton", "StartDegEdit", "x"},
      {"PosNcButton", "ResuEdit", "0"},         {"PosNcButton", "StockEdit", "abc"},
      {nullptr, nullptr, nullptr},  // the set-up, done
      {"PosWireButton", "StepDegEdit", "0"},    {"PosWireButton", "EndDegEdit", "ten"},
      {"PosWireButton", "StartDegEdit", ""},    {"PosWireButton", "ToleranceEdit", "abc"},
      {"StartButton", "StartHeightEdit", "abc"}, {"StartButton", "StartHeightEdit", "1e30"}};
  for (const auto& [button, edit, text] : refused) {
    if (!button) {
      Click("PosNcButton");
      ASSERT_NE(form().OutLineForm, nullptr);
      Sweep();  // a program in the memo, for the refused sweeps to keep
      continue;
    }
    SCOPED_TRACE(std::string(button) + ": " + edit + " = " + text);
    const auto before = State();
    const std::string usual = Text(edit);
    Type(edit, text);
    host.messages.clear();
    Click(button);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(State(), before);
    Type(edit, usual.c_str());
  }
  EXPECT_EQ(store().ToolPathReady, 1);
}

// The 20 mm box with a 1 mm wire: 93 cells of 0.2 mm on either side of the axis, the
// range reaching to the one next to the edge. The resolution fits and stays as typed.
// Resolution and Wire Dia, locked now, still read clearly, though entered (and so
// painted sky blue) before.
TEST_F(ToolPathCommandsTest, SetUpShowsTheRangeAndTheStartHeightItPresets) {
  OpenModel(BoxFile());
  form().ResuEditEnter();
  form().WrrediaEdit1Enter();
  Click("PosNcButton");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(std::tuple(Text("StartXEdit"), Text("EndXEdit"), Text("StartHeightEdit"),
                       Text("ResuEdit")),
            std::tuple("-18.400", "18.400", "0.000", "0.2"));
  for (const char* locked : {"ResuEdit", "WrrediaEdit1"}) {
    QWidget& field = *Find(locked);
    EXPECT_FALSE(field.isEnabled()) << locked;
    EXPECT_GT(TextContrast(field.grab().toImage()), 7.0) << locked;
  }
}

// Far above 5000 cells at 0.2 mm: the set-up shows the resolution enlarged to
// diag / 5000 and warns that it exceeds the wire; the program still keeps off the box.
TEST_F(ToolPathCommandsTest, WideModelShowsItsEnlargedResolution) {
  WriteFile(dir.File("wide.stl"), testing::TextStlBox(1500, 10));
  OpenModel(dir.File("wide.stl"));
  Type("WrrediaEdit1", "0.3");
  Click("PosNcButton");
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(Text("ResuEdit"), "0.424");
  Sweep();
  EXPECT_EQ(Check(), kOutside);
}

// Cells ten times the wire and a range narrowed by hand to end over the box: the walk
// cannot widen its margin, the window says the wire reaches in and names the sections,
// and the program is still offered.
TEST_F(ToolPathCommandsTest, CheckNamesTheSectionsThatReachIn) {
  OpenModel(BoxFile());
  Type("ResuEdit", "1");
  Type("WrrediaEdit1", "0.1");
  Click("PosNcButton");
  Type("StartXEdit", "-15");
  Type("EndXEdit", "2");
  Click("StartButton");
  Type("EndDegEdit", "90");
  Type("StepDegEdit", "45");
  Sweep();
  EXPECT_NE(Check().find("reaches into the model"), std::string::npos) << Check();
  EXPECT_NE(Check().find("Sections: C 0.000, C 90.000"), std::string::npos) << Check();
  EXPECT_EQ(host.questions.size(), 1u);
}

// For a machine, the window's program and that program resumed at a section are the
// batch tool's, byte for byte; a section the program does not have is said, nothing
// asked.
TEST_F(ToolPathCommandsTest, ResumedProgramIsWhatTheBatchToolWrites) {
  const std::string box = BoxFile();
  WriteFile(dir.File("Machine.ini"), MachineProfileText(*BuiltInMachine("grbl")));
  Restart();
  OpenModel(box);
  Click("PosNcButton");
  Type("EndDegEdit", "135");
  Type("StepDegEdit", "45");
  Sweep(dir.File("window.nc"));
  const std::vector<std::string> sweep = {"--to", "135", "--step", "45", "--machine", "grbl"};
  EXPECT_EQ(ReadFile(dir.File("window.nc")), BatchProgram(box, sweep));
  host.messages.clear();
  host.questions.clear();
  Find<QSpinBox>("ResumeSectionEdit")->setValue(9);
  Click("ResumeButton");
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.questions.empty());
  Find<QSpinBox>("ResumeSectionEdit")->setValue(3);
  host.answers.push_back(true);
  host.saveFiles.push_back({dir.File("resumed.nc"), 1});
  Click("ResumeButton");
  std::vector<std::string> resumed = sweep;
  resumed.insert(resumed.end(), {"--resume-section", "3"});
  EXPECT_EQ(ReadFile(dir.File("resumed.nc")), BatchProgram(box, resumed));
  EXPECT_NE(host.messages.back().find("section 3 of 4, C 90.000"), std::string::npos);
}

// The window's program, saved, equals the batch tool's for the same model, format and
// values.
TEST_F(ToolPathCommandsTest, SavedProgramIsWhatTheBatchToolWrites) {
  using Fields = std::vector<std::pair<const char*, const char*>>;
  const std::string box = BoxFile();
  const struct {
    std::string model;
    const char* ncIni;
    Fields fields;
    bool confirmStart;
    std::vector<std::string> options;
  } rows[] = {
      {box, nullptr, {{"EndDegEdit", "360"}}, false, {"--to", "360", "--step", "5"}},
      {box, "UVAs500hG90 G21/", {}, false, {}},  // the defaults: one section, at 0 degrees
      {box, nullptr, {{"EndDegEdit", "90"}, {"StepDegEdit", "30"}, {"ToleranceEdit", "0.2"}},
       false, {"--to", "90", "--step", "30", "--tolerance", "0.2"}},
      // Sections chosen from every degree, and from every fourth one.
      {box, nullptr, {{"EndDegEdit", "359"}, {"StepDegEdit", "1"}, {"AdaptiveEdit", "1"}}, false,
       {"--to", "359", "--step", "1", "--adaptive", "1"}},
      {VANTORA_EXAMPLES "/torus.stl", nullptr,
       {{"EndDegEdit", "356"}, {"StepDegEdit", "4"}, {"AdaptiveEdit", "0.5"}}, false,
       {"--to", "356", "--step", "4", "--adaptive", "0.5"}},
      // A start position typed but not confirmed is not used.
      {box, nullptr, {{"EndDegEdit", "90"}, {"StepDegEdit", "45"}, {"StartXEdit", "-3"}}, false,
       {"--to", "90", "--step", "45"}},
      {box, nullptr,
       {{"EndDegEdit", "90"}, {"StepDegEdit", "45"}, {"StartHeightEdit", "5"},
        {"StartXEdit", "-8"}, {"EndXEdit", "9"}},
       true,
       {"--to", "90", "--step", "45", "--start-height", "5", "--begin-range", "-8",
        "--end-range", "9"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.model + " " + std::to_string(r.options.size()));
    std::filesystem::remove(dir.File("NC.ini"));
    if (r.ncIni) WriteFile(dir.File("NC.ini"), r.ncIni);
    Restart();
    OpenModel(r.model);
    Click("PosNcButton");
    Type("ToleranceEdit", "0");  // as an earlier row may have left it in Smoothing.ini
    Type("AdaptiveEdit", "");    // and the deviation there
    for (const auto& [edit, text] : r.fields) Type(edit, text);
    if (r.confirmStart) {
      Click("StartButton");
      EXPECT_FALSE(pathForm().FollowBar);
    }
    Sweep(dir.File("window.nc"));
    const std::string saved = ReadFile(dir.File("window.nc"));
    EXPECT_EQ(saved, BatchProgram(r.model, r.options));
    EXPECT_EQ(saved.substr(0, 9) == "G90 G21\r\n", r.ncIni != nullptr);
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_FALSE(form().Busy.Active());
    EXPECT_TRUE(host.messages.empty()) << host.messages[0];
  }
}

// After a sweep of chosen sections, the plot of material left against sections shows
// the choice marked (kept in artefacts/toolpath/), until the next sweep; the Adaptive
// field is kept for the next start.
TEST_F(ToolPathCommandsTest, ChosenSweepPlotsWhatMoreSectionsWouldLeave) {
  OpenModel(VANTORA_EXAMPLES "/torus.stl");
  Click("PosNcButton");
  Type("EndDegEdit", "358");
  Type("StepDegEdit", "2");
  Type("AdaptiveEdit", "1");
  Sweep();
  ASSERT_NE(form().ChoicePlotView, nullptr);
  ChoicePlot& plot = *form().ChoicePlotView;
  const QImage picture = testing::Keep(plot.grab().toImage(), "toolpath", "plot");
  const auto colourNear = [&](QPointF at) {
    int red = 0, blue = 0;
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const QColor c = picture.pixelColor(int(at.x()) + dx, int(at.y()) + dy);
        red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        blue += c.blue() > 150 && c.red() < 80;
      }
    }
    return std::pair(red, blue);
  };
  EXPECT_GT(colourNear(plot.LeftPoint(plot.Chosen())).first, 10);  // a red dot
  EXPECT_GT(colourNear(plot.LeftPoint(1)).second, 0);  // on the blue curve
  EXPECT_EQ(colourNear(plot.LeftPoint(1)).first, 0);
  EXPECT_GT(plot.Chosen(), 4);
  Type("AdaptiveEdit", "");
  Sweep();
  EXPECT_EQ(form().ChoicePlotView, nullptr);
  Type("AdaptiveEdit", "0.5");
  Restart();
  EXPECT_EQ(Text("AdaptiveEdit"), "0.500");
}

// Stock and Round margin are read at the set-up, as Resolution and Wire Dia, locked with
// them, and kept in the tool-path settings file for the next run. A sphere on the axis
// swept every 5 degrees with a round margin and 0.1 mm of stock, then with the standard
// margin: each program is the batch tool's. The carved views are kept in
// artefacts/toolpath/ for scripts/carved-view-picture.
TEST_F(ToolPathCommandsTest, StockAndRoundMarginCutASphereAsTheBatchToolDoes) {
  FacetTable sphere(20000);
  testing::AddSphere(sphere, 10, 48);
  const std::string model = dir.File("sphere.stl");
  ASSERT_TRUE(SaveStl(model, StlForm::Binary, sphere, {}, host));
  host.messages.clear();  // "Finish"
  for (const bool round : {true, false}) {
    app->ShowMainWindow();
    OpenModel(model);
    EXPECT_EQ(std::pair(Text("StockEdit"), Find<QCheckBox>("RoundMarginBox")->isChecked()),
              std::pair(std::string(round ? "" : "0.100"), !round));  // as the last run left them
    Type("StockEdit", round ? "0.1" : "");
    Find<QCheckBox>("RoundMarginBox")->setChecked(round);
    Click("PosNcButton");
    EXPECT_FALSE(Find("StockEdit")->isEnabled() || Find("RoundMarginBox")->isEnabled());
    Type("EndDegEdit", "180");
    Sweep(dir.File("window.nc"));
    std::vector<std::string> options = {"--to", "180"};
    if (round) options.insert(options.end(), {"--margin", "round", "--stock", "0.1"});
    EXPECT_EQ(ReadFile(dir.File("window.nc")), BatchProgram(model, options));
    Click("CarvedButton");
    QWidget* view = form().CarvedResultView;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    QTest::qWait(50);  // the frame reaches the screen
    testing::Keep(view->screen()->grabWindow(view->winId()).toImage(), "toolpath", round ? "round" : "standard");
    Restart();
  }
}

TEST_F(ToolPathCommandsTest, EachRunAppendsAWholeProgramUntilTheMemoIsCleared) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("EndDegEdit", "10");
  // A save that fails is reported; the program stays in the memo to be saved elsewhere.
  const std::string missing = dir.File("missing/out.nc");
  Sweep(missing);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("out.nc"), std::string::npos) << host.messages[0];
  EXPECT_FALSE(std::filesystem::exists(missing));
  host.messages.clear();
  Sweep();
  // The check reads the run just appended, not the ones before it.
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Check(), kOutside);

  // Saving writes the whole memo: all three programs.
  Sweep(dir.File("three.nc"));
  const std::string three = ReadFile(dir.File("three.nc"));
  EXPECT_EQ(Count(three, "M30\r\n"), 3);
  EXPECT_EQ(Memo(), AsMemoText(three));

  Click("StepButton");
  EXPECT_TRUE(Memo().empty());
  Sweep(dir.File("one.nc"));
  EXPECT_EQ(Count(ReadFile(dir.File("one.nc")), "M30\r\n"), 1);
}

// While a sweep runs the event loop runs too: nothing may start a second sweep or
// change the raster, the model, the format or the program under it.
TEST_F(ToolPathCommandsTest, NothingElseStartsWhileASweepRuns) {
  OpenModel(BoxFile());
  Click("PosNcButton");
  Type("EndDegEdit", "20");
  bool triedOthers = false;
  host.whilePending = [&] {
    if (triedOthers) return;
    triedOthers = true;
    EXPECT_TRUE(form().Busy.Active());
    for (const char* name : {"PosWireButton", "StepButton", "StartButton", "PosNcButton",
                             "OpenFileButton", "FormatButton", "SaveDfButtom"}) {
      EXPECT_FALSE(Find(name)->isEnabled()) << name;
      Click(name);
    }
  };
  Sweep();
  host.whilePending = nullptr;
  EXPECT_TRUE(triedOthers);
  EXPECT_EQ(Count(Memo(), "M30"), 1);
  EXPECT_EQ(host.questions.size(), 1u);
}

}  // namespace
}  // namespace vantora
