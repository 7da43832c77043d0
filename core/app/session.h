#pragma once

#include "nc/nc_format.h"

namespace vantora {

// The state of one run that the main window carries beside the model store: the NC
// format, the touch-point size, the import counter and the STL output rates.
struct Session {
  NcFormat Format;
  float TouchPointSize = 0.7f;  // replaced by the settings file at start-up
  int ScanFileCount = -1;       // -1 until a model is loaded; 0 after an STL import
  float XRate = 1.0f, YRate = 1.0f, ZRate = 1.0f;
};

}  // namespace vantora
