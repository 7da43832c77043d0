#pragma once

#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"

namespace vantora {

// The state of one run that the main window carries beside the model store: the NC
// format, the touch-point size, the import counter, the STL output rates, the angle
// the model's facets are turned to and the NC program its memo shows.
struct Session {
  NcFormat Format;
  float TouchPointSize = 0.7f;  // replaced by the settings file at start-up
  int ScanFileCount = -1;       // -1 until a model is loaded; 0 after an STL import
  float XRate = 1.0f, YRate = 1.0f, ZRate = 1.0f;
  float ModelTurnAngle = 0;  // degrees; a tool-path set-up makes the present one 0
  NcProgram Program;
};

}  // namespace vantora
