// ScanerTool.ini as the main window reads it at start-up.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/app/touch_point_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!std::isfinite(vantora::ParseTouchPointSettings(text))) std::abort();
  return 0;
}
