#include "core/nc/nc_format.h"

#include <gtest/gtest.h>

#include <array>

#include "test_files.h"

namespace vantora {
namespace {

using namespace testing;

// Horizontal, vertical and rotary axis, cutting speed, first line.
using Fields = std::array<std::string, 5>;
const Fields kDefaults{"X", "Y", "C", "300", ""};

Fields Of(const NcFormat& f) {
  return {f.HorizonAxis, f.VerticalAxis, f.RotateAxis, f.CutSpeed, f.FirstLine};
}

// A missing file gives the defaults and is not created; written formats read back.
TEST(NcIni, MissingGivesTheDefaultsAndWrittenFormatsRoundTrip) {
  TempDir dir;
  const std::string path = dir.File("NC.ini");
  EXPECT_EQ(Of(LoadNcFormat(path)), kDefaults);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(WriteNcIni(path, NcFormat{}).ok());
  EXPECT_EQ(ReadFile(path), "XYCs300h/");
  NcFormat f;
  f.FirstLine = "G90 G21";
  ASSERT_TRUE(WriteNcIni(path, f).ok());
  EXPECT_EQ(ReadFile(path), "XYCs300hG90 G21/");
  EXPECT_EQ(Of(LoadNcFormat(path)), (Fields{"X", "Y", "C", "300", "G90 G21"}));
}

// The last line counts; its separators at their first occurrence.
TEST(NcFormatFromFileText, SeparatorsAtTheirFirstOccurrenceOnTheLastLine) {
  const std::pair<const char*, Fields> cases[] = {
      {"UVAs1500hG92 X0/", {"U", "V", "A", "1500", "G92 X0"}},
      {"XYCs300hG1/G2/", {"X", "Y", "C", "300", "G1"}},
      {"XsCs300h/", {"X", "s", "C", "Cs300", ""}},      // an "s" among the axis letters
      {"XYCs3h00hG0/", {"X", "Y", "C", "3", "00hG0"}},  // an "h" inside the speed
      {"XYCs300hG0", kDefaults},                        // no "/": no first line
      {"XYC300h/", {"X", "Y", "C", "XYC300", ""}},      // no "s": speed from the start
      {"XYCsh/", {"X", "Y", "C", "", ""}},
      {"XXYYCCs300h/", {"X", "X", "Y", "300", ""}},  // three characters for the axes
      {"ABCs1h1/\nUVWs2h2/\n", {"U", "V", "W", "2", "2"}},
      {"ABCs1h1/\r\nUVWs2hG2/\r\n", {"U", "V", "W", "2", "G2"}},
      {"", kDefaults},
      {"\n", kDefaults},
      {"AB", {"A", "B", "", "", ""}},
  };
  for (const auto& [text, fields] : cases) {
    EXPECT_EQ(Of(NcFormatFromFileText(text)), fields) << text;
  }
}

// A format is taken only when the settings file gives it back unchanged.
TEST(CheckNcFormat, RefusesWhatTheSettingsFileWouldChange) {
  const std::pair<NcFormat, bool> cases[] = {
      {{}, true},
      {{"U", "V", "A", "fast", "G90 sh"}, true},  // "s" and "h" after the separators
      {{"U1", "V", "A", "300", ""}, false},
      {{"", "V", "A", "300", ""}, false},
      {{"X", "s", "C", "300", ""}, false},
      {{"X", "Y", "C", "3h", "G0"}, false},
      {{"X", "Y", "C", "300", "G1/G2"}, false},
      {{"X", "Y", "C", "300", "G1\nG2"}, false},
  };
  for (const auto& [format, kept] : cases) {
    EXPECT_EQ(CheckNcFormat(format).ok(), kept) << NcFormatLine(format);
  }
}

}  // namespace
}  // namespace vantora
