#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantora::testing {

// One facet as an STL file holds it: normal, then three vertices.
using StlRecord = std::array<float, 12>;

// Bytes of a binary STL with the given records and header count (the number of
// records unless given).
inline std::string BinaryStl(const std::vector<StlRecord>& records,
                             std::optional<std::int64_t> count = std::nullopt,
                             std::string_view header = "binary test model") {
  std::string bytes(80, ' ');
  bytes.replace(0, std::min<std::size_t>(header.size(), 80), header.substr(0, 80));
  const auto n = static_cast<std::int32_t>(count.value_or(std::int64_t(records.size())));
  bytes.append(reinterpret_cast<const char*>(&n), sizeof n);
  for (const StlRecord& r : records) {
    bytes.append(reinterpret_cast<const char*>(r.data()), sizeof(float) * 12);
    bytes += "  ";
  }
  return bytes;
}

// A binary STL of `facets` records whose every line-end-separated piece is shorter than
// 80 bytes: line feeds in the header and in every record (0x0a bytes in the floats).
inline std::string ShortPieceBinaryStl(int facets) {
  float withLineFeed = 0;
  const std::uint32_t bits = 0x3f800a0a;  // about 1.0003, its low bytes are line feeds
  std::memcpy(&withLineFeed, &bits, sizeof bits);
  const StlRecord record{0, 0, 1, withLineFeed, 2, 3, 4, withLineFeed, 6, 7, 8, withLineFeed};
  std::string header(80, ' ');
  for (std::size_t k = 20; k < 80; k += 20) header[k] = '\n';
  return BinaryStl(std::vector<StlRecord>(std::size_t(facets), record), std::nullopt, header);
}

// A text STL in the plain form writers use: lower case, single spaces.
inline std::string TextStl(const std::vector<StlRecord>& records) {
  auto number = [](float v) { return std::to_string(v); };
  std::string text = "solid test\n";
  for (const StlRecord& r : records) {
    text += "facet normal " + number(r[0]) + " " + number(r[1]) + " " + number(r[2]) + "\n";
    text += " outer loop\n";
    for (int v = 0; v < 3; ++v) {
      text += "  vertex " + number(r[3 + 3 * v]) + " " + number(r[4 + 3 * v]) + " " +
              number(r[5 + 3 * v]) + "\n";
    }
    text += " endloop\nendfacet\n";
  }
  return text + "endsolid test\n";
}

// A text STL of the box [0, size] x [0, size] x [0, height], in mm.
inline std::string TextStlBox(float size, float height) {
  const float s = size, h = height;
  using R = StlRecord;
  auto quad = [](std::vector<R>& r, std::array<float, 3> a, std::array<float, 3> b,
                 std::array<float, 3> c, std::array<float, 3> d) {
    r.push_back({0, 0, 0, a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]});
    r.push_back({0, 0, 0, a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]});
  };
  std::vector<R> r;
  quad(r, {0, 0, 0}, {s, 0, 0}, {s, s, 0}, {0, s, 0});
  quad(r, {0, 0, h}, {0, s, h}, {s, s, h}, {s, 0, h});
  quad(r, {0, 0, 0}, {0, 0, h}, {s, 0, h}, {s, 0, 0});
  quad(r, {0, s, 0}, {s, s, 0}, {s, s, h}, {0, s, h});
  quad(r, {0, 0, 0}, {0, s, 0}, {0, s, h}, {0, 0, h});
  quad(r, {s, 0, 0}, {s, 0, h}, {s, s, h}, {s, s, 0});
  return TextStl(r);
}

}  // namespace vantora::testing
