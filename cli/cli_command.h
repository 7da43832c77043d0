#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <initializer_list>

#include "core/app/session.h"
#include "cli_host.h"
#include "core/model/data_module.h"
#include "core/app/tool_path_commands.h"
#include "core/model/facet_table.h"

namespace vantora {

// A command line that names something impossible: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A job that could not be done: exit status 1.
class JobError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What every command gets: where to print and the host that answers for the operator.
struct CliContext {
  std::ostream& out;
  CliHost& host;
  int status = 0;  // the exit status of a command that ran to its end
};

// Reads an option value as the application reads a number field; a usage error names
// the option when the text is not wholly a number.
float ParseOption(const std::string& option, const std::string& text);

// The options that define a tool-path set-up, as typed; the defaults are those of the
// application's fields.
struct NcSetUpOptions {
  std::string resolution = "0.2";
  std::string wire = "1.00";
  std::string tolerance = "0.00";
  std::string margin = "square";
  std::optional<std::string> stock;  // none: the standard margin
  bool noPlatform = false;
  std::optional<std::string> ncFormat;
  std::string machine = "plain";  // a built-in profile's name or a profile file
};
void AddSetUpOptions(CLI::App& command, NcSetUpOptions& options);
ToolPathSetUp ReadSetUp(const NcSetUpOptions& options);
// --tolerance, refused (a job error) when no sweep can use it.
float ReadTolerance(const NcSetUpOptions& options);
// The format file named by --nc-format, else NC.ini in the current directory.
NcFormat ReadNcFormat(const NcSetUpOptions& options);
// The profile --machine names; one that cannot be loaded is a job error.
MachineProfile ReadMachine(const NcSetUpOptions& options);
// The files a set-up reads besides the model, for RefuseOutputOver: the NC format and,
// unless --machine names a built-in profile, the profile file.
std::pair<std::string, const char*> NcFormatInput(const NcSetUpOptions& options);
std::pair<std::string, const char*> MachineInput(const NcSetUpOptions& options);

// Refuses (a usage error) an output that names one of the `inputs` (a path and what it
// holds): writing it would lose that file. The same file on disk when both exist,
// whatever the spelling or links, else the same name once normalised.
void RefuseOutputOver(const std::string& option, const std::string& output,
                      std::initializer_list<std::pair<std::string, const char*>> inputs);

// A failed status becomes a JobError with its message.
void ThrowIfFailed(const Status& status);

// What the application holds for one model: the store, the session and the facet
// table of the model's view.
struct Workspace {
  TDataModule1 store;
  Session session;
  FacetTable table;
};

// Opens MODEL the way the application's open-file flow does, placing it on the
// platform unless `placeOnPlatform` is false (Cancel to "Move to platform ?"); a name
// ending in .sca is refused: a scan read as STL would give facets made of its text.
std::unique_ptr<Workspace> ImportModel(const std::string& path, bool placeOnPlatform,
                                       CliHost& host);

// Opens a scan file as the first scan of a run, measured with a probe ball of
// `touchPointSize` mm, and builds its faces; "Some data error" goes to the host when
// lines had to be repaired.
std::unique_ptr<Workspace> ImportScan(const std::string& path, float touchPointSize,
                                      CliHost& host);

// Each command registers its options and the callback that runs it.
void AddInfoCommand(CLI::App& app, CliContext& context);
void AddStlCommand(CLI::App& app, CliContext& context);
void AddNcCommand(CLI::App& app, CliContext& context);
void AddCheckCommand(CLI::App& app, CliContext& context);

}  // namespace vantora
