// Machine profile files (--machine FILE, Machine.ini, the Machine dialog's Load): a
// profile read must be written back as text that reads as the same profile.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/nc/machine_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantora;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  MachineProfile profile;
  if (!ParseMachineProfile(text, profile)) return 0;
  MachineProfile again;
  if (!ParseMachineProfile(MachineProfileText(profile), again) || !(again == profile)) {
    std::abort();
  }
  return 0;
}
