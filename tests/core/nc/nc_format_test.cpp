#include "core/nc/nc_format.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace vantora {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

void ExpectFormat(const NcFormat& f, const char* h, const char* v, const char* r,
                  const char* speed, const char* first) {
  EXPECT_EQ(f.HorizonAxis, h);
  EXPECT_EQ(f.VerticalAxis, v);
  EXPECT_EQ(f.RotateAxis, r);
  EXPECT_EQ(f.CutSpeed, speed);
  EXPECT_EQ(f.FirstLine, first);
}

TEST(LoadNcFormat, MissingFileGivesTheDefaultsAndCreatesNothing) {
  TempDir dir;
  ExpectFormat(LoadNcFormat(dir.File("NC.ini")), "X", "Y", "C", "300", "");
  EXPECT_FALSE(std::filesystem::exists(dir.File("NC.ini")));
}

TEST(WriteNcIni, DefaultsAndAFirstLineRoundTrip) {
  TempDir dir;
  const std::string path = dir.File("NC.ini");
  ASSERT_TRUE(WriteNcIni(path, NcFormat{}).ok());
  EXPECT_EQ(ReadFile(path), "XYCs300h/");
  NcFormat f;
  f.FirstLine = "G90 G21";
  ASSERT_TRUE(WriteNcIni(path, f).ok());
  EXPECT_EQ(ReadFile(path), "XYCs300hG90 G21/");
  ExpectFormat(LoadNcFormat(path), "X", "Y", "C", "300", "G90 G21");
}

TEST(NcFormatFromFileText, SeparatorsAtTheirFirstOccurrence) {
  ExpectFormat(NcFormatFromFileText("UVAs1500hG92 X0/"), "U", "V", "A", "1500", "G92 X0");
  ExpectFormat(NcFormatFromFileText("XYCs300hG1/G2/"), "X", "Y", "C", "300", "G1");
  // An "s" among the axis letters moves the speed field.
  ExpectFormat(NcFormatFromFileText("XsCs300h/"), "X", "s", "C", "Cs300", "");
  // An "h" inside the speed cuts it and shifts the first line.
  ExpectFormat(NcFormatFromFileText("XYCs3h00hG0/"), "X", "Y", "C", "3", "00hG0");
  // No "/" leaves the first line empty; no "s" starts the speed at the first character.
  ExpectFormat(NcFormatFromFileText("XYCs300hG0"), "X", "Y", "C", "300", "");
  ExpectFormat(NcFormatFromFileText("XYC300h/"), "X", "Y", "C", "XYC300", "");
  // "h" right after "s": empty speed.
  ExpectFormat(NcFormatFromFileText("XYCsh/"), "X", "Y", "C", "", "");
  // Only three characters for the axes, whatever was typed.
  ExpectFormat(NcFormatFromFileText("XXYYCCs300h/"), "X", "X", "Y", "300", "");
}

TEST(NcFormatFromFileText, TheLastLineCounts) {
  ExpectFormat(NcFormatFromFileText("ABCs1h1/\nUVWs2h2/\n"), "U", "V", "W", "2", "2");
  ExpectFormat(NcFormatFromFileText("ABCs1h1/\r\nUVWs2hG2/\r\n"), "U", "V", "W", "2", "G2");
  ExpectFormat(NcFormatFromFileText(""), "X", "Y", "C", "300", "");
  ExpectFormat(NcFormatFromFileText("\n"), "X", "Y", "C", "300", "");
  ExpectFormat(NcFormatFromFileText("AB"), "A", "B", "", "", "");
}

TEST(LoadNcFormat, HugeLineWithoutLineEnd) {
  TempDir dir;
  std::string line = "XYCs300h" + std::string(1'000'000, 'G') + "/";
  WriteFile(dir.File("NC.ini"), line);
  EXPECT_EQ(LoadNcFormat(dir.File("NC.ini")).FirstLine.size(), 1'000'000u);
}

}  // namespace
}  // namespace vantora
