#include <gtest/gtest.h>

#include <algorithm>

#include "cli_run.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::CliRun;
using testing::ReadFile;
using testing::RunTool;
using testing::ScopedCurrentDir;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

TEST(CliNc, WritesTheProgramOfOneSectionByDefault) {
  TempDir dir;
  ScopedCurrentDir here(dir.path());  // no NC.ini: the default format
  WriteFile(dir.File("box.stl"), testing::TextStlBox(20, 20));
  const CliRun run = RunTool({"nc", dir.File("box.stl"), "-o", dir.File("box.nc")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const auto lines = Lines(ReadFile(dir.File("box.nc")));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "");
  EXPECT_EQ(lines[1].substr(0, 5), "G1 X ");
  EXPECT_NE(lines[1].find(" Y 1.600 C 0.000 F300"), std::string::npos) << lines[1];
  EXPECT_EQ(lines.back(), "M30");
  EXPECT_EQ(run.out, "Wrote " + dir.File("box.nc") + " (1 sections, " +
                         std::to_string(lines.size()) + " lines)\n");
  EXPECT_EQ(run.err, "The wire stays outside the model.\n");
}

TEST(CliNc, ReadsAnglesStartPositionAndFormat) {
  TempDir dir;
  WriteFile(dir.File("box.stl"), testing::TextStlBox(20, 20));
  WriteFile(dir.File("format.ini"), "UVAs500hG90 G21/");
  const CliRun run = RunTool({"nc", dir.File("box.stl"), "-o", dir.File("box.nc"), "--from", "0",
                              "--to", "90", "--step", "45", "--start-height", "5",
                              "--nc-format", dir.File("format.ini")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("(3 sections"), std::string::npos) << run.out;
  const auto lines = Lines(ReadFile(dir.File("box.nc")));
  EXPECT_EQ(lines[0], "G90 G21");
  // Start row trunc(5 / 0.2 + 0.5 + 7 + 1) = 33, at 6.6 mm.
  EXPECT_NE(lines[1].find(" V 6.600 A 0.000 F500"), std::string::npos) << lines[1];
  auto turnsTo = [&](const char* word) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(word) != std::string::npos;
    });
  };
  EXPECT_EQ(turnsTo(" A 45.000"), 1);
  EXPECT_EQ(turnsTo(" A 90.000"), 1);
}

TEST(CliNc, TakesTheFormatFromNcIniInTheCurrentDirectory) {
  TempDir dir;
  ScopedCurrentDir here(dir.path());
  WriteFile(dir.File("box.stl"), testing::TextStlBox(20, 20));
  WriteFile(dir.File("NC.ini"), "XZBs250h/");
  ASSERT_EQ(RunTool({"nc", "box.stl", "-o", "box.nc"}).status, kExitOk);
  const auto lines = Lines(ReadFile(dir.File("box.nc")));
  EXPECT_NE(lines[1].find(" Z 1.600 B 0.000 F250"), std::string::npos) << lines[1];
}

TEST(CliNc, UsageErrorsAndRefusals) {
  TempDir dir;
  WriteFile(dir.File("box.stl"), testing::TextStlBox(20, 20));
  const std::string model = dir.File("box.stl"), out = dir.File("box.nc");
  for (const auto& [option, value] : {std::pair{"--step", "abc"}, {"--resolution", "nan"},
                                      {"--wire", "1mm"}, {"--begin-range", ""}}) {
    const CliRun run = RunTool({"nc", model, "-o", out, option, value});
    EXPECT_EQ(run.status, kExitUsage) << option;
    EXPECT_NE(run.err.find(option), std::string::npos) << run.err;
  }
  const CliRun step = RunTool({"nc", model, "-o", out, "--to", "10", "--step", "0"});
  EXPECT_EQ(step.status, kExitFailure);
  EXPECT_EQ(step.err, "vantora-cli: The section step must be greater than 0; it is 0.\n");
  const CliRun backward = RunTool({"nc", model, "-o", out, "--from", "90", "--to", "0"});
  EXPECT_EQ(backward.status, kExitFailure);
  EXPECT_EQ(backward.err,
            "vantora-cli: The first section angle 90 lies after the last 0: there is no "
            "section to cut.\n");
  const CliRun wire = RunTool({"nc", model, "-o", out, "--wire", "-1"});
  EXPECT_EQ(wire.status, kExitFailure);
  EXPECT_NE(wire.err.find("wire diameter"), std::string::npos);
  const CliRun format = RunTool({"nc", model, "-o", out, "--nc-format", dir.File("none.ini")});
  EXPECT_EQ(format.status, kExitFailure);
  EXPECT_NE(format.err.find("none.ini"), std::string::npos);
  const CliRun place = RunTool({"nc", model, "-o", dir.File("no/such/dir/box.nc")});
  EXPECT_EQ(place.status, kExitFailure);
  EXPECT_NE(place.err.find("no/such/dir/box.nc"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Without --no-platform the model would be set on the platform; left below it, it has
// no tool path.
TEST(CliNc, RefusesAModelLeftBelowThePlatform) {
  TempDir dir;
  WriteFile(dir.File("sunk.stl"), testing::TextStl(testing::BoxFacets({0, 0, -30}, {20, 20, -10})));
  const CliRun run =
      RunTool({"nc", dir.File("sunk.stl"), "-o", dir.File("sunk.nc"), "--no-platform"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.err,
            "vantora-cli: The model lies from Z -30 to Z -10; it must stand on the platform (Z "
            "0) for a tool path.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("sunk.nc")));
}

// A model too wide for 6000 columns at 0.2 mm gets a larger resolution; beyond the
// wire's diameter the application warns and goes on. The margin of one such cell is
// too narrow for the wire on this box: the program is written and the check says so.
TEST(CliNc, WarnsWhenTheResolutionGrowsBeyondTheWire) {
  TempDir dir;
  WriteFile(dir.File("wide.stl"), testing::TextStlBox(1500, 10));
  const CliRun run = RunTool({"nc", dir.File("wide.stl"), "-o", dir.File("wide.nc"), "--wire", "0.3"});
  ASSERT_EQ(run.status, kExitModelReached) << run.err;
  EXPECT_EQ(run.err.substr(0, 22), "Wrie dia > Resolution\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("wide.nc")));
}

}  // namespace
}  // namespace vantora
