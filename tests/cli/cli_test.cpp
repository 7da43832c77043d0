#include "cli_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>

#include "cli_run.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::CliRun;
using testing::ReadFile;
using testing::RunTool;
using testing::TempDir;
using testing::WriteFile;

constexpr std::string_view kOneFacet =
    "solid t\n facet normal 0 0 1\n  outer loop\n   vertex 10 -4 2\n   vertex 30 6 2\n"
    "   vertex 10 6 12\n  endloop\n endfacet\nendsolid t\n";

TEST(CliInfo, PrintsCountAndBoundsWithoutPlacing) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), kOneFacet);
  const CliRun run = RunTool({"info", dir.File("m.stl")});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "FacetCount 1\nMaxX 30\nMinX 10\nMaxY 6\nMinY -4\nMaxZ 12\nMinZ 2\n");
}

TEST(CliStl, PlacesTheModelAndWritesBinary) {
  TempDir dir;
  WriteFile(dir.File("m.stl"), kOneFacet);
  const CliRun run = RunTool({"stl", dir.File("m.stl"), "-o", dir.File("out.stl")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "Finish\n");
  EXPECT_NE(run.out.find("out.stl"), std::string::npos);
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
  WriteFile(dir.File("m.stl"), kOneFacet);
  const CliRun run = RunTool({"stl", dir.File("m.stl"), "-o", dir.File("out.stl"), "--text",
                          "--no-platform", "--rates", "2", "1", "0.5"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string text = ReadFile(dir.File("out.stl"));
  EXPECT_NE(text.find("    vertex 20.000 -4.000 1.000\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    vertex 60.000 6.000 1.000\r\n"), std::string::npos) << text;
}

TEST(CliExitStatus, UsageErrorsAreTwo) {
  EXPECT_EQ(RunTool({}).status, kExitUsage);
  EXPECT_EQ(RunTool({"frobnicate"}).status, kExitUsage);
  EXPECT_EQ(RunTool({"stl", "m.stl"}).status, kExitUsage);  // no -o
  const CliRun bad = RunTool({"stl", "m.stl", "-o", "x.stl", "--rates", "1", "abc", "1"});
  EXPECT_EQ(bad.status, kExitUsage);
  EXPECT_NE(bad.err.find("'abc' is not a valid floating point value"), std::string::npos);
  EXPECT_EQ(RunTool({"stl", "m.stl", "-o", "x.stl", "--rates", "1", "nan", "1"}).status,
            kExitUsage);
  EXPECT_EQ(RunTool({"--help"}).status, kExitOk);
}

TEST(CliExitStatus, RuntimeErrorsAreOneWithOneLine) {
  TempDir dir;
  const CliRun missing = RunTool({"info", dir.File("nothing.stl")});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
  WriteFile(dir.File("empty.stl"), "");
  EXPECT_EQ(RunTool({"stl", dir.File("empty.stl"), "-o", dir.File("o.stl")}).status,
            kExitFailure);
  EXPECT_FALSE(std::filesystem::exists(dir.File("o.stl")));
}

// A bump of 4 x 3 points 0.5 mm apart, in thousandths of a millimetre.
constexpr std::string_view kScan =
    "500,1000,2000,2000,1000,\r\n1000,3000,3000,1000,\r\n1000,2000,2000,1000,\r\n";

TEST(CliStlScan, CoordinatesComeBackInMillimetres) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kScan);
  const CliRun run = RunTool({"stl", dir.File("bump.sca"), "-o", dir.File("bump.stl"), "--text",
                              "--touch-point", "0"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "Finish\n");
  EXPECT_NE(run.out.find("12 facets"), std::string::npos) << run.out;
  const std::string text = ReadFile(dir.File("bump.stl"));
  // Corners of the grid, centred on the origin, at their measured heights.
  for (const char* vertex : {"vertex -0.750 -0.500 1.000", "vertex 0.750 0.500 1.000",
                             "vertex -0.250 0.000 3.000"}) {
    EXPECT_NE(text.find(vertex), std::string::npos) << vertex << "\n" << text;
  }
}

TEST(CliStlScan, RepairedLinesSaySomeDataError) {
  TempDir dir;
  WriteFile(dir.File("short.sca"), "100,5,6,7,\n8,9,\n");
  const CliRun run = RunTool({"stl", dir.File("short.sca"), "-o", dir.File("o.stl")});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.err, "Some data error\nFinish\n");
}

TEST(CliStlScan, ScanOptionReadsAnyName) {
  TempDir dir;
  WriteFile(dir.File("bump.txt"), kScan);
  EXPECT_EQ(RunTool({"stl", dir.File("bump.txt"), "-o", dir.File("o.stl")}).status,
            kExitFailure);
  EXPECT_EQ(RunTool({"stl", dir.File("bump.txt"), "-o", dir.File("o.stl"), "--scan"}).status,
            kExitOk);
  WriteFile(dir.File("BUMP.SCA"), kScan);
  EXPECT_EQ(RunTool({"stl", dir.File("BUMP.SCA"), "-o", dir.File("o.stl")}).status, kExitOk);
}

TEST(CliStlScan, TouchPointComesFromTheSettingsFile) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kScan);
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

TEST(CliStlScan, WrongOptionsAndRefusedScans) {
  TempDir dir;
  WriteFile(dir.File("bump.sca"), kScan);
  WriteFile(dir.File("m.stl"), kOneFacet);
  const std::string out = dir.File("o.stl");
  EXPECT_EQ(RunTool({"stl", dir.File("bump.sca"), "-o", out, "--touch-point", "x"}).status,
            kExitUsage);
  EXPECT_EQ(RunTool({"stl", dir.File("bump.sca"), "-o", out, "--touch-point", "-1"}).status,
            kExitUsage);
  EXPECT_EQ(RunTool({"stl", dir.File("bump.sca"), "-o", out, "--no-platform"}).status,
            kExitUsage);
  EXPECT_EQ(RunTool({"stl", dir.File("m.stl"), "-o", out, "--touch-point", "1"}).status,
            kExitUsage);
  WriteFile(dir.File("nan.sca"), "100,1,2,\n3,nan,\n");
  const CliRun refused = RunTool({"stl", dir.File("nan.sca"), "-o", out});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_EQ(refused.err, "vantora-cli: Cannot read \"" + dir.File("nan.sca") +
                             "\": line 2: the height \"nan\" is not a number.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

// What a command lets escape ends it with status 1 and a message, not the process.
TEST(GuardCommand, EscapingExceptionsFailTheCommand) {
  const std::pair<std::function<int()>, const char*> cases[] = {
      {[]() -> int { throw std::bad_alloc(); }, "vantora-cli: Out of memory"},
      {[]() -> int { throw std::length_error("vector too long"); },
       "vantora-cli: Internal error (vector too long)"},
  };
  for (const auto& [command, says] : cases) {
    std::ostringstream err;
    EXPECT_EQ(GuardCommand(err, command), kExitFailure) << says;
    EXPECT_EQ(err.str().substr(0, std::strlen(says)), says);
  }
  std::ostringstream err;
  EXPECT_EQ(GuardCommand(err, [] { return kExitUsage; }), kExitUsage);
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace vantora
