#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/status.h"

namespace vantora {

// How the table turns between sections: within the first move of the next section,
// as the wire moves (the program as it always was), or in a move of its own at the
// index feed with the wire standing still.
enum class TableTurn { WithMove, Indexed };

// What F means: mm (or degrees) per minute, written when it changes; or inverse time
// (G93), 1/minutes of the move, written on every feed move.
enum class FeedMode { PerMinute, InverseTime };

enum class CommentStyle { Parentheses, Semicolon };

// One axis of the machine: its travel (none: unlimited, as a table that turns
// freely), its fastest rate (mm/min, or degrees/min) and its acceleration (mm/s², or
// degrees/s²), for the program check's envelope and time. The defaults are no limit
// the check can see: the plain profile's time is the path at the feed, as it always was.
struct AxisLimits {
  std::optional<double> Min, Max;
  double Rate = 1e6;
  double Acceleration = 1e6;

  bool operator==(const AxisLimits&) const = default;
};

// How a program is written for one controller. The default profile is "plain": the
// program as the writer has always made it, byte for byte. The axis letters, the feed
// and the program's first line come from the NC format, not from here.
struct MachineProfile {
  std::string Name = "plain";
  std::string MadeFor;  // the controllers it was made for, as the operator reads it
  std::vector<std::string> Header;  // lines after the first line: units, modes
  // Before the first section the wire comes to its start in rapid moves, cold, and
  // is switched on there (WireOn, then the pre-heat pause); otherwise the program's
  // first motion line is a cutting move from wherever the wire stands.
  bool Approach = false;
  std::vector<std::string> WireOn, WireOff;
  double PreHeatSeconds = 0;         // the dwell after WireOn; none when 0
  bool DwellInMilliseconds = false;  // G4's P counts milliseconds, not seconds
  std::vector<std::string> End{"M30"};  // the program's last lines, after WireOff
  CommentStyle Comments = CommentStyle::Parentheses;
  // Each section begins with a comment naming it ("Section 3 of 72: C 10.000") and a
  // motion line naming every axis and the feed, so it can be found and cut again.
  bool SectionMarkers = false;
  TableTurn Turn = TableTurn::WithMove;
  double IndexFeed = 0;  // degrees/min, for TableTurn::Indexed
  FeedMode Feed = FeedMode::PerMinute;
  int Decimals = 3;  // of every axis value
  AxisLimits X, Y, C;

  bool operator==(const MachineProfile&) const = default;
};

// The names of the built-in profiles, "plain" first.
const std::vector<std::string>& BuiltInMachineNames();
// A built-in profile by name; none for a name that is not built in.
std::optional<MachineProfile> BuiltInMachine(std::string_view name);

// Reads a profile from its text: one setting a line, Name=value, blank lines and lines
// starting with '#' skipped; settings not given keep the plain profile's values. A
// setting it does not know, or a value it cannot use, is refused with its line.
Status ParseMachineProfile(std::string_view text, MachineProfile& profile);
// The profile as text that ParseMachineProfile reads back to the same profile.
std::string MachineProfileText(const MachineProfile& profile);
// Refuses a profile no program can be written with (a feed or rate that is not above
// 0 where one is needed, decimals outside 3..6, a line holding a line break).
Status CheckMachineProfile(const MachineProfile& profile);

// `nameOrFile` names a built-in profile, or else a profile file to read.
Status LoadMachineProfile(const std::string& nameOrFile, MachineProfile& profile);

// The application's settings file holding the profile in use, in the same text.
inline constexpr const char* kMachineSettingsName = "Machine.ini";

}  // namespace vantora
