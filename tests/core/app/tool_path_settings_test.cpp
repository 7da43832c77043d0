#include "core/app/tool_path_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

// Written settings read back, the margin's lines only when they are set, so the file of
// the standard set-up is the one-line file of earlier versions; lines in any order, and
// a stock that is no length or negative, read as the standard margin.
TEST(ToolPathSettings, WrittenSettingsReadBackAndEarlierFilesReadAsBefore) {
  testing::TempDir dir;
  const std::string path = dir.File("Smoothing.ini");
  for (const ToolPathSettings& written :
       {ToolPathSettings{0.2f, {}}, ToolPathSettings{0, {MarginShape::Round, 0.15f}}}) {
    ASSERT_TRUE(WriteToolPathSettings(path, written));
    const ToolPathSettings read = ReadToolPathSettings(path);
    EXPECT_EQ(std::tuple(read.Tolerance, read.Margin.Stock, read.Margin.Shape),
              std::tuple(written.Tolerance, written.Margin.Stock, written.Margin.Shape));
  }
  EXPECT_EQ(testing::ReadFile(path), "Tolerance=0.000mm\nStock=0.150mm\nMargin=round\n");
  EXPECT_EQ(ParseToolPathSettings("Margin=round\r\nStock = 0.1 mm\r\nTolerance=0.5mm").Tolerance, 0.5f);
  EXPECT_EQ(ParseToolPathSettings("Stock=-1mm\nMargin=hex").Margin.Stock, std::nullopt);
  EXPECT_EQ(ParseToolPathSettings("Stock=abcmm\nMargin=hex").Margin.Shape, MarginShape::Square);
}

}  // namespace
}  // namespace vantora
