// The commands that read a model and write it back: info and stl.
#include "cli_command.h"
#include "mesh/number_text.h"
#include "mesh/stl_writer.h"
#include "model/stl_import.h"

namespace vantora {

float ParseOption(const std::string& option, const std::string& text) {
  const auto value = ParseFloatText(text);
  if (!value) throw UsageError(option + ": " + NotAFloatMessage(text));
  return *value;
}

std::unique_ptr<Workspace> ImportModel(const std::string& path, bool placeOnPlatform,
                                       CliHost& host) {
  auto w = std::make_unique<Workspace>();
  if (Status s = ReadStlModel(path, w->store, w->session, w->table, host); !s) {
    throw JobError(s.message());
  }
  host.okCancelAnswer = placeOnPlatform;
  PlaceStlModel(w->store, w->table, host);
  return w;
}

void AddInfoCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("info", "Print the facet count and the bounds of a model");
  auto model = std::make_shared<std::string>();
  command->add_option("MODEL", *model, "STL file")->required();
  command->callback([model, &context] {
    auto w = std::make_unique<Workspace>();
    if (Status s = ReadStlModel(*model, w->store, w->session, w->table, context.host); !s) {
      throw JobError(s.message());
    }
    const TDataModule1& s = w->store;
    context.out << "FacetCount " << w->table.FacetCount << '\n'
                << "MaxX " << GeneralNumberText(s.MaxX) << '\n'
                << "MinX " << GeneralNumberText(s.MinX) << '\n'
                << "MaxY " << GeneralNumberText(s.MaxY) << '\n'
                << "MinY " << GeneralNumberText(s.MinY) << '\n'
                << "MaxZ " << GeneralNumberText(s.MaxZ) << '\n'
                << "MinZ " << GeneralNumberText(s.MinZ) << '\n';
  });
}

namespace {

struct StlOptions {
  std::string model;
  std::string output;
  bool text = false;
  std::vector<std::string> rates;
  bool noPlatform = false;
};

void RunStl(const StlOptions& o, CliContext& context) {
  StlScaling scaling;
  if (!o.rates.empty()) {
    scaling.XRate = ParseOption("--rates", o.rates[0]);
    scaling.YRate = ParseOption("--rates", o.rates[1]);
    scaling.ZRate = ParseOption("--rates", o.rates[2]);
  }
  const auto w = ImportModel(o.model, !o.noPlatform, context.host);
  scaling.OutputScale = w->store.OutputScale;
  const StlForm form = o.text ? StlForm::Text : StlForm::Binary;
  if (Status s = SaveStl(o.output, form, w->table, scaling, context.host); !s) {
    throw JobError(s.message());
  }
  context.out << "Wrote " << o.output << " (" << (o.text ? "text" : "binary") << " STL, "
              << w->table.FacetCount << " facets)\n";
}

}  // namespace

void AddStlCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("stl", "Import a model and write it as STL");
  auto o = std::make_shared<StlOptions>();
  command->add_option("MODEL", o->model, "STL file")->required();
  command->add_option("-o,--output", o->output, "STL file to write")->required();
  command->add_flag("--text", o->text, "Write text STL instead of binary");
  command->add_option("--rates", o->rates, "Scale rates for X, Y and Z")->expected(3);
  command->add_flag("--no-platform", o->noPlatform,
                    "Answer Cancel to \"Move to platform ?\" (leave the model in place)");
  command->callback([o, &context] { RunStl(*o, context); });
}

}  // namespace vantora
