#include "cli_app.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>

#include "cli_run.h"
#include "core/app/scan_import.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::CliRun;
using testing::kBumpScan;
using testing::kOneFacetStl;
using testing::ReadFile;
using testing::RunTool;
using testing::TempDir;
using testing::WriteFile;

TEST(CliInfo, PrintsCountAndBoundsWithoutPlacing) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), kOneFacetStl);
  const CliRun run = RunTool({"info", dir.File("m.stl")});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "FacetCount 1\nMaxX 30\nMinX 10\nMaxY 6\nMinY -4\nMaxZ 12\nMinZ 2\n");
  EXPECT_EQ(RunTool({"--help"}).status, kExitOk);
}

TEST(CliStl, PlacesTheModelAndWritesBinary) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), kOneFacetStl);
  const CliRun run = RunTool({"stl", dir.File("m.stl"), "-o", dir.File("out.stl")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string bytes = ReadFile(dir.File("out.stl"));
  ASSERT_EQ(bytes.size(), 84u + 50u);
  float first[3];
  std::memcpy(first, bytes.data() + 84 + 12, sizeof first);
  // Centred over the origin and set on the platform: (10,-4,2) lands at (-10,-5,0).
  EXPECT_EQ(first[0], -10.0f);
  EXPECT_EQ(first[1], -5.0f);
  EXPECT_EQ(first[2], 0.0f);
}

TEST(CliStl, NoPlatformTextWithRates) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), kOneFacetStl);
  const CliRun run = RunTool({"stl", dir.File("m.stl"), "-o", dir.File("out.stl"), "--text",
                              "--no-platform", "--rates", "2", "1", "0.5"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string text = ReadFile(dir.File("out.stl"));
  EXPECT_NE(text.find("    vertex 20.000 -4.000 1.000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    vertex 60.000 6.000 1.000\r\n"), std::string::npos) << text;
}

TEST(CliStlScan, CoordinatesComeBackInMillimetres) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBumpScan);
  const CliRun run = RunTool({"stl", dir.File("bump.sca"), "-o", dir.File("bump.stl"), "--text",
                              "--touch-point", "0"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("12 facets"), std::string::npos) << run.out;
  const std::string text = ReadFile(dir.File("bump.stl"));
  // Corners of the grid, centred on the origin, at their measured heights.
  for (const char* vertex : {"vertex -0.750 -0.500 1.000", "vertex 0.750 0.500 1.000",
                             "vertex -0.250 0.000 3.000"}) {
    EXPECT_NE(text.find(vertex), std::string::npos) << vertex << "\n" << text;
  }
}

// A scan is known by its name in any case or by --scan; repaired lines are reported.
TEST(CliStlScan, ReadByNameOrOptionAndRepairsAreReported) {
  TempDir dir;
  WriteFile(dir.File("bump.txt"), kBumpScan);
  WriteFile(dir.File("BUMP.SCA"), kBumpScan);
  WriteFile(dir.File("short.sca"), "100,5,6,7,\n8,9,\n");
  EXPECT_EQ(RunTool({"stl", dir.File("bump.txt"), "-o", dir.File("o.stl"), "--scan"}).status,
            kExitOk);
  EXPECT_EQ(RunTool({"stl", dir.File("BUMP.SCA"), "-o", dir.File("o.stl")}).status, kExitOk);
  const CliRun repaired = RunTool({"stl", dir.File("short.sca"), "-o", dir.File("o.stl")});
  EXPECT_EQ(repaired.status, kExitOk);
  EXPECT_NE(repaired.err.find(kScanRepairMessage), std::string::npos) << repaired.err;
}

TEST(CliStlScan, TouchPointComesFromTheSettingsFile) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kBumpScan);
  testing::ScopedCurrentDir here(dir.path());
  auto convert = [](std::vector<std::string> extra) {
    std::vector<std::string> args{"stl", "bump.sca", "-o", "o.stl"};
    args.insert(args.end(), extra.begin(), extra.end());
    EXPECT_EQ(RunTool(args).status, kExitOk);
    return ReadFile("o.stl");
  };
  const std::string withoutSettings = convert({});
  EXPECT_EQ(withoutSettings, convert({"--touch-point", "0.5"}));
  WriteFile("ScanerTool.ini", "ScannerTool=1.200mm\r\n");
  const std::string fromSettings = convert({});
  EXPECT_EQ(fromSettings, convert({"--touch-point", "1.2"}));
  EXPECT_NE(fromSettings, withoutSettings);
}

// What a command lets escape ends it with status 1 and a message, not the process.
TEST(GuardCommand, EscapingExceptionsFailTheCommand) {
  const std::pair<std::function<int()>, const char*> cases[] = {
      {[]() -> int { throw std::bad_alloc(); }, "vantora-cli: Out of memory"},
      {[]() -> int { throw std::length_error("vector too long"); },
       "vantora-cli: Internal error (vector too long)"},
      {[] { return kExitUsage; }, ""},
  };
  for (const auto& [command, says] : cases) {
    std::ostringstream err;
    EXPECT_EQ(GuardCommand(err, command), *says ? kExitFailure : kExitUsage) << says;
    EXPECT_EQ(err.str().substr(0, std::strlen(says)), says);
    EXPECT_EQ(err.str().empty(), !*says) << err.str();
  }
}

}  // namespace
}  // namespace vantora
