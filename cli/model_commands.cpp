// The commands that read a model and write it back: info and stl.
#include <filesystem>

#include "core/app/touch_point_settings.h"
#include "cli_command.h"
#include "core/common/number_text.h"
#include "core/stl/stl_writer.h"
#include "core/app/scan_import.h"
#include "core/app/stl_import.h"

namespace vantora {

namespace {

// The commands other than stl read STL models only: a scan file read as one would give
// facets made of its text.
void RefuseScanName(const std::string& path) {
  if (!IsScanFileName(path)) return;
  throw JobError("\"" + path + "\" is a scan file, which only stl reads: write it as STL " +
                 "with \"vantora-cli stl\" first.");
}

namespace fs = std::filesystem;

// A path made absolute, its links resolved as far as they exist, "." and ".." gone.
fs::path Normal(const fs::path& path) {
  std::error_code error;
  const fs::path normal = fs::weakly_canonical(path, error);
  return error ? fs::absolute(path, error).lexically_normal() : normal;
}

// Whether two names reach one file: the same file on disk when both exist, whatever
// the spelling or links, else the same name once normalised.
bool NameOneFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::exists(a, error) && fs::exists(b, error)) return fs::equivalent(a, b, error);
  return Normal(a) == Normal(b);
}

}  // namespace

void RefuseOutputOver(const std::string& option, const std::string& output,
                      std::initializer_list<std::pair<std::string, const char*>> inputs) {
  for (const auto& [path, what] : inputs) {
    if (NameOneFile(output, path)) {
      throw UsageError(option + " names the " + what + " file; choose another name so the " +
                       what + " is kept.");
    }
  }
}

float ParseOption(const std::string& option, const std::string& text) {
  const auto value = ParseFloatText(text);
  if (!value) throw UsageError(option + ": " + NotAFloatMessage(text));
  return *value;
}

std::unique_ptr<Workspace> ImportModel(const std::string& path, bool placeOnPlatform,
                                       CliHost& host) {
  RefuseScanName(path);
  auto w = std::make_unique<Workspace>();
  if (Status s = ReadStlModel(path, w->store, w->session, w->table, host); !s) {
    throw JobError(s.message());
  }
  host.okCancelAnswer = placeOnPlatform;
  PlaceStlModel(w->store, w->table, host);
  return w;
}

std::unique_ptr<Workspace> ImportScan(const std::string& path, float touchPointSize,
                                      CliHost& host) {
  auto w = std::make_unique<Workspace>();
  w->session.TouchPointSize = touchPointSize;
  const ScanReadResult read = ReadScanModel(path, w->store, w->session, host);
  if (!read.status) throw JobError(read.status.message());
  BuildScanFaces(w->store, w->session, w->table, host);
  if (read.repairedPoints > 0) host.ShowMessage(kScanRepairMessage, {});
  return w;
}

void AddInfoCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("info", "Print the facet count and the bounds of a model");
  auto model = std::make_shared<std::string>();
  command->add_option("MODEL", *model, "STL file")->required();
  command->callback([model, &context] {
    RefuseScanName(*model);
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
  bool scan = false;
  std::string touchPoint;
};

// The probe ball diameter of --touch-point or, as the application reads it at
// start-up, from ScanerTool.ini in the current directory.
float TouchPointSize(const StlOptions& o) {
  if (o.touchPoint.empty()) return ReadTouchPointSize(kTouchPointSettingsName);
  const float size = ParseOption("--touch-point", o.touchPoint);
  if (size < 0) throw UsageError("--touch-point: the ball diameter cannot be negative");
  return size;
}

void RunStl(const StlOptions& o, CliContext& context) {
  RefuseOutputOver("-o", o.output, {{o.model, "model"}});
  StlScaling scaling;
  if (!o.rates.empty()) {
    scaling.XRate = ParseOption("--rates", o.rates[0]);
    scaling.YRate = ParseOption("--rates", o.rates[1]);
    scaling.ZRate = ParseOption("--rates", o.rates[2]);
  }
  const bool scan = o.scan || IsScanFileName(o.model);
  if (scan && o.noPlatform) throw UsageError("--no-platform: a scan is not placed on the platform");
  if (!scan && !o.touchPoint.empty()) throw UsageError("--touch-point applies to scan files");
  const auto w = scan ? ImportScan(o.model, TouchPointSize(o), context.host)
                      : ImportModel(o.model, !o.noPlatform, context.host);
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
  command->add_option("MODEL", o->model, "STL file, or scan file (*.sca)")->required();
  command->add_option("-o,--output", o->output, "STL file to write")->required();
  command->add_flag("--text", o->text, "Write text STL instead of binary");
  command->add_option("--rates", o->rates, "Scale rates for X, Y and Z")->expected(3);
  command->add_flag("--no-platform", o->noPlatform,
                    "Answer Cancel to \"Move to platform ?\" (leave the model in place)");
  command->add_flag("--scan", o->scan, "Read MODEL as a scan file whatever its name");
  command->add_option("--touch-point", o->touchPoint,
                      "Probe ball diameter in mm for a scan (default: ScanerTool.ini, else 0.5)");
  command->callback([o, &context] { RunStl(*o, context); });
}

}  // namespace vantora
