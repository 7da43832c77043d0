#include "core/app/save_nc_flow.h"

#include "core/nc/program_resume.h"

namespace vantora {

Status OfferToSaveNcProgram(const NcProgram& program, Host& host) {
  if (!host.AskYesNo("Save NC file ?", "Position Message")) return Status::Ok();
  const auto choice = host.ChooseSaveFile("*.nc|*.nc|*.*|*.*", "*.nc", 1);
  if (!choice) return Status::Ok();
  return SaveNcFile(choice->path, program);
}

Status OfferToSaveResumedProgram(const Session& session, int section, Host& host) {
  NcProgram resumed;
  ResumedSection place;
  if (Status s = ResumeProgram(session.Program, session.Format, session.Machine, section,
                               resumed, place);
      !s) {
    return s;
  }
  host.ShowMessage(ResumedText(place));
  return OfferToSaveNcProgram(resumed, host);
}

}  // namespace vantora
