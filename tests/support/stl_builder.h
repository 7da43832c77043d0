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

// The twelve facets of the box from `lo` to `hi`, each wound counter-clockwise seen
// from outside, with its outward normal.
inline std::vector<StlRecord> BoxFacets(std::array<float, 3> lo, std::array<float, 3> hi) {
  const auto corner = [&](int i) {
    return std::array<float, 3>{i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1],
                                i & 4 ? hi[2] : lo[2]};
  };
  constexpr int kFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  constexpr float kNormals[6][3] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                    {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
  std::vector<StlRecord> facets;
  for (int f = 0; f < 6; ++f) {
    for (const auto& [b, c] : {std::pair{1, 2}, std::pair{2, 3}}) {
      StlRecord r{kNormals[f][0], kNormals[f][1], kNormals[f][2]};
      const int corners[3] = {kFaces[f][0], kFaces[f][b], kFaces[f][c]};
      for (int v = 0; v < 3; ++v) {
        const auto p = corner(corners[v]);
        std::copy(p.begin(), p.end(), r.begin() + 3 + 3 * v);
      }
      facets.push_back(r);
    }
  }
  return facets;
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
  return TextStl(BoxFacets({0, 0, 0}, {size, size, height}));
}

}  // namespace vantora::testing
