#include "core/app/section_choice.h"

#include <algorithm>
#include <cmath>

#include "core/common/number_text.h"
#include "core/toolpath/section_outline.h"

namespace vantora {
namespace {

// Candidates every 0.05 degrees over a full turn at most: each is measured as a sweep's
// section is, and finer steps only repeat the same strips.
constexpr std::size_t kMaxCandidates = 7200;
// Sections chosen by count leave the least material as the program will cut it, so
// below this many facets, where filling every candidate is quick, each is filled cell
// for cell as the sweep will fill it. Otherwise, and for a deviation, candidates are
// drawn from their outlines: the fill's edges run ragged by up to a cell (more on
// facets larger than one), and a choice within a deviation would chase those
// notches with sections that remove next to nothing.
constexpr int kFacetsFilledForCount = 20'000;

FillScope CandidateScope(const SectionRequest& request, const FacetTable& table) {
  return request.Sections > 0 && table.FacetCount < kFacetsFilledForCount ? FillScope::Facets
                                                                          : FillScope::Outline;
}

Status CheckRequest(const SectionRequest& request) {
  if (!(request.Deviation >= 0) || !std::isfinite(request.Deviation)) {
    return Status::Refused("The deviation allowed must be 0 or more; it is " +
                           ShortestFloatText(request.Deviation) + ".");
  }
  if (request.Sections < 0) {
    return Status::Refused("The number of sections must be 1 or more; it is " +
                           std::to_string(request.Sections) + ".");
  }
  return Status::Ok();
}

double ChosenLength(const ChosenSections& chosen, int count) {
  double length = 0;
  for (int k = 0; k < count; ++k) {
    const int c = chosen.Choice.Order[std::size_t(k)];
    length += chosen.Candidates.Strips.Candidates[std::size_t(c)].PathLength;
  }
  return length;
}

}  // namespace

Status ChooseSections(TDataModule1& store, const Session& session, const FacetTable& table,
                      Host& host, const SweepAngles& candidates, const SectionRequest& request,
                      ChosenSections& chosen) {
  if (store.ToolPathReady == 0) return Status::Refused(kToolPathNotFound);
  if (Status s = CheckRequest(request); !s) return s;
  std::vector<float> angles;
  if (Status s = UniformAngles(candidates, angles); !s) return s;
  if (angles.size() > kMaxCandidates) {
    return Status::Refused("Sections are chosen from at most " + std::to_string(kMaxCandidates) +
                           " candidate angles; these are " + std::to_string(angles.size()) +
                           ": choose a larger step.");
  }
  chosen = {};
  chosen.CandidateCount = int(angles.size());
  ClearRaster(store);  // the set-up's section is still in it
  if (Status s = MeasureCandidates(store, table, host, session.ModelTurnAngle, angles,
                                   CandidateScope(request, table), chosen.Candidates);
      !s) {
    return s;
  }
  const StripSet& strips = chosen.Candidates.Strips;
  chosen.Choice = request.Sections > 0 ? ChooseCount(strips, request.Sections)
                                       : ChooseWithin(strips, request.Deviation);
  for (int k = 0; k < chosen.Choice.Count; ++k) {
    const int c = chosen.Choice.Order[std::size_t(k)];
    chosen.Angles.push_back(chosen.Candidates.Angles[std::size_t(c)]);
  }
  std::sort(chosen.Angles.begin(), chosen.Angles.end());
  return Status::Ok();
}

Status RunRequestedToolPath(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                            const SweepAngles& candidates, const SectionRequest& request,
                            NcLineSink& program, const RunOptions& options,
                            std::optional<ChosenSections>& chosen) {
  chosen.reset();
  if (request.Uniform()) {
    return RunToolPath(store, session, table, host, candidates, program, options);
  }
  chosen.emplace();
  if (Status s = ChooseSections(store, session, table, host, candidates, request, *chosen); !s) {
    return s;
  }
  return RunToolPathAt(store, session, table, host, chosen->Angles, program, options);
}

std::vector<double> ChoiceMinutes(const ChosenSections& chosen, double minutes) {
  const double perMm = minutes / std::max(ChosenLength(chosen, chosen.Choice.Count), 1e-9);
  std::vector<double> along;
  double length = 0;
  for (int c : chosen.Choice.Order) {
    length += chosen.Candidates.Strips.Candidates[std::size_t(c)].PathLength;
    along.push_back(length * perMm);
  }
  return along;
}

std::string ChoiceSummary(const ChosenSections& chosen, double minutes) {
  const double all = minutes * chosen.Candidates.AllPathLength /
                     std::max(ChosenLength(chosen, chosen.Choice.Count), 1e-9);
  return "Chose " + std::to_string(chosen.Choice.Count) + " of " +
         std::to_string(chosen.CandidateCount) + " sections, within " +
         FixedText(chosen.Choice.Deviation) + " mm of what all of them leave: cutting " +
         FixedText(minutes, 1) + " min instead of about " + FixedText(all, 1) + " min (" +
         FixedText(all - minutes, 1) + " min saved).";
}

std::string ChoiceCurveCsv(const ChosenSections& chosen, double minutes) {
  const std::vector<double> along = ChoiceMinutes(chosen, minutes);
  std::string csv = "sections,material_left_mm3,cutting_minutes,chosen\n";
  for (std::size_t k = 0; k < along.size(); ++k) {
    csv += std::to_string(k + 1) + "," + FixedText(chosen.Choice.Left[k], 1) + "," +
           FixedText(along[k], 2) + "," + (int(k) + 1 == chosen.Choice.Count ? "1" : "0") + "\n";
  }
  return csv;
}

}  // namespace vantora
