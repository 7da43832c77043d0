#pragma once

#include <vector>

#include "core/check/nc_replay.h"
#include "core/common/status.h"
#include "core/nc/machine_profile.h"

namespace vantora {

// A motion line that takes one axis beyond the machine's travel: its line in the file,
// the axis ('X', 'Y' or 'C', as the profile names it) and where the line takes it.
struct OutOfTravel {
  int Line = 0;
  char Axis = 'X';
  double Value = 0;

  bool operator==(const OutOfTravel&) const = default;
};

// The seconds the machine takes to run the program's motion, its pauses included.
// Every move runs from rest to rest (a wire path turns a right angle at almost every
// point, so the machine stops there): speeding up and braking at the acceleration of
// the axis that bounds it, never driving an axis beyond its rate. A feed move cruises
// at its F: per minute, mm/min along its length in the section plane, or degrees/min
// when it turns the table alone; in inverse time, 1/F minutes. A rapid cruises at the
// axes' rates. The first motion line starts from where the program cannot say, and
// takes none.
double MachineSeconds(const NcMotionList& motion, const MachineProfile& machine);

// Every motion line that moves an axis to a place beyond its travel, in program order
// (X, Y, C within a line); a line that leaves the axis where it was is not named again.
std::vector<OutOfTravel> LinesBeyondTravel(const NcMotionList& motion,
                                           const MachineProfile& machine);

}  // namespace vantora
