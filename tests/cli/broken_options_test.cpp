// Runs the tools refuse: a usage error (status 2) or a job that cannot be done
// (status 1, one line naming the cause), each before any file is written.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_run.h"
#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

// One run per option and per kind of refusal: the values themselves are the core's to
// refuse, and its tests hold every case.
TEST(BrokenOptions, RefusedBeforeAnyFileIsWritten) {
  TempDir dir;
  const std::string model = dir.Put("m.stl", kOneFacetStl), nc = dir.File("m.nc");
  const std::string scan = dir.Put("bump.sca", kBumpScan), stl = dir.File("o.stl");
  const std::string nanScan = dir.Put("nan.sca", "100,1,2,\n3,nan,\n");
  const std::string empty = dir.Put("empty.stl", "");
  const std::size_t files = FilesIn(dir.path());
  const struct {
    std::vector<std::string> args;
    int status;
    std::string says;
  } runs[] = {
      {{}, kExitUsage, ""},
      {{"frobnicate"}, kExitUsage, ""},
      {{"stl", model}, kExitUsage, "--output"},
      {{"nc", model, "-o", nc, "--resolution", "nan"}, kExitUsage, "'nan' is not a valid"},
      {{"nc", model, "-o", nc, "--wire", "1e40"}, kExitUsage, "'1e40' is not a valid"},
      {{"nc", model, "-o", nc, "--step", "inf"}, kExitUsage, "'inf' is not a valid"},
      {{"nc", model, "-o", nc, "--from", ""}, kExitUsage, "--from"},
      {{"nc", model, "-o", nc, "--begin-range", ""}, kExitUsage, "--begin-range"},
      {{"nc", model, "-o", nc, "--resolution", "-0"}, kExitFailure, "resolution"},
      {{"nc", model, "-o", nc, "--margin", "hex"}, kExitUsage, "--margin"},
      {{"nc", model, "-o", nc, "--stock", "-0.1"}, kExitFailure, "stock must be 0 or more"},
      {{"nc", model, "-o", nc, "--from", "90", "--to", "0"}, kExitFailure, "lies after the last"},
      {{"nc", model, "-o", nc, "--adaptive", "1", "--sections", "4"}, kExitUsage, "excludes"},
      {{"nc", model, "-o", nc, "--sections", "2.5"}, kExitUsage, "whole number"},
      {{"nc", model, "-o", nc, "--curve", dir.File("c.csv")}, kExitUsage, "--curve needs"},
      {{"nc", model, "-o", nc, "--adaptive", "-1"}, kExitFailure, "deviation allowed"},
      {{"nc", model, "-o", nc, "--adaptive", "1", "--to", "360", "--step", "0.01"}, kExitFailure,
       "at most 7200 candidate angles"},
      {{"nc", model, "-o", nc, "--sections", "3", "--curve", model}, kExitUsage, "--curve"},
      {{"nc", model, "-o", nc, "--nc-format", dir.File("none.ini")}, kExitFailure, "none.ini"},
      {{"nc", model, "-o", dir.File("no/such/dir/m.nc")}, kExitFailure, "no/such/dir/m.nc"},
      {{"stl", model, "-o", stl, "--rates", "1", "abc", "1"}, kExitUsage, "'abc' is not a valid"},
      {{"stl", model, "-o", stl, "--rates", "1", "1"}, kExitUsage, "rates"},
      {{"stl", model, "-o", stl, "--touch-point", "1"}, kExitUsage, "--touch-point"},
      {{"stl", scan, "-o", stl, "--touch-point", "x"}, kExitUsage, "--touch-point"},
      {{"stl", scan, "-o", stl, "--touch-point", "-1"}, kExitUsage, "--touch-point"},
      {{"stl", scan, "-o", stl, "--no-platform"}, kExitUsage, "--no-platform"},
      {{"stl", nanScan, "-o", stl}, kExitFailure, "line 2: the height \"nan\" is not a number."},
      {{"stl", empty, "-o", stl}, kExitFailure, "empty.stl"},
      {{"info", dir.File("nothing.stl")}, kExitFailure, "nothing.stl"},
      {{"info", scan}, kExitFailure, "is a scan file"},
      {{"nc", scan, "-o", nc}, kExitFailure, "is a scan file"},
  };
  for (const auto& r : runs) {
    const CliRun run = RunTool(r.args);
    const std::string what = r.args.empty() ? "(no arguments)" : r.args[0] + " " + r.args.back();
    EXPECT_EQ(run.status, r.status) << what << ": " << run.err;
    EXPECT_NE(run.err.find(r.says), std::string::npos) << what << ": " << run.err;
    if (r.status == kExitFailure) {
      EXPECT_EQ(run.err.substr(0, 13), "vantora-cli: ") << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(FilesIn(dir.path()), files) << what << ": " << run.err;
  }
}

TEST(BrokenOptions, NegativeZeroIsAnAngleLikeAnyOther) {
  TempDir dir;
  const CliRun run = RunTool({"nc", dir.Put("m.stl", kOneFacetStl), "-o", dir.File("m.nc"), "--from", "-0"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
}

}  // namespace
}  // namespace vantora
