#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantora {

// The one helper that turns a number into the text shown in a window or written to a
// text STL file or an NC program: the value rounded half away from zero to three
// decimals in single precision ("0.000" for zero), "." whatever the locale.
std::string FloatToText(float v);

// Appends FloatToText(v) to `out` without allocating a temporary; with `decimals`
// (3..6) the same rule for that many decimals ("0.0000" for zero at 4).
void AppendFloatText(std::string& out, float v, int decimals = 3);

// The general decimal form: at most 15 significant digits of the exact value (rounded
// half to even), trailing zeros and a trailing point dropped, fixed notation for
// decimal exponents -5..14 and otherwise mantissa, "E" and exponent, as in 1E20.
std::string GeneralNumberText(double v);

// Reads a number typed by the operator or given on a command line: the whole text,
// blanks around it allowed, must be one decimal number that is finite as f32.
std::optional<float> ParseFloatText(std::string_view text);

// The message shown when ParseFloatText refuses a text.
std::string NotAFloatMessage(std::string_view text);

// The shortest text that reads back as `v` (0.2, 1e-06, -1234.5), for messages that
// quote a value as the operator typed it.
std::string ShortestFloatText(float v);

// `v` with `decimals` digits after the point (1.500), for reports.
std::string FixedText(double v, int decimals = 3);

// Converts a run of number characters the way the C library's atof does: the longest
// valid prefix counts and a text without one gives 0.
double AtofRun(std::string_view run);

// Converts a whole text exactly as the C library's atof does in the "C" locale: white
// space before the number skipped, the longest valid prefix counts (hexadecimal,
// "inf" and "nan" included) and a text without one gives 0.
double AtofText(std::string_view text);

// Reads the run of number characters [0-9+-.eE] that starts at `p`, moves `p` past
// it and returns its value as AtofRun would.
inline double ReadNumberRun(const char*& p, const char* end);

namespace detail {

constexpr std::array<bool, 256> NumberRunChars() {
  std::array<bool, 256> table{};
  for (char c : std::string_view("0123456789+-.eE")) table[static_cast<unsigned char>(c)] = true;
  return table;
}
inline constexpr std::array<bool, 256> kNumberRunChar = NumberRunChars();

double AtofRunSlow(const char* first, const char* last);

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The common case of a plain decimal such as -12.375 or 1.5e+001, converted exactly:
// at most 15 significant digits and a power of ten up to 1e22 are both exact doubles,
// so one multiplication or division rounds correctly, as strtod does. False for
// anything else, which then takes the general path.
inline bool FastDecimal(const char*& p, const char* end, double& value) {
  const char* q = p;
  const bool negative = q < end && *q == '-';
  if (q < end && (*q == '-' || *q == '+')) ++q;
  std::uint64_t mantissa = 0;
  int significant = 0, exponent = 0, digits = 0;
  for (; q < end && IsDigit(*q); ++q, ++digits) {
    significant += mantissa != 0 || *q != '0';
    mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
  }
  if (q < end && *q == '.') {
    for (++q; q < end && IsDigit(*q); ++q, ++digits, --exponent) {
      significant += mantissa != 0 || *q != '0';
      mantissa = mantissa * 10 + static_cast<unsigned>(*q - '0');
    }
  }
  if (digits == 0 || significant > 15) return false;
  if (q < end && (*q == 'e' || *q == 'E')) {
    ++q;
    const bool negativeExp = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    int e = 0;
    const char* const first = q;
    for (; q < end && IsDigit(*q) && e < 1000; ++q) e = e * 10 + (*q - '0');
    if (q == first) return false;
    exponent += negativeExp ? -e : e;
  }
  if ((q < end && kNumberRunChar[static_cast<unsigned char>(*q)]) || exponent < -22 ||
      exponent > 22) {
    return false;
  }
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const double m = static_cast<double>(mantissa);
  const double magnitude = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
  value = negative ? -magnitude : magnitude;
  p = q;
  return true;
}

}  // namespace detail

inline double ReadNumberRun(const char*& p, const char* end) {
  double value = 0.0;
  if (detail::FastDecimal(p, end, value)) return value;
  const char* const first = p;
  while (p < end && detail::kNumberRunChar[static_cast<unsigned char>(*p)]) ++p;
  return detail::AtofRunSlow(first, p);
}

}  // namespace vantora
