#include <gtest/gtest.h>

#include <algorithm>

#include "cli_run.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

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

// The format from --nc-format, else from NC.ini in the current directory, else the
// default; the first motion line at the start row, the sweep's turns each once.
TEST_F(CliNc, WritesTheProgramInItsFormatFromItsStartRow) {
  ScopedCurrentDir here(dir.path());
  const struct {
    const char* ncIni;
    std::vector<std::string> options;
    const char* firstLine;
    const char* head;  // the first motion line's start, with the horizontal axis
    const char* firstMove;
    std::vector<const char*> turns;
  } cases[] = {
      {nullptr, {}, "", "G1 X ", " Y 1.600 C 0.000 F300", {}},  // one section
      {"XZBs250h/", {}, "", "G1 X ", " Z 1.600 B 0.000 F250", {}},
      // Start row trunc(5 / 0.2 + 0.5 + 7 + 1) = 33, at 6.6 mm.
      {"XZBs250h/",
       {"--from", "0", "--to", "90", "--step", "45", "--start-height", "5", "--nc-format",
        dir.Put("format.ini", "UVAs500hG90 G21/")},
       "G90 G21", "G1 U ", " V 6.600 A 0.000 F500", {" A 45.000", " A 90.000"}},
  };
  for (const auto& c : cases) {
    if (c.ncIni) WriteFile("NC.ini", c.ncIni);
    std::vector<std::string> args{"nc", "box.stl", "-o", "box.nc"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunTool(args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto lines = Lines(ReadFile(program));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), c.firstLine);
    EXPECT_EQ(lines[1].substr(0, 5), c.head) << lines[1];
    EXPECT_NE(lines[1].find(c.firstMove), std::string::npos) << lines[1];
    EXPECT_EQ(lines.back(), "M30");
    for (const char* turn : c.turns) {
      const auto turns = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(turn) != std::string::npos;
      });
      EXPECT_EQ(turns, 1) << turn;
    }
  }
}

// A model too wide for 6000 columns at 0.2 mm gets a larger resolution; beyond the
// wire's diameter the application warns and goes on, and the program keeps off the box.
// Cells ten times the wire keep off it too: the raster has room on both sides of the
// axis for the margin a section widens where the cube's corner turns outward. A range
// narrowed by hand to end over the cube leaves no room for that: the program is
// written and the status says it reaches in.
TEST_F(CliNc, WarnsOfAnEnlargedResolutionAndSaysWhenTheWireReachesIn) {
  WriteFile(model, testing::TextStlBox(1500, 10));
  const CliRun wide = RunTool({"nc", model, "-o", program, "--wire", "0.3"});
  EXPECT_EQ(wide.status, kExitOk) << wide.err;
  EXPECT_NE(wide.err.find("Resolution"), std::string::npos) << wide.err;
  WriteFile(model, testing::TextStlBox(20, 20));
  std::filesystem::remove(program);
  const CliRun coarse = RunTool({"nc", model, "-o", program, "--resolution", "1", "--wire",
                                 "0.1", "--to", "45", "--step", "45"});
  EXPECT_EQ(coarse.status, kExitOk) << coarse.err;
  const CliRun narrowed = RunTool({"nc", model, "-o", program, "--resolution", "1", "--wire",
                                   "0.1", "--to", "90", "--step", "45", "--begin-range", "-15",
                                   "--end-range", "2"});
  EXPECT_EQ(narrowed.status, kExitModelReached) << narrowed.err;
  EXPECT_TRUE(std::filesystem::exists(program));
}

// The box needs the sections square to its faces only: the program chosen from every
// degree is the one a sweep at 0 and 90 writes, byte for byte, and the curve says what
// more sections would leave.
TEST_F(CliNc, AdaptiveCutsTheSectionsTheModelNeeds) {
  const std::string uniform = dir.File("uniform.nc"), curve = dir.File("curve.csv");
  const CliRun chosen = RunTool({"nc", model, "-o", program, "--from", "0", "--to", "359",
                                 "--step", "1", "--adaptive", "1", "--curve", curve});
  ASSERT_EQ(chosen.status, kExitOk) << chosen.err;
  EXPECT_NE(chosen.err.find("Chose 2 of 360 sections"), std::string::npos) << chosen.err;
  ASSERT_EQ(RunTool({"nc", model, "-o", uniform, "--to", "90", "--step", "90"}).status, kExitOk);
  EXPECT_EQ(ReadFile(program), ReadFile(uniform));
  const std::string csv = ReadFile(curve);
  EXPECT_EQ(csv.substr(0, csv.find('\n')), "sections,material_left_mm3,cutting_minutes,chosen");
  EXPECT_NE(csv.find("\n2,"), std::string::npos);
  EXPECT_NE(csv.find(",1\n"), std::string::npos);
}

// A program for a machine, and the same sweep resumed at a section: the resumed file
// ends as the whole one does from that section's marker on, and stderr names the
// section. Resuming needs a profile that marks sections and a section in the sweep.
TEST_F(CliNc, WritesForAMachineAndResumesAtASection) {
  const std::string whole = dir.File("whole.nc");
  const std::vector<std::string> sweep{"nc", model, "--to", "90", "--step", "45"};
  const auto run = [&](const std::string& output, std::vector<std::string> options) {
    std::vector<std::string> args = sweep;
    args.insert(args.end(), {"-o", output});
    args.insert(args.end(), options.begin(), options.end());
    return RunTool(args);
  };
  ASSERT_EQ(run(whole, {"--machine", "linuxcnc"}).status, kExitOk);
  const CliRun resumed = run(program, {"--machine", "linuxcnc", "--resume-section", "2"});
  ASSERT_EQ(resumed.status, kExitOk) << resumed.err;
  EXPECT_NE(resumed.err.find("Resumed at section 2 of 3, C 45.000."), std::string::npos)
      << resumed.err;
  const std::string wholeText = ReadFile(whole), resumedText = ReadFile(program);
  const std::string marker = "(Section 2 of 3: C 45.000)\r\n";
  ASSERT_NE(resumedText.find(marker), std::string::npos);
  EXPECT_EQ(resumedText.substr(resumedText.find(marker)), wholeText.substr(wholeText.find(marker)));
  EXPECT_TRUE(resumedText.starts_with("\r\nG21\r\nG90\r\nG94\r\nG0 X ")) << resumedText;
  const struct {
    std::vector<std::string> options;
    int status;
    const char* message;
  } refused[] = {
      {{"--resume-section", "2"}, kExitUsage, "writes none"},
      {{"--machine", "grbl", "--resume-section", "4"}, kExitFailure, "sections 1 to 3"},
      {{"--machine", "nowhere.ini"}, kExitFailure, "No machine profile \"nowhere.ini\""},
  };
  for (const auto& c : refused) {
    const CliRun r = run(dir.File("refused.nc"), c.options);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused.nc")));
  }
}

}  // namespace
}  // namespace vantora
