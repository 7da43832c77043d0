#include "core/nc/nc_program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

NcProgram TwoRuns() {
  NcProgram program;
  for (const char* line : {"", "G1 X 1.000 Y 2.000 C 0.000 F300", " X 3.000", "M30\n", "G90",
                           "G1 X 0.000 Y 0.000 C 5.000 F300", "M30\n"}) {
    program.AppendLine(line);
  }
  return program;
}

TEST(NcProgram, FileLinesEndInCrLfAndTheEndLineKeepsOneLineEnd) {
  StringSink text;
  WriteNcText(TwoRuns(), text);
  EXPECT_EQ(text.text,
            "\r\nG1 X 1.000 Y 2.000 C 0.000 F300\r\n X 3.000\r\nM30\r\nG90\r\n"
            "G1 X 0.000 Y 0.000 C 5.000 F300\r\nM30\r\n");
}

TEST(NcProgram, SavingReplacesTheFileOnlyWhenComplete) {
  TempDir dir;
  const std::string path = dir.Put("out.nc", "old");
  ASSERT_TRUE(SaveNcFile(path, TwoRuns()));
  EXPECT_EQ(ReadFile(path).substr(0, 2), "\r\n");
  EXPECT_EQ(FilesIn(dir.path()), 1u);

  const Status failed = SaveNcFile(dir.File("missing/out.nc"), TwoRuns());
  EXPECT_EQ(failed.code(), ErrorCode::CannotWrite);
  EXPECT_NE(failed.message().find("missing/out.nc"), std::string::npos) << failed.message();
}

}  // namespace
}  // namespace vantora
