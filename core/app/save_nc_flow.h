#pragma once

#include "core/common/host.h"
#include "core/common/status.h"
#include "core/nc/nc_program.h"

namespace vantora {

// The end of a program run in the application: asks "Save NC file ?" and, on Yes and
// a chosen file, saves the whole program there. Ok when nothing was to be saved.
Status OfferToSaveNcProgram(const NcProgram& program, Host& host);

}  // namespace vantora
