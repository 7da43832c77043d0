#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/host.h"
#include "core/app/session.h"
#include "core/check/carved_result.h"
#include "core/check/program_check.h"
#include "core/common/status.h"
#include "core/model/data_module.h"
#include "core/nc/nc_program.h"
#include "core/nc/nc_writer.h"
#include "core/toolpath/section_guard.h"
#include "core/toolpath/section_lanes.h"
#include "core/model/facet_table.h"

namespace vantora {

// The message of a sweep asked for before the tool path was set up.
inline constexpr const char* kToolPathNotFound = "Tool path not find";
// The message of a carved result asked for with no program from a sweep to carve.
inline constexpr const char* kNoSweptProgram = "No sweep has written a program to carve.";

// The numbers a tool-path set-up reads (ResuEdit, WrrediaEdit1, StockEdit and
// RoundMarginBox); the margin is the standard one unless given.
struct ToolPathSetUp {
  ToolPathSetUp(float resolution = 0.2f, float wireDia = 1.0f, WireMargin margin = {})
      : Resolution(resolution), WireDia(wireDia), Margin(margin) {}
  float Resolution;
  float WireDia;
  WireMargin Margin;
};

// The angles of a sweep (StartDegEdit, StepDegEdit, EndDegEdit).
struct SweepAngles {
  float Start = 0;
  float Step = 5.0f;
  float End = 0;
};

// Called for every section after its trace and before its NC lines, with the
// section's angle: the tool-path window draws the section then.
using SectionObserver = std::function<void(float angle)>;

// Setting up the tool path (PosNcButtonClick): the present orientation becomes angle
// 0, the raster is sized (RasterSetup, which may enlarge the resolution), the cutting
// range is preset to the raster's width and the model is rasterized as it stands.
// Refusals (PlanRaster's, with the model reaching as far as its facets) come before
// anything changes.
Status SetUpToolPath(TDataModule1& store, Session& session, const FacetTable& table,
                     Host& host, const ToolPathSetUp& setUp);

// Defining the start position (StartButtonClick): the start height and the cutting
// range the next sweeps use. Refuses, changing nothing, a value so far outside the
// raster that its cell is lost in rounding.
Status DefineStartPosition(TDataModule1& store, float startHeight, float beginRange,
                           float endRange);

// A smoothing tolerance (mm) a sweep can use: 0 or more, finite.
Status CheckPathTolerance(float tolerance);

// The number of sections from angles.Start to angles.End in steps of angles.Step, the
// angle growing by f32 additions. Refuses a step that is not greater than 0 or that is
// too small to advance the angle somewhere on the way, and a first angle after the
// last, which leaves no section.
Status CountSections(const SweepAngles& angles, int& sections);

// What a run may do besides writing the program: tell `onSection` of every section,
// check the run's program into `check`, fill in the lanes asked for.
struct RunOptions {
  SectionObserver onSection;
  ProgramReport* check = nullptr;
  LaneChoice lanes = LaneChoice::Auto;
};

// Computing and writing the NC program (PosWireButtonClick) up to its last line, for
// the session's machine profile: the program's first line and the profile's header,
// every section (SweepSections) and the profile's end ("M30\n" for the plain one) are
// written, and appended to `program` once the sweep has succeeded, its motion kept as
// the session's SweptMotion; a sweep that fails leaves `program` as it was, and the
// session without a swept motion. "Tool path not find" when the tool path was not set
// up; refusals (CheckPathTolerance of the store's PathTolerance, CountSections,
// CheckWritable) before anything changes. With a PathTolerance above 0 every section's
// path is smoothed (SmoothPath) within it, moves that would graze the model left as
// walked.
// The run's program is replayed against the model afterwards, with the facets' tree the
// sweep's guard built, into options.check when given. With a cutting range as wide as
// the preset one, a program that reaches into the model is refused, the refusal saying
// where and what to change; a range narrowed by hand writes it all the same.
Status RunToolPath(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                   const SweepAngles& angles, NcLineSink& program,
                   const RunOptions& options = {});
// The same over the section angles given (ascending), refused when there are none.
Status RunToolPathAt(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                     const std::vector<float>& sectionAngles, NcLineSink& program,
                   const RunOptions& options = {});

// The section angles of a uniform sweep (CountSections' refusals).
Status UniformAngles(const SweepAngles& angles, std::vector<float>& sectionAngles);

// Clearing the memo (StepButtonClick): the session's program goes, and with it the
// swept motion there is to carve.
void ClearNcProgram(Session& session);

// What the carved-result command shows: the solid a program leaves standing and its
// deviation, with the model it was carved on, both as the model stood at the tool-path
// set-up (the program's rotary position 0).
struct SweptCarving {
  std::unique_ptr<FacetTable> Model;
  CarvedResult Carved;
  CarvedColouring Colours;  // of the solid's corners and the model's facets
  double Feed = 0;          // the program's, mm/min
};

// Carves the program the last sweep wrote (the carved-result command) as the batch
// check carves it on the model set up afresh (CarveNcProgram at stand angle 0), from
// the facets of `table` turned back from where the sweeps left them. Refused with
// kNoSweptProgram when the session has no swept motion.
Status CarveSweptProgram(const TDataModule1& store, const Session& session,
                         const FacetTable& table, SweptCarving& carving);

// The sweep over `sectionAngles`, from a clear raster: for each angle the
// model is turned, rasterized and traced, options.onSection is told, the path is written
// forward and backward by turns, and the raster is cleared; progress is reported as
// section k of n. Refusals (as RunToolPath's) before anything changes; a sweep in
// which no section has a path at all fails once it has ended. `guard` keeps the
// sections and the moves between them off the model (built as the model stands now).
Status SweepSections(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                     const std::vector<float>& sectionAngles, NcWriter& writer, SectionGuard& guard,
                     const RunOptions& options = {});

}  // namespace vantora
