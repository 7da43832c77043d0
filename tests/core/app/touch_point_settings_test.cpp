#include "core/app/touch_point_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

// The number between '=' and 'm', whatever the key; 0.5 when there is none.
TEST(ParseTouchPointSettings, NumberBetweenEqualsAndM) {
  const std::pair<const char*, float> cases[] = {
      {"ScannerTool=0.6mm\n", 0.6f},         {"ScannerTool= 0.6 mm\r\n", 0.6f},
      {"ScanerTool=0.8mm", 0.8f},            {"Scanner\tTool =\n1.25\nmm", 1.25f},
      {"", 0.5f},                            {"ScannerTool=abcmm", 0.5f},
      {"ScannerTool=", 0.5f},                {"ScannerTool=0.6", 0.5f},
      {"mm=0.6", 0.5f},                      {"=mm", 0.5f},
      {"ScannerTool=nanmm", 0.5f},           {"ScannerTool=1e99mm", 0.5f},
  };
  for (const auto& [text, size] : cases) EXPECT_EQ(ParseTouchPointSettings(text), size) << text;
}

TEST(TouchPointSize, WrittenValueReadsBack) {
  testing::TempDir dir;
  const std::string path = dir.File("ScanerTool.ini");
  EXPECT_EQ(ReadTouchPointSize(path), 0.5f);  // missing
  ASSERT_TRUE(WriteTouchPointSize(path, 0.8f).ok());
  EXPECT_EQ(testing::ReadFile(path), "ScannerTool=0.800mm\n");
  EXPECT_EQ(ReadTouchPointSize(path), 0.8f);
}

}  // namespace
}  // namespace vantora
