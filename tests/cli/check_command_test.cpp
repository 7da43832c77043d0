// vantora-cli check: the program nc wrote, and programs changed by hand, replayed
// against the model.
#include <gtest/gtest.h>

#include "cli_app.h"
#include "cli_run.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::CliRun;
using testing::ReadFile;
using testing::RunTool;
using testing::TempDir;
using testing::WriteFile;

class CliCheck : public ::testing::Test {
 protected:
  CliCheck() {
    WriteFile(model, testing::TextStlBox(20, 20));
    const CliRun nc = RunTool({"nc", model, "-o", program, "--to", "90", "--step", "45",
                               "--nc-format", format});
    EXPECT_EQ(nc.status, kExitOk) << nc.err;
  }

  CliRun Check(const std::string& text, std::vector<std::string> options = {}) {
    WriteFile(dir.File("hand.nc"), text);
    options.insert(options.begin(), {"check", model, dir.File("hand.nc"), "--nc-format", format});
    return RunTool(options);
  }

  TempDir dir;
  const std::string model = dir.File("box.stl"), program = dir.File("box.nc");
  const std::string format = [this] {
    WriteFile(dir.File("format.ini"), "XYCs300h/");
    return dir.File("format.ini");
  }();
};

TEST_F(CliCheck, ReportsWhereTheWireReachesIn) {
  const std::string written = ReadFile(program);
  const struct {
    std::string text;
    int status;
    const char* expected;
  } cases[] = {
      {written, kExitOk, "The wire stays outside the model."},
      // Straight through the middle of the box (z 10 is NC Y 11.4 above the margin rows).
      {"\r\nG1 X -15 Y 11.4 C 0 F300\r\n X 15\r\nM30\r\n", kExitModelReached,
       "line 3  C 0.000  depth 10.500"},
      {"\r\nG1 X -15 Y 5 F300\r\n", kExitFailure, "NC line 2: the first motion line"},
  };
  for (const auto& c : cases) {
    const CliRun run = Check(c.text);
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    EXPECT_NE((run.out + run.err).find(c.expected), std::string::npos) << run.out << run.err;
  }
}

// The program nc wrote, run on a machine: a profile whose travel it leaves gets exit
// status 3 and the lines named; a profile that cannot be loaded is refused.
TEST_F(CliCheck, ChecksTheProgramOnTheMachine) {
  WriteFile(dir.File("narrow.ini"), "Name=narrow\nXTravel=-5 5\n");
  WriteFile(dir.File("broken.ini"), "Name=broken\nXRate=fast\n");
  const struct {
    std::string machine;
    int status;
    const char* expected;
  } cases[] = {
      {"grbl", kExitOk, "Machine time on grbl: "},
      {dir.File("narrow.ini"), kExitModelReached, "go beyond the machine's travel: line 2 X -"},
      {dir.File("broken.ini"), kExitFailure, "line 2 \"XRate=fast\": this value cannot be used"},
      {dir.File("none.ini"), kExitFailure, "No machine profile"},
  };
  for (const auto& c : cases) {
    const CliRun run = Check(ReadFile(program), {"--machine", c.machine});
    EXPECT_EQ(run.status, c.status) << run.out << run.err;
    EXPECT_NE((run.out + run.err).find(c.expected), std::string::npos) << run.out << run.err;
  }
}

// A program made with a round margin and a stock is checked on that set-up: its rows
// start fewer cells below the platform, so on the standard set-up the same program lies
// lower and reaches into the box.
TEST_F(CliCheck, ChecksOnTheMarginTheProgramWasMadeWith) {
  ASSERT_EQ(RunTool({"nc", model, "-o", program, "--to", "90", "--step", "45", "--nc-format",
                     format, "--margin", "round", "--stock", "0.1"}).status, kExitOk);
  const CliRun same = Check(ReadFile(program), {"--margin", "round", "--stock", "0.1"});
  EXPECT_NE(same.out.find("mm, round margin, stock 0.100 mm\n"), std::string::npos) << same.out;
  EXPECT_EQ(same.status, kExitOk);
  EXPECT_EQ(Check(ReadFile(program)).status, kExitModelReached);
}

TEST_F(CliCheck, JsonHoldsTheSameReport) {
  WriteFile(dir.File("quoted.ini"), "Name=hot \"wire\" \\1\nXTravel=-20 14\n");
  const CliRun run = Check("\r\nG1 X -15 Y 11.4 C 0 F300\r\n X 15\r\nM30\r\n",
                           {"--json", "--tolerance", "0.1", "--machine", dir.File("quoted.ini")});
  EXPECT_EQ(run.status, kExitModelReached);
  EXPECT_NE(run.out.find("\"machine\": {\"name\": \"hot \\\"wire\\\" \\\\1\", \"minutes\": 0.100, "
                         "\"dwellSeconds\": 0.000, \"beyondTravel\": [{\"line\": 3, \"axis\": \"X\", "
                         "\"value\": 15.000}]}"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.substr(0, 84),
            "{\"setUp\": {\"resolution\": 0.200, \"wire\": 1.000, \"tolerance\": 0.100}, "
            "\"motionLines\": 2");
  EXPECT_NE(run.out.find("\"clean\": false"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("{\"line\": 3, \"angle\": 0.000, \"sectionAngle\": 0.000, "
                         "\"depth\": 10.500"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"cutsThrough\": true}]}"), std::string::npos) << run.out;
}

// No command writes over a file it reads, however the name is spelt: refused with
// exit status 2, every file as it was.
TEST_F(CliCheck, NoCommandWritesOverWhatItReads) {
  const std::string link = dir.File("link.stl");
  std::filesystem::create_symlink(model, link);
  const auto check = [&](const std::string& carved) {
    return std::vector<std::string>{"check", model, program, "--nc-format", format, "--carved", carved};
  };
  const struct {
    std::vector<std::string> command;
    const char* expected;
  } cases[] = {
      {check(model), "--carved names the model file"},
      {check(program), "--carved names the program file"},
      {check((dir.path() / "." / "box.stl").string()), "--carved names the model file"},
      {check(link), "--carved names the model file"},
      {check(format), "--carved names the NC format file"},
      {{"nc", model, "-o", link}, "-o names the model file"},
      {{"nc", model, "-o", format, "--nc-format", format}, "-o names the NC format file"},
      {{"stl", model, "-o", model}, "-o names the model file"},
  };
  const auto inputs = [&] { return ReadFile(model) + ReadFile(program) + ReadFile(format); };
  const std::string before = inputs();
  const std::size_t files = testing::FilesIn(dir.path());
  for (const auto& c : cases) {
    const CliRun run = RunTool(c.command);
    EXPECT_EQ(run.status, kExitUsage) << c.expected << "\n" << run.err;
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    EXPECT_EQ(inputs(), before) << c.expected;
    EXPECT_EQ(testing::FilesIn(dir.path()), files) << c.expected;
  }
}

// What admesh, a reader of its own, finds in the carved result: one part, every edge
// shared, nothing it had to mend.
std::string AdmeshFindings(const std::string& stl) {
  const std::string command = "admesh '" + stl + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe)) out += buffer;
  const int status = pipe ? pclose(pipe) : -1;
  EXPECT_EQ(status, 0) << "admesh (installed by scripts/bootstrap) did not run: " << out;
  return out;
}

TEST_F(CliCheck, WritesTheCarvedResultAReaderTakes) {
  // A U block: the slices of its two posts split off the base's, and the solid is still
  // one piece.
  const std::string uBlock = dir.File("u.stl"), uProgram = dir.File("u.nc");
  std::vector<testing::StlRecord> facets = testing::BoxFacets({0, 0, 0}, {30, 10, 5});
  for (const float x : {0.0f, 22.0f}) {
    const auto post = testing::BoxFacets({x, 0, 5}, {x + 8, 10, 15});
    facets.insert(facets.end(), post.begin(), post.end());
  }
  WriteFile(uBlock, testing::TextStl(facets));
  const CliRun nc = RunTool({"nc", uBlock, "-o", uProgram, "--to", "90", "--step", "90",
                             "--nc-format", format});
  ASSERT_EQ(nc.status, kExitOk) << nc.err;
  const struct {
    std::string model, program;
    bool text;
    const char* json;
  } cases[] = {
      {model, program, false, "\"modelVolume\": 8000.000"},
      {model, program, true, "\"modelVolume\": 8000.000"},
      {uBlock, uProgram, false, "\"carved\": {\"sliceStep\": 0.200"},
  };
  for (const auto& c : cases) {
    const std::string carved = dir.File(c.text ? "carved-text.stl" : "carved.stl");
    std::vector<std::string> options = {"check",  c.model, c.program, "--nc-format",
                                        format,   "--json", "--carved", carved};
    if (c.text) options.push_back("--text");
    const CliRun run = RunTool(options);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find(c.json), std::string::npos) << run.out;
    // The section at 45 degrees alone takes the corners 0 and 90 leave.
    if (c.model == model) {
      EXPECT_NE(run.out.find("\"idleSections\": [], \"idleMinutes\": 0.000"), std::string::npos)
          << run.out;
    }
    const std::string findings = AdmeshFindings(carved);
    std::vector<const char*> expected = {
        "Number of parts       :     1", "Total disconnected facets        :     0",
        "Degenerate facets     :     0", "Facets reversed       :     0",
        "Backwards edges       :     0"};
    // Text STL holds corners to a thousandth of a millimetre: the normal of a facet one
    // slice high, recomputed from them, can differ from the one written.
    if (!c.text) expected.push_back("Normals fixed         :     0");
    for (const char* finding : expected) {
      EXPECT_NE(findings.find(finding), std::string::npos) << c.model << ": " << finding << "\n"
                                                          << findings;
    }
  }
}

}  // namespace
}  // namespace vantora
