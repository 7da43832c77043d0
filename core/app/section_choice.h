#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/session.h"
#include "core/app/tool_path_commands.h"
#include "core/common/host.h"
#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/model/facet_table.h"
#include "core/plan/angle_choice.h"
#include "core/plan/candidate_strips.h"

namespace vantora {

// Sections chosen by what they cut instead of every Step: the fewest whose carving lies
// within Deviation mm of what every candidate's leaves, or the Sections that leave the
// least. Both 0 is the uniform sweep.
struct SectionRequest {
  float Deviation = 0;
  int Sections = 0;
  bool Uniform() const { return Deviation == 0 && Sections == 0; }
};

struct ChosenSections {
  std::vector<float> Angles;       // ascending: the sweep's sections
  int CandidateCount = 0;          // the candidate angles they were chosen from
  CandidateSections Candidates;    // the distinct ones
  AngleChoice Choice;              // of Candidates.Strips
};

// Chooses the sections of `request` among the uniform sweep's angles, measured on the
// set-up's raster as the model stands (the sweep's refusals, a deviation below 0 or
// not finite, more than 7200 candidates). Changes only the store's raster, which it leaves clear.
Status ChooseSections(TDataModule1& store, const Session& session, const FacetTable& table,
                      Host& host, const SweepAngles& candidates, const SectionRequest& request,
                      ChosenSections& chosen);

// The sweep `request` asks for among the candidate angles: all of them when uniform
// (RunToolPath), otherwise the sections chosen (kept in `chosen`) and swept as
// RunToolPathAt sweeps them.
Status RunRequestedToolPath(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                            const SweepAngles& candidates, const SectionRequest& request,
                            NcLineSink& program, const RunOptions& options,
                            std::optional<ChosenSections>& chosen);

// One line on what the choice gives: the sections chosen, their deviation and the
// cutting time of the program swept from them (`minutes`) against about that of every
// candidate (scaled by their outlines' lengths).
std::string ChoiceSummary(const ChosenSections& chosen, double minutes);
// Material left (mm³) and cutting time (min, scaled as in the summary) against the
// number of sections, in the order chosen, as CSV with a header line.
std::string ChoiceCurveCsv(const ChosenSections& chosen, double minutes);
// The cutting time (min) of the first k of the order, for every k, scaled so that the
// chosen ones take `minutes`.
std::vector<double> ChoiceMinutes(const ChosenSections& chosen, double minutes);

}  // namespace vantora
