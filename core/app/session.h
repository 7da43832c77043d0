#pragma once

#include <optional>

#include "core/check/nc_replay.h"
#include "core/model/data_module.h"
#include "core/nc/machine_profile.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"

namespace vantora {

// The state of one run that the main window carries beside the model store: the NC
// format and the machine profile programs are written for, the touch-point size, the import counter, the STL output rates, the angle
// the model's facets are turned to, the NC program its memo shows and the motion of the
// last sweep's program.
struct Session {
  NcFormat Format;
  MachineProfile Machine;
  float TouchPointSize = 0.7f;  // replaced by the settings file at start-up
  int ScanFileCount = -1;       // -1 until a model is loaded; 0 after an STL import
  float XRate = 1.0f, YRate = 1.0f, ZRate = 1.0f;
  float ModelTurnAngle = 0;  // degrees; a tool-path set-up makes the present one 0
  NcProgram Program;
  // How the import dialog asked the next scan to be placed: mirrored (and its faces
  // reversed), turned about X or Y.
  ModelTurnRequest ImportTurn;
  // The program the last sweep wrote, as a controller runs it: what its carved result
  // is built from. None before a sweep, and once the model, the set-up or the memo
  // changes, or a new sweep starts.
  std::optional<NcMotionList> SweptMotion;
};

}  // namespace vantora
