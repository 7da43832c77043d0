// The binary STL reader alone.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "core/common/silent_host.h"
#include "core/stl/stl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  static SilentHost host;
  auto store = std::make_unique<TDataModule1>();
  FacetTable table(256);
  ReadBinaryStl(std::as_bytes(std::span(data, size)), *store, table, host);
  return 0;
}
