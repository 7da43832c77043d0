#pragma once

#include "core/common/status.h"
#include "core/nc/machine_profile.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"
#include "core/nc/section_marker.h"

namespace vantora {

// The section a program was resumed at: where it stood in the sweep and its rotary
// word ("C 195.000").
struct ResumedSection {
  SectionPlace Place;
  std::string AngleWord;
};

// The program that starts again at section `section` (from 1) of `whole`, a program the
// writer wrote with section markers in `format` for `machine`: its first line and
// header, the approach to the section's first point with the wire switched on, then
// every line of `whole` from the section's marker to the end. Refused, leaving
// `resumed` as it was, for a program without markers, a section outside the sweep, or
// one that wrote no path.
Status ResumeProgram(const NcProgram& whole, const NcFormat& format,
                     const MachineProfile& machine, int section, NcProgram& resumed,
                     ResumedSection& place);

// What the operator is told of a resumed program: "Resumed at section 3 of 4, C 90.000."
std::string ResumedText(const ResumedSection& place);

}  // namespace vantora
