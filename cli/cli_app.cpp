#include "cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "app/session.h"
#include "cli_host.h"
#include "mesh/number_text.h"
#include "mesh/stl_writer.h"
#include "model/data_module.h"
#include "model/stl_import.h"
#include "view3d/facet_table.h"

namespace vantora {
namespace {

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

float ParseOption(const std::string& option, const std::string& text) {
  const auto value = ParseFloatText(text);
  if (!value) throw UsageError(option + ": " + NotAFloatMessage(text));
  return *value;
}

// What the application holds for one model: the store, the session and the facet
// table of the model's view.
struct Workspace {
  TDataModule1 store;
  Session session;
  FacetTable table;
};

// Opens the model the way the application's open-file flow does.
void ImportModel(Workspace& w, const std::string& path, bool placeOnPlatform, CliHost& host) {
  if (Status s = ReadStlModel(path, w.store, w.session, w.table, host); !s) {
    throw JobError(s.message());
  }
  host.okCancelAnswer = placeOnPlatform;
  PlaceStlModel(w.store, w.table, host);
}

struct InfoOptions {
  std::string model;
};

void RunInfo(const InfoOptions& o, std::ostream& out, CliHost& host) {
  auto w = std::make_unique<Workspace>();
  if (Status s = ReadStlModel(o.model, w->store, w->session, w->table, host); !s) {
    throw JobError(s.message());
  }
  const TDataModule1& s = w->store;
  out << "FacetCount " << w->table.FacetCount << '\n'
      << "MaxX " << GeneralNumberText(s.MaxX) << '\n'
      << "MinX " << GeneralNumberText(s.MinX) << '\n'
      << "MaxY " << GeneralNumberText(s.MaxY) << '\n'
      << "MinY " << GeneralNumberText(s.MinY) << '\n'
      << "MaxZ " << GeneralNumberText(s.MaxZ) << '\n'
      << "MinZ " << GeneralNumberText(s.MinZ) << '\n';
}

struct StlOptions {
  std::string model;
  std::string output;
  bool text = false;
  std::vector<std::string> rates;
  bool noPlatform = false;
};

void RunStl(const StlOptions& o, std::ostream& out, CliHost& host) {
  StlScaling scaling;
  if (!o.rates.empty()) {
    scaling.XRate = ParseOption("--rates", o.rates[0]);
    scaling.YRate = ParseOption("--rates", o.rates[1]);
    scaling.ZRate = ParseOption("--rates", o.rates[2]);
  }
  auto w = std::make_unique<Workspace>();
  ImportModel(*w, o.model, !o.noPlatform, host);
  scaling.OutputScale = w->store.OutputScale;
  const StlForm form = o.text ? StlForm::Text : StlForm::Binary;
  if (Status s = SaveStl(o.output, form, w->table, scaling, host); !s) {
    throw JobError(s.message());
  }
  out << "Wrote " << o.output << " (" << (o.text ? "text" : "binary") << " STL, "
      << w->table.FacetCount << " facets)\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
  CLI::App app{"Vantora batch tool: reads models and writes STL files and NC programs."};
  app.name("vantora-cli");
  app.require_subcommand(1);

  InfoOptions info;
  auto* infoCmd = app.add_subcommand("info", "Print the facet count and the bounds of a model");
  infoCmd->add_option("MODEL", info.model, "STL file")->required();

  StlOptions stl;
  auto* stlCmd = app.add_subcommand("stl", "Import a model and write it as STL");
  stlCmd->add_option("MODEL", stl.model, "STL file")->required();
  stlCmd->add_option("-o,--output", stl.output, "STL file to write")->required();
  stlCmd->add_flag("--text", stl.text, "Write text STL instead of binary");
  stlCmd->add_option("--rates", stl.rates, "Scale rates for X, Y and Z")->expected(3);
  stlCmd->add_flag("--no-platform", stl.noPlatform,
                   "Answer Cancel to \"Move to platform ?\" (leave the model in place)");

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kExitOk : kExitUsage;
  }

  CliHost host(err, errIsTerminal);
  try {
    if (*infoCmd) RunInfo(info, out, host);
    if (*stlCmd) RunStl(stl, out, host);
  } catch (const UsageError& e) {
    err << "vantora-cli: " << e.what() << '\n';
    return kExitUsage;
  } catch (const JobError& e) {
    err << "vantora-cli: " << e.what() << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace vantora
