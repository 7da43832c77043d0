// The text STL reader alone, with a short watchdog so junk ends quickly.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/common/silent_host.h"
#include "core/stl/stl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  static SilentHost host;
  auto store = std::make_unique<TDataModule1>();
  FacetTable table(256);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadTextStl(text, *store, table, host, std::chrono::milliseconds(100));
  return 0;
}
