// The command that cuts a model into an NC program: nc.
#include <cmath>
#include <filesystem>
#include <optional>

#include "core/check/program_check.h"
#include "cli_app.h"
#include "cli_command.h"
#include "core/nc/nc_format.h"
#include "core/nc/nc_program.h"
#include "core/nc/program_resume.h"
#include "core/app/section_choice.h"
#include "core/app/tool_path_commands.h"
#include "core/common/atomic_file.h"

namespace vantora {
namespace {

// Option texts as typed; the defaults are those of the application's fields.
struct NcOptions {
  std::string model;
  std::string output;
  NcSetUpOptions setUp;
  std::string from = "0.00";
  std::string to = "0.00";
  std::string step = "5.00";
  std::optional<std::string> startHeight, beginRange, endRange;
  std::optional<std::string> adaptive, sections;
  std::string curve;  // where to write the choice's curve, if asked
  std::optional<std::string> resumeSection;
};

// The numbers the options hold, read before any work starts.
struct NcJob {
  ToolPathSetUp setUp;
  float tolerance = 0;
  SweepAngles angles;
  std::optional<float> startHeight, beginRange, endRange;
  SectionRequest request;
  std::optional<int> resumeSection;
};

// --sections and --resume-section: a whole number of sections, or a section's number.
int ReadSectionCount(const std::string& option, const std::string& text) {
  const float count = ParseOption(option, text);
  if (!(count >= 1 && count <= 1e6f) || count != std::floor(count)) {
    throw UsageError(option + " must be a whole number, 1 or more: " + text);
  }
  return int(count);
}

std::optional<float> ParseOptional(const std::string& option,
                                   const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return ParseOption(option, *text);
}

NcJob ReadJob(const NcOptions& o) {
  NcJob job;
  job.setUp = ReadSetUp(o.setUp);
  job.tolerance = ReadTolerance(o.setUp);
  job.angles.Start = ParseOption("--from", o.from);
  job.angles.Step = ParseOption("--step", o.step);
  job.angles.End = ParseOption("--to", o.to);
  job.startHeight = ParseOptional("--start-height", o.startHeight);
  job.beginRange = ParseOptional("--begin-range", o.beginRange);
  job.endRange = ParseOptional("--end-range", o.endRange);
  job.request.Deviation = ParseOptional("--adaptive", o.adaptive).value_or(0.0f);
  if (o.sections) job.request.Sections = ReadSectionCount("--sections", *o.sections);
  if (o.resumeSection) job.resumeSection = ReadSectionCount("--resume-section", *o.resumeSection);
  return job;
}

// The session's program resumed at `section` into `resumed`; stderr names the section.
void Resume(const Session& session, int section, NcProgram& resumed, CliContext& context) {
  ResumedSection place;
  ThrowIfFailed(
      ResumeProgram(session.Program, session.Format, session.Machine, section, resumed, place));
  context.host.ShowMessage(ResumedText(place), {});
}

// What the operator does in the application: set up the tool path, define the start
// position when any of its values is given, run the sweep, save the program.
void RunNc(const NcOptions& o, CliContext& context) {
  for (const auto& [option, output] : {std::pair{"-o", o.output}, std::pair{"--curve", o.curve}}) {
    if (output.empty()) continue;
    RefuseOutputOver(option, output,
                     {{o.model, "model"}, NcFormatInput(o.setUp), MachineInput(o.setUp)});
  }
  const NcJob job = ReadJob(o);
  int sections = 0;
  ThrowIfFailed(CountSections(job.angles, sections));
  const NcFormat format = ReadNcFormat(o.setUp);
  const MachineProfile machine = ReadMachine(o.setUp);
  if (job.resumeSection && !machine.SectionMarkers) {
    throw UsageError("--resume-section needs a machine profile with section markers; \"" +
                     machine.Name + "\" writes none.");
  }
  const auto w = ImportModel(o.model, !o.setUp.noPlatform, context.host);
  TDataModule1& store = w->store;
  w->session.Format = format;
  w->session.Machine = machine;
  ThrowIfFailed(SetUpToolPath(store, w->session, w->table, context.host, job.setUp));
  if (job.startHeight || job.beginRange || job.endRange) {
    ThrowIfFailed(DefineStartPosition(store, job.startHeight.value_or(0.0f),
                                      job.beginRange.value_or(store.BeginRange),
                                      job.endRange.value_or(store.EndRange)));
  }
  store.PathTolerance = job.tolerance;
  NcProgram& program = w->session.Program;
  ProgramReport check;
  std::optional<ChosenSections> chosen;
  ThrowIfFailed(RunRequestedToolPath(store, w->session, w->table, context.host, job.angles,
                                     job.request, program, {{}, &check}, chosen));
  if (chosen) sections = int(chosen->Angles.size());
  NcProgram resumed;
  if (job.resumeSection) Resume(w->session, *job.resumeSection, resumed, context);
  const NcProgram& written = job.resumeSection ? resumed : program;
  ThrowIfFailed(SaveNcFile(o.output, written));
  if (chosen) {
    context.host.ShowMessage(ChoiceSummary(*chosen, check.CuttingMinutes), {});
    if (!o.curve.empty()) {
      ThrowIfFailed(SaveTextFile(o.curve, ChoiceCurveCsv(*chosen, check.CuttingMinutes)));
    }
  }
  context.out << "Wrote " << o.output << " (" << sections << " sections, "
              << written.LineCount() << " lines)\n";
  // The program check of the run: a summary on stderr, exit status 3 when the wire
  // reaches into the model or an axis beyond the machine's travel.
  context.host.ShowMessage(ReportSummary(check), {});
  if (!check.Clean() || !check.WithinTravel()) context.status = kExitModelReached;
}

}  // namespace

void AddSetUpOptions(CLI::App& command, NcSetUpOptions& o) {
  command.add_option("--resolution", o.resolution, "Raster cell edge in mm (default 0.2)");
  command.add_option("--wire", o.wire, "Wire diameter in mm (default 1.00)");
  command.add_option("--tolerance", o.tolerance,
                     "How far in mm a smoothed path may lie from the staircase (default 0: "
                     "the staircase as walked)");
  command.add_option("--margin", o.margin,
                     "How the silhouette grows for the wire: square (default) or round")
      ->check(CLI::IsMember({"square", "round"}));
  command.add_option("--stock", o.stock,
                     "Material in mm the wire's surface leaves on the model (default: the "
                     "standard margin, a wire diameter and 0.5 mm from its centre)");
  command.add_flag("--no-platform", o.noPlatform,
                   "Answer Cancel to \"Move to platform ?\" (leave the model in place)");
  command.add_option("--nc-format", o.ncFormat,
                     "NC format file to read instead of NC.ini in the current directory");
  command.add_option("--machine", o.machine,
                     "Machine profile the program is written and run for: plain (default: "
                     "the program as it always was), grbl, fluidnc, linuxcnc, mach3, or a "
                     "profile file");
}

ToolPathSetUp ReadSetUp(const NcSetUpOptions& o) {
  ToolPathSetUp setUp;
  setUp.Resolution = ParseOption("--resolution", o.resolution);
  setUp.WireDia = ParseOption("--wire", o.wire);
  setUp.Margin.Shape = o.margin == "round" ? MarginShape::Round : MarginShape::Square;
  if (o.stock) setUp.Margin.Stock = ParseOption("--stock", *o.stock);
  return setUp;
}

float ReadTolerance(const NcSetUpOptions& o) {
  const float tolerance = ParseOption("--tolerance", o.tolerance);
  ThrowIfFailed(CheckPathTolerance(tolerance));
  return tolerance;
}

NcFormat ReadNcFormat(const NcSetUpOptions& o) {
  if (!o.ncFormat) return LoadNcFormat(kNcIniName);
  std::error_code error;  // a name the system cannot even look up is a file it cannot read
  if (!std::filesystem::is_regular_file(*o.ncFormat, error)) {
    throw JobError("Cannot read the NC format file \"" + *o.ncFormat + "\".");
  }
  return LoadNcFormat(*o.ncFormat);
}

MachineProfile ReadMachine(const NcSetUpOptions& o) {
  MachineProfile machine;
  ThrowIfFailed(LoadMachineProfile(o.machine, machine));
  return machine;
}

std::pair<std::string, const char*> NcFormatInput(const NcSetUpOptions& o) {
  return {o.ncFormat.value_or(kNcIniName), "NC format"};
}

std::pair<std::string, const char*> MachineInput(const NcSetUpOptions& o) {
  return {BuiltInMachine(o.machine) ? std::string() : o.machine, "machine profile"};
}

void ThrowIfFailed(const Status& status) {
  if (!status) throw JobError(status.message());
}

void AddNcCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("nc", "Cut a model into sections and write the NC program");
  auto o = std::make_shared<NcOptions>();
  command->add_option("MODEL", o->model, "STL file")->required();
  command->add_option("-o,--output", o->output, "NC program to write")->required();
  command->add_option("--from", o->from, "First section angle in degrees (default 0.00)");
  command->add_option("--to", o->to, "Last section angle in degrees (default 0.00)");
  command->add_option("--step", o->step, "Degrees between sections (default 5.00)");
  command->add_option("--start-height", o->startHeight, "Start height in mm (default 0)");
  command->add_option("--begin-range", o->beginRange,
                      "Left end of the cutting range in mm (default: the raster's)");
  command->add_option("--end-range", o->endRange,
                      "Right end of the cutting range in mm (default: the raster's)");
  auto* adaptive = command->add_option(
      "--adaptive", o->adaptive,
      "Cut only the sections needed to leave what all candidate angles (--from, --to, "
      "--step) leave, within this many mm");
  auto* sections = command->add_option(
      "--sections", o->sections, "Cut this many of the candidate angles: those leaving the least");
  adaptive->excludes(sections);
  command->add_option("--curve", o->curve,
                      "Write material left and cutting time against the number of sections "
                      "chosen to this CSV file")
      ->check([o](const std::string&) {
        return o->adaptive || o->sections ? "" : "--curve needs --adaptive or --sections";
      });
  command->add_option("--resume-section", o->resumeSection,
                      "Write the program that starts again at this section (from 1), as "
                      "its marker names it, after a wire break");
  AddSetUpOptions(*command, o->setUp);
  command->callback([o, &context] { RunNc(*o, context); });
}

}  // namespace vantora
