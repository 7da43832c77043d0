#include "nc/machine_choice.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/app/machine_settings.h"
#include "gui_testing.h"

namespace vantora {
namespace {

using testing::Child;
using testing::ReadFile;

class MachineChoiceTest : public testing::StartedApplicationTest {
 protected:
  QComboBox* Box() { return Find<QComboBox>("MachineBox"); }
  // Chooses the entry `caption` the way the operator does.
  void Choose(const char* caption) {
    const int index = Box()->findText(caption);
    ASSERT_GE(index, 0) << caption;
    Box()->setCurrentIndex(index);
    emit Box()->activated(index);
  }
  MachineProfile Kept() { return ReadMachineSettings(dir.File(kMachineSettingsName)).Profile; }
  // Opens the Machine dialog and runs `act` on it while it is open.
  void InDialog(std::function<void(QWidget&)> act) {
    testing::WhenModal(std::move(act));
    Click("MachineButton");
  }
  static void Type(QWidget& dialog, const char* control, const char* text) {
    if (auto* line = dialog.findChild<QLineEdit*>(control)) {
      line->setText(text);
    } else {
      Child<QPlainTextEdit>(dialog, control)->setPlainText(text);
    }
  }
  static bool Warned(QWidget& dialog) { return !Child<QLabel>(dialog, "LaserWarning")->isHidden(); }
};

// A built-in profile chosen holds at once, is kept in Machine.ini and comes back at the
// next start; only a wire heated as the spindle with a pause brings the warning.
TEST_F(MachineChoiceTest, ChosenBuiltInHoldsIsKeptAndWarnsForSpindleHeat) {
  const std::pair<const char*, std::size_t> choices[] = {
      {"grbl", 1}, {"plain", 0}, {"fluidnc", 1}, {"linuxcnc", 0}, {"mach3", 0}};
  for (const auto& [name, warnings] : choices) {
    host.messages.clear();
    Choose(name);
    EXPECT_EQ(form().session().Machine, BuiltInMachine(name)) << name;
    EXPECT_EQ(Kept(), BuiltInMachine(name)) << name;
    ASSERT_EQ(host.messages.size(), warnings) << name;
    if (warnings) {
      EXPECT_NE(host.messages[0].find("$32=0"), std::string::npos);
    }
    Restart();
    EXPECT_EQ(form().session().Machine, BuiltInMachine(name)) << name;
    EXPECT_EQ(Box()->currentText(), name);
    InDialog([&, name](QWidget& dialog) {
      EXPECT_EQ(Warned(dialog), warnings > 0) << name;
      dialog.close();
    });
  }
  EXPECT_EQ(host.messages.size(), 0u);
}

// An edit that makes no usable profile is said, naming what cannot be used, and the
// dialog stays open; closing it then changes nothing, in the session or in the file. A
// blank line in a list is no line: that edit gives the profile it was.
TEST_F(MachineChoiceTest, EditRefusedChangesNothing) {
  Choose("grbl");
  const std::string kept = ReadFile(dir.File(kMachineSettingsName));
  const struct {
    const char *control, *text, *named;  // named: what the message names; none when taken
  } edits[] = {
      {"IndexFeedEdit", "0", "index feed"},     {"DecimalsEdit", "7", "decimals"},
      {"PreHeatEdit", "warm", "Pre-heat"},      {"XTravelFromEdit", "600", "X travel"},
      {"EndEdit", " \n", "End lines"},          {"NameEdit", "", "Name"},
      {"WireOnEdit", "M3 S1000\n\n", nullptr}};
  for (const auto& [control, text, named] : edits) {
    host.messages.clear();
    bool refused = false;
    InDialog([&, text = text, control = control](QWidget& dialog) {
      Type(dialog, control, text);
      Child<QPushButton>(dialog, "OKButton")->click();
      refused = dialog.isVisible();
      dialog.close();
    });
    EXPECT_EQ(refused, named != nullptr) << control;
    if (named) {
      ASSERT_EQ(host.messages.size(), 1u) << control;
      EXPECT_NE(host.messages[0].find(named), std::string::npos) << host.messages[0];
    }
    EXPECT_EQ(form().session().Machine, BuiltInMachine("grbl")) << control;
    EXPECT_EQ(ReadFile(dir.File(kMachineSettingsName)), kept) << control;
  }
}

// An edited profile is the operator's own: it holds, is kept, comes back at the next
// start under its own entry, and can be chosen again after a built-in one.
TEST_F(MachineChoiceTest, EditedProfileIsKeptAsTheOperatorsOwn) {
  Choose("grbl");
  host.messages.clear();
  InDialog([](QWidget& dialog) {
    EXPECT_TRUE(Warned(dialog));
    Type(dialog, "WireOnEdit", "M8\nG4 P0");
    EXPECT_FALSE(Warned(dialog));
    Type(dialog, "PreHeatEdit", "5");
    Type(dialog, "EndEdit", "M5\nM2");
    Type(dialog, "CTravelFromEdit", "-90");
    Type(dialog, "CTravelToEdit", "90");
    Child<QComboBox>(dialog, "TurnBox")->setCurrentIndex(0);
    Child<QPushButton>(dialog, "OKButton")->click();
  });
  MachineProfile edited = *BuiltInMachine("grbl");
  edited.WireOn = {"M8", "G4 P0"};
  edited.PreHeatSeconds = 5;
  edited.End = {"M5", "M2"};
  edited.C.Min = -90;
  edited.C.Max = 90;
  edited.Turn = TableTurn::WithMove;
  EXPECT_EQ(form().session().Machine, edited);
  EXPECT_EQ(Kept(), edited);
  Restart();
  EXPECT_EQ(form().session().Machine, edited);
  EXPECT_EQ(Box()->currentText(), "grbl (edited)");
  Choose("plain");
  Choose("grbl (edited)");
  EXPECT_EQ(form().session().Machine, edited);
  EXPECT_TRUE(host.messages.empty());
}

// A Machine.ini that cannot be used is said at start, the plain profile holds, and the
// file stays as it is until a machine is chosen.
TEST_F(MachineChoiceTest, BrokenSettingsFileGivesPlainAndStaysUntilChosen) {
  const std::string broken = "Name=shop\nLaser=on\n";
  dir.Put(kMachineSettingsName, broken);
  Restart();
  EXPECT_EQ(form().session().Machine, *BuiltInMachine("plain"));
  EXPECT_EQ(Box()->currentText(), "plain");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("line 2"), std::string::npos) << host.messages[0];
  EXPECT_NE(host.messages[0].find(kMachineSettingsName), std::string::npos);
  Restart();
  EXPECT_EQ(ReadFile(dir.File(kMachineSettingsName)), broken);
  Choose("mach3");
  EXPECT_EQ(Kept(), BuiltInMachine("mach3"));
}

// A profile file loads into the form (one that cannot be used is said and loads
// nothing) and the form saves as a file that reads back as the profile taken.
TEST_F(MachineChoiceTest, ProfileFilesLoadIntoTheFormAndTheFormSaves) {
  MachineProfile own = *BuiltInMachine("fluidnc");
  own.Name = "bench";
  own.Feed = FeedMode::InverseTime;
  own.Header = {"G21", "G93"};
  ASSERT_TRUE(WriteMachineSettings(dir.File("bench.ini"), own));
  host.openFiles = {{dir.Put("bad.ini", "Decimals=9\n")}, {dir.File("bench.ini")}};
  host.saveFiles = {{dir.File("copy.ini")}};
  InDialog([](QWidget& dialog) {
    for (const char* button : {"LoadButton", "LoadButton", "SaveButton", "OKButton"}) {
      Child<QPushButton>(dialog, button)->click();
    }
  });
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("bad.ini"), std::string::npos) << host.messages[0];
  EXPECT_EQ(form().session().Machine, own);
  MachineProfile saved;
  ASSERT_TRUE(LoadMachineProfile(dir.File("copy.ini"), saved));
  EXPECT_EQ(saved, own);
  EXPECT_EQ(Box()->currentText(), "bench");
}

}  // namespace
}  // namespace vantora
