#pragma once

#include <string_view>
#include <vector>

#include "core/common/status.h"
#include "core/nc/machine_profile.h"
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

// Reads a program in `format` written for `machine`: an optional first line equal to
// the format's FirstLine, then lines of words: axis words (the axis name, then its
// value), G0 G1 (rapid or feed moves) G4 (a pause of P seconds, or milliseconds as the
// profile counts them) G17 G21 G90 G93 G94 (inverse time or per-minute feed), F, S and
// P words, M3 M5 M8 M9 M62 to M65 (the wire's heat), and M2 or M30, after which only
// empty lines may follow; comments in parentheses or after ";" are skipped. The first
// motion line must name all three axes, no axis may go beyond 10^6 (mm or degrees), a
// feed move needs a feed in force, and under inverse time an F of its own. Anything
// else, inches (G20) and relative moves (G91) among it, is refused with its line
// number.
Status ReadNcMotion(std::string_view text, const NcFormat& format, const MachineProfile& machine,
                    NcMotionList& motion);
// The same for a program held in memory; line k of it is line k + 1 of its file.
Status ReadNcMotion(const NcProgram& program, const NcFormat& format,
                    const MachineProfile& machine, NcMotionList& motion);

}  // namespace vantora
