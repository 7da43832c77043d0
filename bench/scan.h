#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace vantora::bench {

// The text of a scan file of `width` x `lines` points `pitch` micrometres apart, the
// yardstick scan of the benchmarks: a smooth bump with ripples on a plinth, every
// height above the platform, in micrometres with one decimal (fields of up to 7
// characters, as probes write them), lines ending in CR LF.
inline std::string ScanText(int width, int lines, int pitch) {
  std::string text;
  text.reserve(std::size_t(width) * std::size_t(lines) * 8 + 16);
  text += std::to_string(pitch) + ',';
  for (int j = 0; j < lines; ++j) {
    const double v = 2.0 * j / std::max(lines - 1, 1) - 1.0;
    for (int i = 0; i < width; ++i) {
      const double u = 2.0 * i / std::max(width - 1, 1) - 1.0;
      const double bump = 6000.0 * std::exp(-3.0 * (u * u + v * v));
      const double ripple = 300.0 * std::sin(9.0 * u) * std::cos(7.0 * v);
      char field[16];
      const auto end = std::to_chars(field, field + sizeof field, 2000.0 + bump + ripple,
                                     std::chars_format::fixed, 1).ptr;
      text.append(field, end);
      text += ',';
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace vantora::bench
