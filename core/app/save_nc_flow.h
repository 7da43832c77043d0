#pragma once

#include "core/app/session.h"
#include "core/common/host.h"
#include "core/common/status.h"
#include "core/nc/nc_program.h"

namespace vantora {

// The end of a program run in the application: asks "Save NC file ?" and, on Yes and
// a chosen file, saves the whole program there. Ok when nothing was to be saved.
Status OfferToSaveNcProgram(const NcProgram& program, Host& host);

// "Resume from section": the session's program (the memo's) started again at
// `section` for the session's machine, told to the operator and offered for saving as
// above; the memo keeps the whole program.
Status OfferToSaveResumedProgram(const Session& session, int section, Host& host);

}  // namespace vantora
