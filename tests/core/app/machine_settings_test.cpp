#include "core/app/machine_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

// What the settings file gives: the profile it was written with, the plain profile
// silently when there is none, and the plain profile and a reason naming the file and
// the line when it cannot be used; a file it could not use is left as it was.
TEST(MachineSettings, FileGivesItsProfileOrPlainAndTheReason) {
  testing::TempDir dir;
  const std::string path = dir.File(kMachineSettingsName);
  MachineProfile edited = *BuiltInMachine("linuxcnc");
  edited.Name = "shop";
  edited.PreHeatSeconds = 1.5;
  edited.X.Min.reset();
  edited.X.Max.reset();
  for (const MachineProfile& written : {*BuiltInMachine("grbl"), edited, MachineProfile{}}) {
    ASSERT_TRUE(WriteMachineSettings(path, written));
    const MachineSettings read = ReadMachineSettings(path);
    EXPECT_TRUE(read.Problem) << read.Problem.message();
    EXPECT_EQ(read.Profile, written) << written.Name;
  }
  const struct {
    const char* content;
    const char* reason;  // empty: read silently as plain
  } broken[] = {
      {nullptr, ""},
      {"", ""},
      {"Name=shop\nPreHeat=warm\n", "line 2"},
      {"Name=shop\n\nLaser=on\n", "line 3"},
      {"Turn=indexed\nIndexFeed=0\n", "index feed"},
  };
  for (const auto& [content, reason] : broken) {
    SCOPED_TRACE(content ? content : "no file");
    std::filesystem::remove(path);
    if (content) testing::WriteFile(path, content);
    const MachineSettings read = ReadMachineSettings(path);
    EXPECT_EQ(read.Profile, *BuiltInMachine("plain"));
    EXPECT_EQ(read.Problem.ok(), *reason == '\0');
    EXPECT_NE(read.Problem.message().find(reason), std::string::npos) << read.Problem.message();
    if (*reason) {
      EXPECT_NE(read.Problem.message().find(path), std::string::npos);
    }
    if (content) {
      EXPECT_EQ(testing::ReadFile(path), content);
    }
  }
}

// The warning belongs to a wire switched as the spindle (M3 or M4, however written)
// with a pause after it; a spindle word in a comment, M30, or no pause is no reason.
TEST(MachineSettings, LaserModeWarningOnlyForSpindleHeatWithAPause) {
  const struct {
    std::vector<std::string> wireOn;
    double preHeat;
    bool warned;
  } cases[] = {
      {{"M3 S1000"}, 3, true},   {{"G4 P0", "m04s500"}, 1, true}, {{"S800 M03"}, 0.5, true},
      {{"M3 S1000"}, 0, false},  {{"M30"}, 3, false},             {{"M64 P0"}, 3, false},
      {{"(M3) M8"}, 3, false},   {{"M8 ; M3"}, 3, false},          {{"M3.1"}, 3, false},
  };
  for (const auto& [wireOn, preHeat, warned] : cases) {
    MachineProfile profile;
    profile.WireOn = wireOn;
    profile.PreHeatSeconds = preHeat;
    EXPECT_EQ(!LaserModeWarning(profile).empty(), warned) << wireOn.back() << " " << preHeat;
  }
  for (const std::string& name : BuiltInMachineNames()) {
    const bool spindle = name == "grbl" || name == "fluidnc";
    EXPECT_EQ(!LaserModeWarning(*BuiltInMachine(name)).empty(), spindle) << name;
  }
  EXPECT_NE(LaserModeWarning(*BuiltInMachine("grbl")).find("$32=0"), std::string::npos);
}

}  // namespace
}  // namespace vantora
