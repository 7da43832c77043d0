// The command that replays an NC program against the model it was made for: check.
#include "core/check/program_check.h"
#include "cli_app.h"
#include "cli_command.h"
#include "core/common/mapped_file.h"
#include "core/nc/machine_profile.h"
#include "core/nc/nc_format.h"
#include "core/stl/stl_writer.h"
#include "core/app/tool_path_commands.h"

namespace vantora {
namespace {

struct CheckOptions {
  std::string model;
  std::string program;
  NcSetUpOptions setUp;
  bool json = false;
  std::string carved;  // where to write the carved result, if asked
  bool text = false;
};

// Saving the carved result over a file the check reads would lose that file: refused
// before anything is read.
void RefuseCarvedOverAnInput(const CheckOptions& o) {
  RefuseOutputOver("--carved", o.carved,
                   {{o.model, "model"},
                    {o.program, "program"},
                    NcFormatInput(o.setUp),
                    MachineInput(o.setUp)});
}

void RunCheck(const CheckOptions& o, CliContext& context) {
  if (!o.carved.empty()) RefuseCarvedOverAnInput(o);
  const ToolPathSetUp setUp = ReadSetUp(o.setUp);
  const float tolerance = ReadTolerance(o.setUp);
  const NcFormat format = ReadNcFormat(o.setUp);
  const MachineProfile machine = ReadMachine(o.setUp);
  MappedFile file;
  if (Status s = file.Open(o.program); !s) throw JobError(s.message());
  const auto w = ImportModel(o.model, !o.setUp.noPlatform, context.host);
  ThrowIfFailed(SetUpToolPath(w->store, w->session, w->table, context.host, setUp));
  w->store.PathTolerance = tolerance;
  ProgramReport report;
  CarvedResult carved;
  ThrowIfFailed(CheckNcProgram(w->table, w->store, 0, format, machine, file.text(), report,
                               o.carved.empty() ? nullptr : &carved));
  if (!o.carved.empty()) {
    const StlForm form = o.text ? StlForm::Text : StlForm::Binary;
    ThrowIfFailed(SaveStl(o.carved, form, *carved.Solid, StlScaling{}, context.host));
  }
  context.out << (o.json ? ReportJson(report) : ReportText(report));
  if (!report.Clean() || !report.WithinTravel()) context.status = kExitModelReached;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "check", "Replay an NC program against the model and report where the wire reaches into it");
  auto o = std::make_shared<CheckOptions>();
  command->add_option("MODEL", o->model, "STL file the program was made from")->required();
  command->add_option("PROGRAM", o->program, "NC program to check")->required();
  AddSetUpOptions(*command, o->setUp);
  command->add_flag("--json", o->json, "Print the report as JSON");
  command->add_option("--carved", o->carved,
                      "Write what the program leaves standing to this STL file and report how "
                      "far it lies from the model");
  command->add_flag("--text", o->text, "Write the carved result as text STL instead of binary")
      ->needs("--carved");
  command->callback([o, &context] { RunCheck(*o, context); });
}

}  // namespace vantora
