#include "core/nc/program_resume.h"

#include <string>

#include "core/nc/nc_writer.h"

namespace vantora {
namespace {

// The markers' lines of a program, by section number (0 where a section has none),
// and the sweep's section count.
struct Markers {
  std::vector<int> Lines;
  int Count = 0;
};

Markers FindMarkers(const NcProgram& program, const MachineProfile& machine) {
  Markers markers;
  for (int k = 0; k < program.LineCount(); ++k) {
    const auto marker = ReadSectionMarker(machine, program.Line(k));
    if (!marker || marker->Place.Number > marker->Place.Count) continue;
    markers.Count = marker->Place.Count;
    markers.Lines.resize(std::size_t(markers.Count) + 1);
    int& line = markers.Lines[std::size_t(marker->Place.Number)];
    if (line == 0) line = k;
  }
  return markers;
}

// The axis words of a section's full first line ("G1 X 1.000 Y 2.000 C 0.000 F300"):
// what lies between its motion word and its feed word.
std::string_view AxisWords(std::string_view line) {
  const std::size_t begin = line.find(' '), end = line.rfind(' ');
  if (!line.starts_with("G1 ") || end <= begin || line[end + 1] != 'F') return {};
  return line.substr(begin, end - begin);
}

}  // namespace

Status ResumeProgram(const NcProgram& whole, const NcFormat& format,
                     const MachineProfile& machine, int section, NcProgram& resumed,
                     ResumedSection& place) {
  if (!machine.SectionMarkers) {
    return Status::Refused("A program can be resumed only at a marked section; the machine "
                           "profile \"" + machine.Name + "\" writes no section markers.");
  }
  const Markers markers = FindMarkers(whole, machine);
  if (markers.Count == 0) return Status::Refused("The program holds no section marker.");
  if (section < 1 || section > markers.Count) {
    return Status::Refused("There is no section " + std::to_string(section) +
                           " to resume at: the program has sections 1 to " +
                           std::to_string(markers.Count) + ".");
  }
  const int marker = markers.Lines[std::size_t(section)];
  if (marker == 0) {
    return Status::Refused("Section " + std::to_string(section) +
                           " has no path in this program: resume at the section after it.");
  }
  const std::string_view axisWords =
      marker + 1 < whole.LineCount() ? AxisWords(whole.Line(marker + 1)) : std::string_view();
  if (axisWords.empty()) {
    return Status::Error(ErrorCode::Malformed, "Section " + std::to_string(section) +
                                                   " does not begin with a full motion line.");
  }
  NcProgram program;
  program.AppendLine(format.FirstLine);
  for (const std::string& line : machine.Header) program.AppendLine(line);
  WriteApproach(machine, axisWords, program);
  for (int k = marker; k < whole.LineCount(); ++k) program.AppendLine(whole.Line(k));
  const SectionMarker read = *ReadSectionMarker(machine, whole.Line(marker));
  place = {read.Place, std::string(read.AngleWord)};
  resumed = std::move(program);
  return Status::Ok();
}

std::string ResumedText(const ResumedSection& place) {
  return "Resumed at section " + std::to_string(place.Place.Number) + " of " +
         std::to_string(place.Place.Count) + ", " + place.AngleWord + ".";
}

}  // namespace vantora
