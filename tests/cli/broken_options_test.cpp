// Option values the tools cannot use: each is refused with one line naming it, before
// any file is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"
#include "stl_builder.h"
#include "test_files.h"

namespace vantora {
namespace {

using testing::CliRun;
using testing::RunTool;
using testing::TempDir;
using testing::WriteFile;

std::size_t FilesIn(const std::filesystem::path& dir) {
  return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(BrokenOptions, RefusedBeforeAnyFileIsWritten) {
  TempDir dir;
  WriteFile(dir.File("m.stl"),
            testing::TextStl({{0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 10, 5}}));
  const std::string model = dir.File("m.stl"), nc = dir.File("m.nc"), stl = dir.File("o.stl");
  const struct {
    std::vector<std::string> args;
    int status;
    const char* says;
  } runs[] = {
      {{"nc", model, "-o", nc, "--resolution", "nan"}, kExitUsage, "'nan' is not a valid"},
      {{"nc", model, "-o", nc, "--wire", "1e40"}, kExitUsage, "'1e40' is not a valid"},
      {{"nc", model, "-o", nc, "--step", "inf"}, kExitUsage, "'inf' is not a valid"},
      {{"nc", model, "-o", nc, "--from", ""}, kExitUsage, "--from"},
      {{"nc", model, "-o", nc, "--resolution", "-0"}, kExitFailure, "resolution"},
      {{"nc", model, "-o", nc, "--wire", "0"}, kExitFailure, "wire diameter"},
      {{"nc", model, "-o", nc, "--to", "360", "--step", "0"}, kExitFailure, "section step"},
      {{"nc", model, "-o", nc, "--to", "360", "--step", "-5"}, kExitFailure, "section step"},
      {{"nc", model, "-o", nc, "--to", "1e30", "--step", "1e-30"}, kExitFailure, "step"},
      {{"stl", model, "-o", stl, "--rates", "1", "nan", "1"}, kExitUsage, "--rates"},
      {{"stl", model, "-o", stl, "--rates", "1", "1"}, kExitUsage, "rates"},
  };
  for (const auto& r : runs) {
    const CliRun run = RunTool(r.args);
    EXPECT_EQ(run.status, r.status) << r.args[4] << " " << r.args.back();
    EXPECT_NE(run.err.find(r.says), std::string::npos) << run.err;
    EXPECT_EQ(FilesIn(dir.path()), 1u) << run.err;  // the model alone
  }
}

TEST(BrokenOptions, NegativeZeroIsAnAngleLikeAnyOther) {
  TempDir dir;
  WriteFile(dir.File("m.stl"),
            testing::TextStl({{0, 0, 1, 0, 0, 0, 10, 0, 0, 0, 10, 5}}));
  const CliRun run = RunTool({"nc", dir.File("m.stl"), "-o", dir.File("m.nc"), "--from", "-0"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
}

}  // namespace
}  // namespace vantora
