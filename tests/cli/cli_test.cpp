#include "cli_app.h"

#include <gtest/gtest.h>

#include <array>
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

using namespace testing;

TEST(CliInfo, PrintsCountAndBoundsWithoutPlacing) {
  TempDir dir;
  const CliRun run = RunTool({"info", dir.Put("m.stl", kOneFacetStl)});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, "FacetCount 1\nMaxX 30\nMinX 10\nMaxY 6\nMinY -4\nMaxZ 12\nMinZ 2\n");
  EXPECT_EQ(RunTool({"--help"}).status, kExitOk);
}

TEST(CliStl, PlacesTheModelAndWritesBinary) {
  TempDir dir;
  const CliRun run = RunTool({"stl", dir.Put("m.stl", kOneFacetStl), "-o", dir.File("out.stl")});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string bytes = ReadFile(dir.File("out.stl"));
  ASSERT_EQ(bytes.size(), 84u + 50u);
  std::array<float, 3> first;
  std::memcpy(first.data(), bytes.data() + 84 + 12, sizeof first);
  // Centred over the origin and set on the platform: (10,-4,2) lands at (-10,-5,0).
  EXPECT_EQ(first, (std::array{-10.0f, -5.0f, 0.0f}));
}

// Text output holds the vertices: unplaced with rates, and a scan's in millimetres,
// centred on the origin at their measured heights.
TEST(CliStl, TextOutputOfAModelWithRatesAndOfAScan) {
  TempDir dir;
  const struct {
    const char* name;
    std::string_view content;
    std::vector<std::string> options;
    std::vector<const char*> vertices;
    const char* says;
  } cases[] = {
      {"m.stl", kOneFacetStl, {"--no-platform", "--rates", "2", "1", "0.5"},
       {"    vertex 20.000 -4.000 1.000\r\n", "    vertex 60.000 6.000 1.000\r\n"}, ""},
      {"bump.sca", kBumpScan, {"--touch-point", "0"},
       {"vertex -0.750 -0.500 1.000", "vertex 0.750 0.500 1.000", "vertex -0.250 0.000 3.000"},
       "12 facets"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"stl", dir.Put(c.name, c.content), "-o", dir.File("o.stl"),
                                  "--text"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunTool(args);
    ASSERT_EQ(run.status, kExitOk) << c.name << ": " << run.err;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
    const std::string text = ReadFile(dir.File("o.stl"));
    for (const char* vertex : c.vertices) {
      EXPECT_NE(text.find(vertex), std::string::npos) << vertex << "\n" << text;
    }
  }
}

// A scan is known by its name (see the touch-point test) or by --scan; repaired lines
// are reported.
TEST(CliStlScan, ReadByNameOrOptionAndRepairsAreReported) {
  TempDir dir;
  EXPECT_EQ(RunTool({"stl", dir.Put("bump.txt", kBumpScan), "-o", dir.File("o.stl"), "--scan"})
                .status,
            kExitOk);
  const CliRun repaired =
      RunTool({"stl", dir.Put("short.sca", "100,5,6,7,\n8,9,\n"), "-o", dir.File("o.stl")});
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
