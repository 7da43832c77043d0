#include "core/app/tool_path_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

// A file of an earlier version holds the tolerance alone; lines in any order, CR LF
// ends and blanks read the same; values that are no length leave their default.
TEST(ParseToolPathSettings, ReadsEachLineByItsName) {
  const struct {
    const char* text;
    float tolerance;
    std::optional<float> stock;
    MarginShape shape;
  } cases[] = {
      {"Tolerance=0.250mm\n", 0.25f, {}, MarginShape::Square},
      {"Margin=round\r\nStock = 0.1 mm\r\nTolerance=0.5mm\r\n", 0.5f, 0.1f, MarginShape::Round},
      {"Stock=0.000mm\nMargin=square", 0, 0.0f, MarginShape::Square},
      {"Stock=-1mm\nStock=abcmm\nTolerance=1e99mm\nMargin=hex\nSize=3mm", 0, {}, MarginShape::Square},
      {"", 0, {}, MarginShape::Square},
  };
  for (const auto& c : cases) {
    const ToolPathSettings s = ParseToolPathSettings(c.text);
    EXPECT_EQ(s.Tolerance, c.tolerance) << c.text;
    EXPECT_EQ(s.Margin.Stock, c.stock) << c.text;
    EXPECT_EQ(s.Margin.Shape, c.shape) << c.text;
  }
}

TEST(ToolPathSettings, WrittenSettingsReadBack) {
  testing::TempDir dir;
  const std::string path = dir.File("Smoothing.ini");
  ASSERT_TRUE(WriteToolPathSettings(path, {0.2f, {}}));
  EXPECT_EQ(testing::ReadFile(path), "Tolerance=0.200mm\n");  // as earlier versions wrote it
  ASSERT_TRUE(WriteToolPathSettings(path, {0, {MarginShape::Round, 0.15f}}));
  EXPECT_EQ(testing::ReadFile(path), "Tolerance=0.000mm\nStock=0.150mm\nMargin=round\n");
  const ToolPathSettings s = ReadToolPathSettings(path);
  EXPECT_EQ(std::tuple(s.Tolerance, s.Margin.Stock, s.Margin.Shape),
            std::tuple(0.0f, std::optional<float>(0.15f), MarginShape::Round));
  EXPECT_EQ(ReadToolPathSettings(dir.File("none.ini")).Margin.Stock, std::nullopt);
}

}  // namespace
}  // namespace vantora
