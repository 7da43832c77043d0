#pragma once

#include <string_view>
#include <vector>

#include "core/common/status.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"

namespace vantora {

// Where a program's motion line takes the axes: horizontal, vertical and rotary, in
// the program's units (mm and degrees), and the line's number in the file (from 1);
// how it gets there: in rapid (at the machine's rates), or at the feed in force, in
// mm/min (degrees/min for a turn alone) or, under inverse time, as 1/minutes.
struct NcMotion {
  double X = 0, Y = 0, C = 0;
  int Line = 0;
  bool Rapid = false;
  double Feed = 0;
  bool InverseTime = false;
};

// The motion of a program as a controller carries it out: every motion line's target
// with the axes it does not name unchanged, the feed (mm/min) of its first feed move,
// and the pauses (G4) it makes, in seconds all told.
struct NcMotionList {
  std::vector<NcMotion> Motions;
  double Feed = 0;
  double DwellSeconds = 0;
};

// Reads a program in `format`: an optional first line equal to the format's FirstLine,
// then motion lines of "G1", axis words (the axis name, then its value) and an "F"
// word, and "M30". The first motion line must name all three axes, and no axis may go
// beyond 10^6 (mm or degrees). Anything else is refused with its line number.
Status ReadNcMotion(std::string_view text, const NcFormat& format, NcMotionList& motion);
// The same for a program held in memory; line k of it is line k + 1 of its file.
Status ReadNcMotion(const NcProgram& program, const NcFormat& format, NcMotionList& motion);

}  // namespace vantora
