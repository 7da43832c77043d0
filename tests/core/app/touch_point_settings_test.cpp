#include "core/app/touch_point_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(ParseTouchPointSettings, NumberBetweenEqualsAndM) {
  EXPECT_EQ(ParseTouchPointSettings("ScannerTool=0.6mm\n"), 0.6f);
  EXPECT_EQ(ParseTouchPointSettings("ScannerTool= 0.6 mm\r\n"), 0.6f);
  EXPECT_EQ(ParseTouchPointSettings("ScanerTool=0.8mm"), 0.8f);  // the key is not checked
  EXPECT_EQ(ParseTouchPointSettings("Scanner\tTool =\n1.25\nmm"), 1.25f);
}

TEST(ParseTouchPointSettings, NoNumberGivesTheDefault) {
  for (const char* text : {"", "ScannerTool=abcmm", "ScannerTool=", "ScannerTool=0.6",
                           "mm=0.6", "=mm", "ScannerTool=nanmm", "ScannerTool=1e99mm"}) {
    EXPECT_EQ(ParseTouchPointSettings(text), 0.5f) << text;
  }
}

TEST(TouchPointSize, WrittenValueReadsBack) {
  TempDir dir;
  const std::string path = dir.File("ScanerTool.ini");
  EXPECT_EQ(ReadTouchPointSize(path), 0.5f);  // missing
  ASSERT_TRUE(WriteTouchPointSize(path, 0.5f).ok());
  EXPECT_EQ(ReadFile(path), "ScannerTool=0.500mm\n");
  ASSERT_TRUE(WriteTouchPointSize(path, 0.8f).ok());
  EXPECT_EQ(ReadFile(path), "ScannerTool=0.800mm\n");
  EXPECT_EQ(ReadTouchPointSize(path), 0.8f);
}

}  // namespace
}  // namespace vantora
