#pragma once

#include <string>

#include "core/common/status.h"
#include "core/nc/machine_profile.h"

namespace vantora {

// The profile the application writes programs for, as its settings file gave it, and
// what stood in the way when the file could not be used.
struct MachineSettings {
  MachineProfile Profile;
  Status Problem;
};

// Reads the application's settings file (kMachineSettingsName). A missing or empty file
// gives the built-in plain profile, silently; a file that cannot be used gives it for this
// run and the reason as Problem, and is left as it is.
MachineSettings ReadMachineSettings(const std::string& path);
// Writes the profile in its own text, through a temporary file.
Status WriteMachineSettings(const std::string& path, const MachineProfile& profile);

// What the operator must know before running programs of `profile` on a GRBL-type
// controller, or empty: with the wire's heat switched as the spindle (M3/M4) and a
// pre-heat pause, laser mode must be off, or the wire stays cold through the pause.
std::string LaserModeWarning(const MachineProfile& profile);

}  // namespace vantora
