#include "core/app/save_nc_flow.h"

namespace vantora {

Status OfferToSaveNcProgram(const NcProgram& program, Host& host) {
  if (!host.AskYesNo("Save NC file ?", "Position Message")) return Status::Ok();
  const auto choice = host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1);
  if (!choice) return Status::Ok();
  return SaveNcFile(choice->path, program);
}

}  // namespace vantora
