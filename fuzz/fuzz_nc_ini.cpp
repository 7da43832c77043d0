// NC.ini as the main window reads it at start-up, and the dialog's check of what it
// would write back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/nc/nc_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckNcFormat(NcFormatFromFileText(text));
  return 0;
}
