#include "core/check/program_check.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cmath>

#include "core/common/number_text.h"

namespace vantora {
namespace {

// The sections that remove (almost) nothing the others do not, in program order.
std::vector<SectionShare> IdleOf(const std::vector<SectionShare>& shares) {
  std::vector<SectionShare> idle;
  std::copy_if(shares.begin(), shares.end(), std::back_inserter(idle),
               [](const SectionShare& s) { return s.Idle; });
  return idle;
}

double MinutesOf(const std::vector<SectionShare>& sections, double feed) {
  double length = 0;
  for (const SectionShare& s : sections) length += s.PathLength;
  return feed > 0 ? length / feed : 0;
}

void Widen(AxisExtent& extent, double v, bool first) {
  extent.Min = first ? v : std::min(extent.Min, v);
  extent.Max = first ? v : std::max(extent.Max, v);
}

// The replay steps a whole program may take at their finest (a program's turns between
// sections take a few hundred: the wire keeps clear of the part there, and steps far
// from it are long), how many a move may take per mm of travel at most (a step every
// 0.005 mm, the finest a turning move needs) and at least, however short. A program
// text that spins the wire inside the part for kilometres is replayed in about a
// tenth of a second, its steps grown.
constexpr double kProgramSteps = 2e5;
constexpr double kStepsPerMm = 200;
constexpr double kMinMoveSteps = 4;

std::string LinesText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " line" : " lines");
}

// The lines beyond travel named in the report's text; the rest are counted.
constexpr std::size_t kNamedBeyondTravel = 3;

std::size_t LinesBeyondTravelCount(const ProgramReport& r) {
  std::size_t lines = 0;
  for (std::size_t k = 0; k < r.BeyondTravel.size(); ++k) {
    lines += k == 0 || r.BeyondTravel[k].Line != r.BeyondTravel[k - 1].Line;
  }
  return lines;
}

// "2 lines go beyond the machine's travel"
std::string BeyondTravelClause(const ProgramReport& r) {
  const std::size_t lines = LinesBeyondTravelCount(r);
  return LinesText(lines) + (lines == 1 ? " goes" : " go") + " beyond the machine's travel";
}

std::string MachineText(const ProgramReport& r) {
  std::string text = "Machine time on " + r.Machine + ": " + FixedText(r.MachineMinutes, 1) +
                     " min with the axes' rates and acceleration, " +
                     FixedText(r.DwellSeconds, 1) + " s of it pausing\n";
  if (r.WithinTravel()) return text;
  text += BeyondTravelClause(r);
  for (std::size_t k = 0; k < std::min(r.BeyondTravel.size(), kNamedBeyondTravel); ++k) {
    const OutOfTravel& o = r.BeyondTravel[k];
    text += (k == 0 ? ": line " : ", line ") + std::to_string(o.Line) + " " + o.Axis + " " +
            FixedText(o.Value);
  }
  return text + (r.BeyondTravel.size() > kNamedBeyondTravel ? ", ...\n" : "\n");
}

// A JSON string of any text: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string MachineJson(const ProgramReport& r) {
  std::string json = "\"machine\": {\"name\": " + JsonString(r.Machine) +
                     ", \"minutes\": " + FixedText(r.MachineMinutes) +
                     ", \"dwellSeconds\": " + FixedText(r.DwellSeconds) +
                     ", \"beyondTravel\": [";
  for (std::size_t k = 0; k < r.BeyondTravel.size(); ++k) {
    const OutOfTravel& o = r.BeyondTravel[k];
    json += std::string(k == 0 ? "" : ", ") + "{\"line\": " + std::to_string(o.Line) +
            ", \"axis\": \"" + o.Axis + "\", \"value\": " + FixedText(o.Value) + "}";
  }
  return json + "]}";
}

// The margin after the set-up's other figures, said only when it is not the standard
// one, so a report of the standard set-up reads as before.
std::string MarginText(const WireMargin& m) {
  return std::string(m.Shape == MarginShape::Round ? ", round margin" : "") +
         (m.Stock ? ", stock " + FixedText(*m.Stock) + " mm" : "");
}
std::string MarginJsonMembers(const WireMargin& m) {
  return std::string(m.Shape == MarginShape::Round ? ", \"margin\": \"round\"" : "") +
         (m.Stock ? ", \"stock\": " + FixedText(*m.Stock) : "");
}

}  // namespace

WireFrame WireFrameOf(const TDataModule1& store, double standAngle) {
  // A cell's height lies at its row times the resolution above MinZ, and the model's
  // z = 0 in the wire-margin row.
  WireFrame frame;
  frame.OffsetZ = double(float(store.MinZ)) + store.WireMarginCells * double(store.Resolution);
  frame.StandAngle = standAngle;
  frame.WireDia = store.WireDia;
  return frame;
}

int ProgramReport::CutThroughLines() const {
  return int(std::count_if(Intrusions.begin(), Intrusions.end(),
                           [](const Intrusion& i) { return i.AxisInside; }));
}

std::vector<double> ProgramReport::ReachingSections() const {
  std::vector<double> angles;
  for (const Intrusion& i : Intrusions) {
    if (std::find(angles.begin(), angles.end(), i.SectionAngle) == angles.end()) {
      angles.push_back(i.SectionAngle);
    }
  }
  return angles;
}

double ProgramReport::DeepestDepth() const {
  double deepest = 0;
  for (const Intrusion& i : Intrusions) deepest = std::max(deepest, i.Depth);
  return deepest;
}

ProgramReport CheckProgram(const SilhouetteTree& tree, const WireFrame& frame,
                           const NcMotionList& motion, const MachineProfile& machine) {
  ProgramReport report;
  report.Feed = motion.Feed;
  const std::vector<NcMotion>& moves = motion.Motions;
  // The moves share a budget of replay steps by their travel, so that no program text
  // keeps the check busy for long.
  double travel = 0;
  for (std::size_t k = 1; k < moves.size(); ++k) {
    travel += MoveTravel(tree, {moves[k - 1].X, moves[k - 1].Y, moves[k - 1].C},
                         {moves[k].X, moves[k].Y, moves[k].C});
  }
  const double stepsPerMm = std::min(kProgramSteps / std::max(travel, 1.0), kStepsPerMm);
  for (std::size_t k = 0; k < moves.size(); ++k) {
    const NcMotion& to = moves[k];
    const NcMotion& from = moves[k == 0 ? 0 : k - 1];
    Widen(report.X, to.X, k == 0);
    Widen(report.Y, to.Y, k == 0);
    Widen(report.C, to.C, k == 0);
    report.PathLength += std::hypot(to.X - from.X, to.Y - from.Y);
    const AxisPosition a{from.X, from.Y, from.C}, b{to.X, to.Y, to.C};
    const double steps = std::max(kMinMoveSteps, stepsPerMm * MoveTravel(tree, a, b));
    const WireContact contact = ReplayMove(tree, frame, a, b, steps);
    if (contact.Depth > kReachTolerance) {
      report.Intrusions.push_back({to.Line, contact.Angle, to.C, contact.Depth, contact.AxisInside});
    }
  }
  report.MotionLines = int(moves.size());
  if (report.Feed > 0) report.CuttingMinutes = report.PathLength / report.Feed;
  report.Machine = machine.Name;
  report.MachineMinutes = MachineSeconds(motion, machine) / 60;
  report.DwellSeconds = motion.DwellSeconds;
  report.BeyondTravel = LinesBeyondTravel(motion, machine);
  return report;
}

std::string ReportText(const ProgramReport& r) {
  std::string text;
  if (r.SetUp.Resolution > 0) {
    text = "Set-up: resolution " + FixedText(r.SetUp.Resolution) + " mm, wire " +
           FixedText(r.SetUp.WireDia) + " mm, smoothing tolerance " + FixedText(r.SetUp.Tolerance) +
           " mm" + MarginText(r.SetUp.Margin) + "\n";
  }
  text += std::to_string(r.MotionLines) + " motion lines, path " +
                     FixedText(r.PathLength) + " mm, cutting time " + FixedText(r.CuttingMinutes, 1) +
                     " min at F" + FixedText(r.Feed, 0) + "\n";
  text += "X " + FixedText(r.X.Min) + " to " + FixedText(r.X.Max) + " mm, Y " + FixedText(r.Y.Min) +
          " to " + FixedText(r.Y.Max) + " mm, C " + FixedText(r.C.Min) + " to " + FixedText(r.C.Max) +
          " degrees\n";
  text += MachineText(r);
  text += ReportSummary(r) + "\n";
  for (const Intrusion& i : r.Intrusions) {
    text += "  line " + std::to_string(i.Line) + "  C " + FixedText(i.Angle) + "  depth " +
            FixedText(i.Depth) + " mm  " + (i.AxisInside ? "cuts through the part" : "grazes") +
            "\n";
  }
  if (r.Carved) text += DeviationText(*r.Carved);
  if (!r.Shares.empty()) text += IdleSectionsText(r.Shares, r.Feed) + "\n";
  return text;
}

std::string ReportJson(const ProgramReport& r) {
  auto range = [](const AxisExtent& e) { return "[" + FixedText(e.Min) + ", " + FixedText(e.Max) + "]"; };
  std::string json = "{";
  if (r.SetUp.Resolution > 0) {
    json += "\"setUp\": {\"resolution\": " + FixedText(r.SetUp.Resolution) + ", \"wire\": " +
            FixedText(r.SetUp.WireDia) + ", \"tolerance\": " + FixedText(r.SetUp.Tolerance) +
            MarginJsonMembers(r.SetUp.Margin) + "}, ";
  }
  json += "\"motionLines\": " + std::to_string(r.MotionLines) +
                     ", \"pathLength\": " + FixedText(r.PathLength) + ", \"feed\": " +
                     FixedText(r.Feed) + ", \"cuttingMinutes\": " + FixedText(r.CuttingMinutes) +
                     ", \"extents\": {\"X\": " + range(r.X) + ", \"Y\": " + range(r.Y) +
                     ", \"C\": " + range(r.C) + "}, " + MachineJson(r) + ", \"clean\": " +
                     (r.Clean() ? "true" : "false") + ", \"intrusions\": [";
  for (std::size_t k = 0; k < r.Intrusions.size(); ++k) {
    const Intrusion& i = r.Intrusions[k];
    json += std::string(k == 0 ? "" : ", ") + "{\"line\": " + std::to_string(i.Line) +
            ", \"angle\": " + FixedText(i.Angle) + ", \"sectionAngle\": " + FixedText(i.SectionAngle) +
            ", \"depth\": " + FixedText(i.Depth) +
            ", \"cutsThrough\": " + (i.AxisInside ? "true" : "false") + "}";
  }
  json += "]";
  if (r.Carved) json += ", \"carved\": {" + DeviationJsonMembers(*r.Carved) + "}";
  if (!r.Shares.empty()) {
    json += ", \"sections\": [";
    for (std::size_t k = 0; k < r.Shares.size(); ++k) {
      const SectionShare& s = r.Shares[k];
      json += std::string(k == 0 ? "" : ", ") + "{\"c\": " + FixedText(s.C) +
              ", \"soleVolume\": " + FixedText(s.SoleVolume, 1) +
              ", \"minutes\": " + FixedText(s.PathLength / r.Feed) + "}";
    }
    const std::vector<SectionShare> idle = IdleOf(r.Shares);
    json += "], \"idleSections\": [";
    for (std::size_t k = 0; k < idle.size(); ++k) {
      json += std::string(k == 0 ? "" : ", ") + FixedText(idle[k].C);
    }
    json += "], \"idleMinutes\": " + FixedText(MinutesOf(idle, r.Feed));
  }
  return json + "}\n";
}

std::string IdleSectionsText(const std::vector<SectionShare>& shares, double feed) {
  if (shares.empty()) return {};
  const std::vector<SectionShare> idle = IdleOf(shares);
  std::string text = std::to_string(idle.size()) + " of " + std::to_string(shares.size()) +
                     (shares.size() == 1 ? " section removes" : " sections remove") +
                     " nothing the others do not (" + FixedText(MinutesOf(idle, feed), 1) +
                     " min)";
  for (std::size_t k = 0; k < idle.size(); ++k) {
    text += (k == 0 ? ": C " : ", C ") + FixedText(idle[k].C);
  }
  return text + ".";
}

std::string ReportSummary(const ProgramReport& r) {
  const std::string travel = r.WithinTravel() ? "" : " " + BeyondTravelClause(r) + ".";
  if (r.Clean()) return "The wire stays outside the model." + travel;
  return "The wire reaches into the model on " + LinesText(r.Intrusions.size()) + ", up to " +
         FixedText(r.DeepestDepth()) + " mm deep; " + LinesText(std::size_t(r.CutThroughLines())) +
         " cut through the part." + travel;
}

std::string ReachingSectionsText(const ProgramReport& r) {
  std::string text;
  for (double angle : r.ReachingSections()) {
    text += (text.empty() ? "C " : ", C ") + FloatToText(float(angle));
  }
  return text;
}

Status CheckNcProgram(const FacetTable& table, const TDataModule1& store, double standAngle,
                      const NcFormat& format, const MachineProfile& machine,
                      std::string_view text, ProgramReport& report, CarvedResult* carved) {
  NcMotionList motion;
  if (Status s = ReadNcMotion(text, format, machine, motion); !s) return s;
  const SilhouetteTree tree(table);
  report = CheckProgram(tree, WireFrameOf(store, standAngle), motion, machine);
  report.SetUp = {store.Resolution, store.WireDia, store.PathTolerance, store.Margin};
  if (carved) {
    if (Status s = CarveNcProgram(table, tree, store, standAngle, motion, *carved); !s) return s;
    report.Carved = carved->Deviation;
    report.Shares = carved->Shares;
  }
  return Status::Ok();
}

}  // namespace vantora
