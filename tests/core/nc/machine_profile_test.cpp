#include "core/nc/machine_profile.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

// Every built-in profile, written out and read back, is the same profile: the text an
// operator saves from the application is the one a user's file holds.
TEST(MachineProfile, BuiltInsRoundTripThroughTheirText) {
  for (const std::string& name : BuiltInMachineNames()) {
    SCOPED_TRACE(name);
    const auto builtIn = BuiltInMachine(name);
    ASSERT_TRUE(builtIn);
    MachineProfile read;
    ASSERT_TRUE(ParseMachineProfile(MachineProfileText(*builtIn), read).ok());
    EXPECT_EQ(read, *builtIn);
  }
  MachineProfile plain;
  ASSERT_TRUE(ParseMachineProfile("", plain).ok());
  EXPECT_EQ(plain, MachineProfile{});
  EXPECT_EQ(BuiltInMachine("plain"), MachineProfile{});
}

// A user's file starts from the plain profile: a list given replaces the default one,
// comments and blanks are skipped, an axis may turn freely.
TEST(MachineProfile, AUsersFileOverridesThePlainProfile) {
  MachineProfile p;
  ASSERT_TRUE(ParseMachineProfile("# mine\nName=shop\n\nEnd=M5\nEnd=M2\n XTravel = -10 20 \n"
                                  "Turn=indexed\nIndexFeed=900\nDwellUnit=ms\n",
                                  p)
                  .ok());
  EXPECT_EQ(p.End, (std::vector<std::string>{"M5", "M2"}));
  EXPECT_EQ(p.X.Min, -10);
  EXPECT_EQ(p.X.Max, 20);
  EXPECT_FALSE(p.C.Min);
  EXPECT_EQ(p.Turn, TableTurn::Indexed);
  EXPECT_TRUE(p.DwellInMilliseconds);
}

// What no program can be written with is refused, naming the line where there is one,
// and the profile given is left as it was.
TEST(MachineProfile, RefusesWhatNoProgramCanBeWrittenWith) {
  const std::pair<const char*, const char*> cases[] = {
      {"Nmae=grbl\n", "line 1"},
      {"Name=a\nDecimals=2.5\n", "line 2"},
      {"Decimals=2\n", "3 to 6 decimals"},
      {"Decimals=99999999999\n", "line 1"},
      {"Turn=indexed\n", "index feed"},
      {"Turn=sideways\n", "line 1"},
      {"XTravel=5 -5\n", "line 1"},
      {"XRate=0\n", "X axis"},
      {"PreHeat=-1\n", "pre-heat"},
      {"PreHeat=nan\n", "line 1"},
      {"Header\n", "line 1"},
      {"Name=a\n=1800\n", "line 2"},
      {"Feed=inverse-time\n", "G93"},
  };
  for (const auto& [text, says] : cases) {
    SCOPED_TRACE(text);
    MachineProfile p = *BuiltInMachine("grbl");
    const Status s = ParseMachineProfile(text, p);
    EXPECT_FALSE(s.ok());
    EXPECT_NE(s.message().find(says), std::string::npos) << s.message();
    EXPECT_EQ(p, *BuiltInMachine("grbl"));
  }
}

// A name is a built-in profile first, else a file; neither is refused by name.
TEST(MachineProfile, LoadsABuiltInOrAFile) {
  TempDir dir;
  const std::string path = dir.File("shop.ini");
  WriteFile(path, "Name=shop\nWireOn=M8\n");
  MachineProfile p;
  ASSERT_TRUE(LoadMachineProfile(path, p).ok());
  EXPECT_EQ(p.WireOn, (std::vector<std::string>{"M8"}));
  ASSERT_TRUE(LoadMachineProfile("linuxcnc", p).ok());
  EXPECT_EQ(p.Name, "linuxcnc");
  const Status missing = LoadMachineProfile(dir.File("none.ini"), p);
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("none.ini"), std::string::npos);
}

}  // namespace
}  // namespace vantora
