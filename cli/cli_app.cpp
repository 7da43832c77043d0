#include "cli_app.h"

#include "cli_command.h"
#include "core/common/unexpected_error.h"

namespace vantora {
namespace {

int ParseAndRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool errIsTerminal) {
  CLI::App app{"Vantora batch tool: reads models and writes STL files and NC programs."};
  app.name("vantora-cli");
  app.require_subcommand(1);
  CliHost host(err, errIsTerminal);
  CliContext context{out, host};
  AddInfoCommand(app, context);
  AddStlCommand(app, context);
  AddNcCommand(app, context);
  AddCheckCommand(app, context);

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
  } catch (const UsageError& e) {
    err << "vantora-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const JobError& e) {
    err << "vantora-cli: " << e.what() << '\n';
    return kExitFailure;
  }
  return context.status;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
  return GuardCommand(err, [&] { return ParseAndRun(args, out, err, errIsTerminal); });
}

int GuardCommand(std::ostream& err, const std::function<int()>& command) {
  try {
    return command();
  } catch (const std::exception& e) {
    err << "vantora-cli: " << UnexpectedErrorMessage(e) << '\n';
    return kExitFailure;
  }
}

}  // namespace vantora
