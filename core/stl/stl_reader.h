#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// Both readers hand every facet to the table's NewFacet / CopyFacetNormal / FillFacet,
// which grow the store's bounds. Facets land at indices 0..n-1.

struct TextStlResult {
  enum class Kind { Read, NotText, Failed } kind = Kind::NotText;
  int facetCount = 0;
  Status status;           // why reading failed (kind Failed)
  bool truncated = false;  // the text ends inside a facet, which was dropped
};

// Reads the text form. Keywords are case-insensitive and may be indented by blanks;
// numbers may be separated by any run of blanks. A text that yields no facet is
// NotText, and so is one in which no facet has appeared after `watchdog` elapsed.
TextStlResult ReadTextStl(std::string_view text, TDataModule1& store, FacetTable& table,
                          Host& host,
                          std::chrono::milliseconds watchdog = std::chrono::seconds(2));

struct BinaryStlResult {
  int facetCount = 0;
  std::int64_t declaredCount = 0;  // the count in the header; more than read when cut short
  Status status;
};

// Reads the binary form: 80-byte header, 32-bit count, 50-byte records. Stops at the
// count or at the last whole record. Refuses NaN and infinite numbers.
BinaryStlResult ReadBinaryStl(std::span<const std::byte> bytes, TDataModule1& store,
                              FacetTable& table, Host& host);

// True when `bytes` has exactly the size a binary STL of its header's count would have.
bool HasBinaryStlSize(std::span<const std::byte> bytes);

}  // namespace vantora
