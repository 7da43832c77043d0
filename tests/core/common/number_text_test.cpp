#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vantora {
namespace {

TEST(FloatToText, ExactTexts) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "0.000"},         {-0.0f, "0.000"},      {-1.0f, "-1.000"},
      {12.3456f, "12.346"},    {0.0004f, "0.000"},    {0.0006f, "0.001"},
      {-0.0001f, "-0.000"},    {2.4995f, "2.5"},      {20000.0f, "20000"},
      {16384.0f, "16384"},     {16383.0f, "16383.000"}, {99.9996f, "100.000"},
      {1e20f, "1.000E20"},     {-1.5e20f, "-1.500E20"}, {123456789.0f, "123456792"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToText(c.value), c.text) << c.value;
}

// The exact-arithmetic path must give what the general form cut to the decimals gives,
// for every kind of f32 and 3 to 6 decimals: a sweep over the bit patterns of both signs.
TEST(FloatToText, FastPathAgreesWithGeneralFormEverywhere) {
  auto reference = [](float v, int decimals) {
    if (v == 0) return "0." + std::string(std::size_t(decimals), '0');
    const double half = 0.5 * std::pow(10.0, -decimals);
    const float w = float(double(v) + (v > 0 ? half : -half));
    std::string t = GeneralNumberText(w);
    // Below 10^-5 the general form turns scientific: its digits, written out in full.
    if (const auto e = t.find("E-"); e != std::string::npos) {
      const std::size_t sign = w < 0 ? 1 : 0;
      std::string digits = t.substr(sign, e - sign);
      digits.erase(std::remove(digits.begin(), digits.end(), '.'), digits.end());
      t = (sign ? "-0." : "0.") + std::string(std::size_t(std::stoi(t.substr(e + 2)) - 1), '0') +
          digits;
    }
    const auto point = t.find('.');
    if (point == std::string::npos) return t;
    const auto exponent = t.find('E', point);
    const auto mantissaEnd = exponent == std::string::npos ? t.size() : exponent;
    const auto keep = point + 1 + std::size_t(decimals);
    if (mantissaEnd > keep) t.erase(keep, mantissaEnd - keep);
    return t;
  };
  int mismatches = 0;
  for (std::uint64_t bits = 1; bits < 0x7f800000u && mismatches < 5; bits += 2003) {
    for (std::uint32_t sign : {0u, 0x80000000u}) {
      const std::uint32_t pattern = std::uint32_t(bits) | sign;
      float v = 0;
      std::memcpy(&v, &pattern, sizeof v);
      for (int decimals = 3; decimals <= 6; ++decimals) {
        std::string fast;
        AppendFloatText(fast, v, decimals);
        const std::string slow = reference(v, decimals);
        if (fast != slow) {
          ADD_FAILURE() << std::hex << pattern << " at " << decimals << ": " << fast << " != " << slow;
          ++mismatches;
        }
      }
    }
  }
}

TEST(GeneralNumberText, FifteenDigitsOfTheExactValue) {
  const std::pair<double, const char*> cases[] = {
      {12.3456f, "12.3456001281738"}, {100.0, "100"},  {-0.00001, "-0.00001"},
      {0.000001, "1E-6"},             {1e15, "1E15"},  {999999999999999.0, "999999999999999"},
      {0.0, "0"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(GeneralNumberText(value), text) << text;
}

TEST(ParseFloatText, AcceptsWholeNumbersOnly) {
  for (auto [text, value] : {std::pair{" 1.00 ", 1.f}, {"+5", 5.f}, {"1e3", 1e3f}, {".5", .5f}}) {
    EXPECT_EQ(ParseFloatText(text), value) << text;
  }
  EXPECT_TRUE(std::signbit(*ParseFloatText("-0")));
  for (const char* bad : {"", " ", "abc", "1.0x", "1,5", "+-1", "nan", "inf", "1e40", "--1"}) {
    EXPECT_FALSE(ParseFloatText(bad)) << bad;
  }
}

// AtofRun reads a run of number characters, AtofText any text: both as atof would.
TEST(Atof, BehavesLikeAtof) {
  const auto same = [](const char* text, double got) {
    const double expected = std::atof(text);
    EXPECT_TRUE(got == expected || (std::isnan(got) && std::isnan(expected))) << text;
    EXPECT_EQ(std::signbit(got), std::signbit(expected)) << text;
  };
  for (const char* run : {"1.5", "1.5e+001", "1.0E+001", "+7", "+-5", "--5", "-", ".", ".5",
                          "5.", "1-2", "1e", "1e+", "1.2.3", "-0.0", "1e400", "-1e400",
                          "1e-400", "123456789012345678901234567890", "4.9e-324",
                          "2.2250738585072014e-308", "12.3456001281738"}) {
    same(run, AtofRun(run));
  }
  for (const char* text : {"", " \t\r5", "12abc", "0x10", "0X1p3", "nan", "-inf", "infinity",
                           "+-5", "1e400", "1.5e", "-0", "5\r", ".", "abc",
                           "0000000000000000000000000000000012"}) {
    same(text, AtofText(text));
  }
}

TEST(ReadNumberRun, ConsumesTheWholeRun) {
  const std::string text = "1-2 3";
  const char* p = text.data();
  EXPECT_EQ(ReadNumberRun(p, text.data() + text.size()), 1.0);
  EXPECT_EQ(p, text.data() + 3);
}

}  // namespace
}  // namespace vantora
