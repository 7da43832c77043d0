// The whole STL import as the open-file flow runs it: text first, then binary.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "core/common/silent_host.h"
#include "core/app/stl_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  static SilentHost host;
  auto store = std::make_unique<TDataModule1>();
  Session session;
  FacetTable table(256);  // small, so capacity refusals are reached too
  const auto bytes = std::as_bytes(std::span(data, size));
  if (ReadStlModel(bytes, "fuzz.stl", *store, session, table, host).ok()) {
    PlaceStlModel(*store, table, host);
  }
  return 0;
}
