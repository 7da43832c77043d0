#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/nc/machine_profile.h"

namespace vantora {

// Where a section stands in its sweep: section `Number` (from 1) of `Count`.
struct SectionPlace {
  int Number = 1;
  int Count = 1;
};

// The comment line that begins a section in a program with section markers, in the
// profile's comment style: "(Section 3 of 72: C 10.000)" or "; Section 3 of 72: C
// 10.000", `angleWord` being the rotary axis word ("C 10.000").
std::string SectionMarkerText(const MachineProfile& machine, SectionPlace place,
                              std::string_view angleWord);

// A section marker read back from a program's line.
struct SectionMarker {
  SectionPlace Place;
  std::string_view AngleWord;
};
// The marker `line` holds in the profile's comment style; none for any other line.
std::optional<SectionMarker> ReadSectionMarker(const MachineProfile& machine,
                                               std::string_view line);

}  // namespace vantora
