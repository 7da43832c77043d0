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

class CliNc : public ::testing::Test {
 protected:
  CliNc() { WriteFile(model, testing::TextStlBox(20, 20)); }
  TempDir dir;
  const std::string model = dir.File("box.stl"), program = dir.File("box.nc");
};

TEST_F(CliNc, WritesTheProgramOfOneSectionByDefault) {
  ScopedCurrentDir here(dir.path());  // no NC.ini: the default format
  const CliRun run = RunTool({"nc", model, "-o", program});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const auto lines = Lines(ReadFile(program));
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "");
  EXPECT_EQ(lines[1].substr(0, 5), "G1 X ");
  EXPECT_NE(lines[1].find(" Y 1.600 C 0.000 F300"), std::string::npos) << lines[1];
  EXPECT_EQ(lines.back(), "M30");
  EXPECT_EQ(run.out, "Wrote " + program + " (1 sections, " + std::to_string(lines.size()) +
                         " lines)\n");
}

TEST_F(CliNc, ReadsAnglesStartPositionAndFormat) {
  WriteFile(dir.File("format.ini"), "UVAs500hG90 G21/");
  const CliRun run = RunTool({"nc", model, "-o", program, "--from", "0", "--to", "90", "--step",
                              "45", "--start-height", "5", "--nc-format", dir.File("format.ini")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("(3 sections"), std::string::npos) << run.out;
  const auto lines = Lines(ReadFile(program));
  EXPECT_EQ(lines[0], "G90 G21");
  // Start row trunc(5 / 0.2 + 0.5 + 7 + 1) = 33, at 6.6 mm.
  EXPECT_NE(lines[1].find(" V 6.600 A 0.000 F500"), std::string::npos) << lines[1];
  for (const char* turn : {" A 45.000", " A 90.000"}) {
    const auto turns = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(turn) != std::string::npos;
    });
    EXPECT_EQ(turns, 1) << turn;
  }
}

TEST_F(CliNc, TakesTheFormatFromNcIniInTheCurrentDirectory) {
  ScopedCurrentDir here(dir.path());
  WriteFile(dir.File("NC.ini"), "XZBs250h/");
  ASSERT_EQ(RunTool({"nc", "box.stl", "-o", "box.nc"}).status, kExitOk);
  const auto lines = Lines(ReadFile(program));
  EXPECT_NE(lines[1].find(" Z 1.600 B 0.000 F250"), std::string::npos) << lines[1];
}

// A model too wide for 6000 columns at 0.2 mm gets a larger resolution; beyond the
// wire's diameter the application warns and goes on. The margin of one such cell is
// too narrow for the wire on this box: the program is written and the check says so.
TEST_F(CliNc, WarnsWhenTheResolutionGrowsBeyondTheWire) {
  WriteFile(model, testing::TextStlBox(1500, 10));
  const CliRun run = RunTool({"nc", model, "-o", program, "--wire", "0.3"});
  ASSERT_EQ(run.status, kExitModelReached) << run.err;
  EXPECT_NE(run.err.find("Resolution"), std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::exists(program));
}

}  // namespace
}  // namespace vantora
