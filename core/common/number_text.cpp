#include "core/common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace vantora {
namespace {

constexpr int kDigits = 15;

// Exact decimal digits of v rounded to 15 significant digits: the digits without
// trailing zeros, the decimal exponent of the first digit and the sign.
struct Decimal {
  char digits[kDigits];
  int count;
  int exponent;
  bool negative;
};

Decimal ToDecimal(double v) {
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific,
                                 kDigits - 1);
  Decimal d{};
  const char* p = buf;
  d.negative = *p == '-';
  if (d.negative) ++p;
  d.digits[0] = *p++;
  d.count = 1;
  if (*p == '.') ++p;
  while (*p != 'e') d.digits[d.count++] = *p++;
  std::from_chars(p + 1 + (p[1] == '+'), res.ptr, d.exponent);
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  return d;
}

void AppendGeneral(std::string& out, double v) {
  if (v == 0) {
    out += '0';
    return;
  }
  if (!std::isfinite(v)) {
    out += std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : "INF");
    return;
  }
  const Decimal d = ToDecimal(v);
  if (d.negative) out += '-';
  if (d.exponent < -5 || d.exponent > 14) {
    out += d.digits[0];
    if (d.count > 1) {
      out += '.';
      out.append(d.digits + 1, d.count - 1);
    }
    out += 'E';
    char exp[8];
    out.append(exp, std::to_chars(exp, exp + sizeof exp, d.exponent).ptr);
  } else if (d.exponent < 0) {
    out += "0.";
    out.append(-d.exponent - 1, '0');
    out.append(d.digits, d.count);
  } else {
    const int intDigits = d.exponent + 1;
    if (d.count <= intDigits) {
      out.append(d.digits, d.count);
      out.append(intDigits - d.count, '0');
    } else {
      out.append(d.digits, intDigits);
      out += '.';
      out.append(d.digits + intDigits, d.count - intDigits);
    }
  }
}

// Keeps at most `decimals` decimals after the point. In the scientific form the cut
// applies to the mantissa and the exponent stays, so the text still names the right
// magnitude.
void CutToDecimals(std::string& text, std::size_t from, int decimals) {
  const std::size_t point = text.find('.', from);
  if (point == std::string::npos) return;
  const std::size_t exponent = text.find('E', point);
  const std::size_t mantissaEnd = exponent == std::string::npos ? text.size() : exponent;
  const std::size_t keep = point + 1 + std::size_t(decimals);
  if (mantissaEnd > keep) text.erase(keep, mantissaEnd - keep);
}

constexpr std::uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

}  // namespace

namespace {

// FloatToText for finite normal values below 1e15, from the exact value of the f32,
// x = M x 2^E with M < 2^24, with d = `decimals` (3..6) decimals. Rounding x to 15
// significant digits never moves it onto or across a multiple of 10^-d unless it
// already is one: such a multiple lies at least 1 / (10^d x 2^-E) > x x 5.9e-14 away
// (M < 2^24, d <= 6), while the rounding moves it at most x x 5e-15. So the text is
// floor(10^d x) in units of 10^-d, with all d decimals when 10^d x is not a whole
// number (the 15 digits then reach past the last decimal) and with trailing zeros
// dropped when it is (x then is exactly that decimal). False for anything else.
bool AppendDecimalsExact(std::string& out, float w, int decimals) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &w, sizeof bits);
  const std::uint32_t biased = (bits >> 23) & 0xff;
  if (biased == 0 || biased == 0xff) return false;
  const std::uint64_t m = (bits & 0x7fffff) | 0x800000;
  const int e = static_cast<int>(biased) - 150;
  const std::uint64_t unit = kPowersOfTen[decimals];
  std::uint64_t units = 0;
  bool whole = true;  // 10^d x is a whole number
  if (e >= 0) {
    if (e > 26 || (m << e) >= 1'000'000'000'000'000ULL / (unit / 1000)) return false;
    units = (m << e) * unit;
  } else {
    if (e < -60) return false;
    const std::uint64_t scaled = m * unit;
    units = scaled >> -e;
    whole = (scaled & ((std::uint64_t{1} << -e) - 1)) == 0;
  }
  if (bits >> 31) out += '-';
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, units / unit).ptr);
  std::uint64_t fraction = units % unit;
  int shown = decimals;
  if (whole) {
    for (; shown > 0 && fraction % 10 == 0; --shown) fraction /= 10;
    if (shown == 0) return true;
  }
  out += '.';
  char tail[6];
  for (int k = shown - 1; k >= 0; --k, fraction /= 10) {
    tail[k] = static_cast<char>('0' + fraction % 10);
  }
  out.append(tail, static_cast<std::size_t>(shown));
  return true;
}

}  // namespace

void AppendFloatText(std::string& out, float v, int decimals) {
  if (v == 0) {
    out.append("0.000000", std::size_t(2 + decimals));
    return;
  }
  const double half = 0.5 / double(kPowersOfTen[decimals]);
  const float rounded = static_cast<float>(static_cast<double>(v) + (v > 0 ? half : -half));
  if (AppendDecimalsExact(out, rounded, decimals)) return;
  const std::size_t start = out.size();
  AppendGeneral(out, rounded);
  CutToDecimals(out, start, decimals);
}

std::string FloatToText(float v) {
  std::string text;
  AppendFloatText(text, v);
  return text;
}

std::string GeneralNumberText(double v) {
  std::string text;
  AppendGeneral(text, v);
  return text;
}

std::optional<float> ParseFloatText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  float value = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string NotAFloatMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid floating point value";
}

namespace {

// The C library converts in the "C" locale whatever the application's locale is.
double StrtodInCLocale(std::string_view text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string copy(text);
  return strtod_l(copy.c_str(), nullptr, cLocale);
}

}  // namespace

double AtofText(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  double value = 0.0;
  if (detail::FastDecimal(p, end, value) && p == end) return value;
  return StrtodInCLocale(text);
}

std::string FixedText(double v, int decimals) {
  char text[400];  // room for the largest double in full
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string ShortestFloatText(float v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

double AtofRun(std::string_view run) {
  const char* p = run.data();
  return ReadNumberRun(p, p + run.size());
}

namespace detail {

double AtofRunSlow(const char* first, const char* last) {
  if (first < last && *first == '+') {
    ++first;
    if (first < last && (*first == '+' || *first == '-')) return 0.0;
  }
  double value = 0.0;
  const auto res = std::from_chars(first, last, value);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: atof gives +-HUGE_VAL or +-0, as the C
    // library decides.
    return StrtodInCLocale(std::string_view(first, static_cast<std::size_t>(res.ptr - first)));
  }
  return res.ec == std::errc() ? value : 0.0;
}

}  // namespace detail

}  // namespace vantora
