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
  const std::pair<ToolPathSettings, const char*> cases[] = {
      {{0.2f, {}}, "Tolerance=0.200mm\n"},
      {{0, {MarginShape::Round, 0.15f}, 1.5f},
       "Tolerance=0.000mm\nStock=0.150mm\nMargin=round\nAdaptive=1.500mm\n"}};
  for (const auto& [written, text] : cases) {
    ASSERT_TRUE(WriteToolPathSettings(path, written));
    EXPECT_EQ(testing::ReadFile(path), text);
    const ToolPathSettings read = ReadToolPathSettings(path);
    EXPECT_EQ(std::tuple(read.Tolerance, read.Margin.Stock, read.Margin.Shape, read.Adaptive),
              std::tuple(written.Tolerance, written.Margin.Stock, written.Margin.Shape,
                         written.Adaptive));
  }
  EXPECT_EQ(ParseToolPathSettings("Margin=round\r\nStock = 0.1 mm\r\nTolerance=0.5mm").Tolerance, 0.5f);
  const WireMargin unread = ParseToolPathSettings("Stock=-1mm\nMargin=hex\nStock=abcmm").Margin;
  EXPECT_EQ(std::pair(unread.Stock, unread.Shape), std::pair(std::optional<float>(), MarginShape::Square));
}

}  // namespace
}  // namespace vantora
