#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/check/carved_result.h"
#include "core/check/machine_run.h"
#include "core/check/nc_replay.h"
#include "core/check/wire_motion.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"

namespace vantora {

// Contact up to this deep (mm) is within what the check's stepping and the program's
// three decimals can tell apart from none.
inline constexpr double kReachTolerance = 0.05;

// The frame of the program a sweep writes on the store's raster (after a tool-path
// set-up), with the model's facets standing at `standAngle`.
WireFrame WireFrameOf(const TDataModule1& store, double standAngle);

// A line on which the wire reaches into the model deeper than kReachTolerance.
struct Intrusion {
  int Line = 0;             // in the program file, from 1
  double Angle = 0;         // the rotary position of the deepest contact
  double SectionAngle = 0;  // the rotary position the line ends at
  double Depth = 0;         // mm
  bool AxisInside = false;  // the wire's axis passes inside: the line cuts through the part
};

struct AxisExtent {
  double Min = 0, Max = 0;
};

// The set-up a program read from a file was checked on (mm): the resolution as the
// set-up made it (possibly enlarged), the wire and the smoothing tolerance it was made
// with, and its margin. All 0 for a program checked straight after its sweep.
struct CheckedSetUp {
  double Resolution = 0, WireDia = 0, Tolerance = 0;
  WireMargin Margin;
};

// What a replay of a program found.
struct ProgramReport {
  CheckedSetUp SetUp;
  int MotionLines = 0;
  AxisExtent X, Y, C;
  double PathLength = 0;      // mm, in the section plane
  double Feed = 0;            // mm/min
  double CuttingMinutes = 0;  // the path length at the feed
  // The program on the machine it was checked for: the profile's name, the time the
  // machine takes (see MachineSeconds), the pauses within it, and the motion lines
  // beyond its travel.
  std::string Machine = MachineProfile{}.Name;
  double MachineMinutes = 0;
  double DwellSeconds = 0;
  std::vector<OutOfTravel> BeyondTravel;
  std::vector<Intrusion> Intrusions;
  std::optional<CarvedDeviation> Carved;  // when the carved result was asked for
  std::vector<SectionShare> Shares;       // with it: what each section alone removes

  bool Clean() const { return Intrusions.empty(); }
  bool WithinTravel() const { return BeyondTravel.empty(); }
  // The section angles at which lines reach in, each once, in program order.
  std::vector<double> ReachingSections() const;
  int CutThroughLines() const;
  double DeepestDepth() const;
};

// Replays every move of the program against the model, and on the machine.
ProgramReport CheckProgram(const SilhouetteTree& tree, const WireFrame& frame,
                           const NcMotionList& motion,
                           const MachineProfile& machine = MachineProfile{});

// The report as the operator reads it, several lines.
std::string ReportText(const ProgramReport& report);
// The report as one JSON object.
std::string ReportJson(const ProgramReport& report);
// One line on the sections that remove nothing the others do not and the time they
// cost at `feed` ("12 of 24 sections remove nothing the others do not (15.5 min): C
// 180.000, ..."); empty without sections.
std::string IdleSectionsText(const std::vector<SectionShare>& shares, double feed);
// One line: whether the wire stays outside the model, and if not, how badly; and how
// many lines go beyond the machine's travel, if any.
std::string ReportSummary(const ProgramReport& report);
// The sections whose lines reach in, as "C 0.000, C 90.000"; empty for a clean program.
std::string ReachingSectionsText(const ProgramReport& report);


// Checks a program read from a file against the model set up for it on the store's
// raster (its PathTolerance the one the program was made with), the model's facets
// standing at `standAngle`, and on `machine`; with `carved`, also carves it (see
// CarveNcProgram) and adds the deviation to the report. Fails when the program cannot
// be read in `format`, moves at the feed with none given, or its carved result cannot
// be built.
Status CheckNcProgram(const FacetTable& table, const TDataModule1& store, double standAngle,
                      const NcFormat& format, const MachineProfile& machine,
                      std::string_view text, ProgramReport& report,
                      CarvedResult* carved = nullptr);

}  // namespace vantora
