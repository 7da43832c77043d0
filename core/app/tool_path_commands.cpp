#include "core/app/tool_path_commands.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/toolpath/outline_walk.h"
#include "core/toolpath/path_smoothing.h"
#include "core/toolpath/raster_setup.h"
#include "core/toolpath/section_guard.h"
#include "core/toolpath/section_fill.h"
#include "core/toolpath/section_lanes.h"
#include "core/toolpath/section_outline.h"

namespace vantora {
namespace {

// Start height and range are turned into raster cells; up to 2^24 cells away from the
// raster that stays exact in int.
constexpr double kMaxOffsetCells = 1 << 24;

// What both the run and the sweep refuse before they change anything.
Status CheckSweep(const TDataModule1& store) {
  if (store.ToolPathReady == 0) return Status::Refused(kToolPathNotFound);
  return CheckPathTolerance(store.PathTolerance);
}

Status CheckSweep(const TDataModule1& store, const std::vector<float>& sectionAngles) {
  if (Status s = CheckSweep(store); !s) return s;
  if (sectionAngles.empty()) return Status::Refused("There is no section to cut.");
  return Status::Ok();
}

// Grows and outlines the filled raster and walks it into the store's ToolPath; a walk
// that ends in a dead end comes down outside the model to where a walk ends.
void TraceSection(TDataModule1& store, Host& host, const SectionGuard& guard, float a,
                  int extraMarginCells) {
  store.ToolPath.clear();
  MarkOutline(store, host, extraMarginCells);
  OutlineWalk walk(store, host);
  walk.TraceOutline();
  if (!walk.EndedInDeadEnd()) return;
  const int endRow = OutlineWalk::WindowOf(store).MinJ - 1;  // where a walk comes down to
  guard.ComeDown(a, store.ToolPath, OutlineWalk::PointOf(store, 0, endRow).Y);
}

bool Completes(const std::vector<PathPoint>& path) {
  return !path.empty() && path.back().Y <= path.front().Y;
}

// Section k at angle a as the raster gives it. Where its path reaches into the model,
// it is filled again with its narrow facets whole, then with a margin wider by one
// cell at a time; the first of these whose walk keeps off the model and comes back down
// to the start height is taken, else the section as the raster gave it.
void TraceGuardedSection(TDataModule1& store, Host& host, SectionLanes& lanes,
                         const SectionGuard& guard, int k, float a) {
  lanes.Fill(k);
  TraceSection(store, host, guard, a, 0);
  if (!guard.Reaches(a, store.ToolPath)) return;
  for (int extra = 0; extra <= kMaxExtraMarginCells; ++extra) {
    ClearRaster(store);
    lanes.Refill(k, FillCoverage::NarrowWhole);
    TraceSection(store, host, guard, a, extra);
    if (Completes(store.ToolPath) && !guard.Reaches(a, store.ToolPath)) return;
  }
  ClearRaster(store);
  lanes.Refill(k, FillCoverage::Sampled);
  TraceSection(store, host, guard, a, 0);
}

// With the preset range a program never cuts into the part: one the check finds
// reaching in is refused, saying where and what to change. A range narrowed by hand is
// the operator's own choice, and its program is written with the check's report.
Status CheckPromiseKept(const TDataModule1& store, const ProgramReport& report) {
  // As wide as the preset (or wider), in cells: a range typed back as the fields show it
  // is still the preset one.
  const TraceWindow window = OutlineWalk::WindowOf(store);
  const bool presetRange = window.MinI <= 1 && window.MaxI >= store.RasterMaxI - 1;
  if (report.Clean() || !presetRange) return Status::Ok();
  return Status::Refused(
      "No program was written: " + ReportSummary(report) + " Sections at " +
      ReachingSectionsText(report) +
      ". At resolution " + ShortestFloatText(store.Resolution) + " with a " +
      ShortestFloatText(store.WireDia) +
      " mm wire the section raster cannot keep the wire off the part there, or the start "
      "height lies inside it: set the tool path up with a finer resolution or a lower start "
      "height, or narrow Begin Range and End Range by hand to write the program anyway.");
}

Status CheckNearRaster(const char* what, float value, float resolution) {
  if (std::abs(double(value)) / resolution < kMaxOffsetCells) return Status::Ok();
  return Status::Refused(std::string(what) + " " + ShortestFloatText(value) +
                " lies too far outside the section raster.");
}

// Where the facets reach in Z: after Cancel to "Move to platform ?" the store's MinZ
// says 0 wherever they lie.
HeightSpan HeightsOf(const FacetTable& table) {
  HeightSpan span{HUGE_VAL, -HUGE_VAL};
  for (int k = 0; k < table.FacetCount; ++k) {
    const Facet& f = table.Facets[std::size_t(k)];
    for (const Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      span.Lowest = std::min(span.Lowest, double((*v)[2]));
      span.Highest = std::max(span.Highest, double((*v)[2]));
    }
  }
  return span;
}

// A copy of `table` turned by `degrees` about the z axis, as a sweep turns the model.
// A sweep turns the corners only, so the normals are copied as they are: they still
// stand as at the set-up.
std::unique_ptr<FacetTable> TurnedAboutZ(const FacetTable& table, float degrees) {
  auto turned = std::make_unique<FacetTable>(std::max(table.FacetCount, 1));
  turned->UseFileNormals = table.UseFileNormals;
  turned->FacetCount = table.FacetCount;
  const double r = degrees * kTableDegreesToRadians, c = std::cos(r), s = std::sin(r);
  for (int k = 0; k < table.FacetCount; ++k) {
    Facet f = table.Facets[std::size_t(k)];
    for (Vec3* v : {&f.V1, &f.V2, &f.V3}) {
      const double x = (*v)[0], y = (*v)[1];
      (*v)[0] = float(c * x - s * y);
      (*v)[1] = float(s * x + c * y);
    }
    turned->Facets[std::size_t(k)] = f;
  }
  return turned;
}

}  // namespace

Status SetUpToolPath(TDataModule1& store, Session& session, const FacetTable& table,
                     Host& host, const ToolPathSetUp& setUp) {
  RasterGeometry geometry;
  if (Status s = PlanRaster(store, HeightsOf(table), setUp.Resolution, setUp.WireDia,
                            setUp.Margin, geometry);
      !s) {
    return s;
  }
  session.ModelTurnAngle = 0;
  session.SweptMotion.reset();  // made on the raster being replaced
  store.Resolution = setUp.Resolution;
  store.WireDia = setUp.WireDia;
  store.Margin = setUp.Margin;
  if (Status s = RasterSetup(store, host); !s) return s;
  store.BeginRange = -RasterReach(store);
  store.EndRange = RasterReach(store);
  RasterizeSection(store, table, host);
  store.ToolPathReady = 1;
  return Status::Ok();
}

Status DefineStartPosition(TDataModule1& store, float startHeight, float beginRange,
                           float endRange) {
  for (Status s : {CheckNearRaster("Start height", startHeight, store.Resolution),
                   CheckNearRaster("Begin Range", beginRange, store.Resolution),
                   CheckNearRaster("End Range", endRange, store.Resolution)}) {
    if (!s) return s;
  }
  store.StartHeight = startHeight;
  store.BeginRange = beginRange;
  store.EndRange = endRange;
  return Status::Ok();
}

Status CheckPathTolerance(float tolerance) {
  if (tolerance >= 0 && std::isfinite(tolerance)) return Status::Ok();
  return Status::Refused("The smoothing tolerance must be 0 or more; it is " +
                ShortestFloatText(tolerance) + ".");
}

Status CountSections(const SweepAngles& angles, int& sections) {
  if (!(angles.Step > 0)) {
    return Status::Refused("The section step must be greater than 0; it is " +
                  ShortestFloatText(angles.Step) + ".");
  }
  // A program without sections would cut nothing.
  if (!(angles.Start <= angles.End)) {
    return Status::Refused("The first section angle " + ShortestFloatText(angles.Start) +
                  " lies after the last " + ShortestFloatText(angles.End) +
                  ": there is no section to cut.");
  }
  long count = 0;
  for (float a = angles.Start; a <= angles.End; ++count) {
    const float next = a + angles.Step;
    if (!(next > a)) {
      return Status::Refused("The section step " + ShortestFloatText(angles.Step) +
                    " is too small to advance the angle from " + ShortestFloatText(a) + ".");
    }
    if (count == INT_MAX) return Status::Refused("The sweep would have more sections than can be counted.");
    a = next;
  }
  sections = int(count);
  return Status::Ok();
}

Status UniformAngles(const SweepAngles& angles, std::vector<float>& sectionAngles) {
  int sections = 0;
  if (Status s = CountSections(angles, sections); !s) return s;
  sectionAngles.clear();
  sectionAngles.reserve(std::size_t(sections));
  for (float a = angles.Start; a <= angles.End; a += angles.Step) sectionAngles.push_back(a);
  return Status::Ok();
}

Status RunToolPath(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                   const SweepAngles& angles, NcLineSink& program,
                   const RunOptions& options) {
  std::vector<float> sectionAngles;
  if (Status s = CheckSweep(store); !s) return s;
  if (Status s = UniformAngles(angles, sectionAngles); !s) return s;
  return RunToolPathAt(store, session, table, host, sectionAngles, program, options);
}

Status RunToolPathAt(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                     const std::vector<float>& sectionAngles, NcLineSink& program,
                   const RunOptions& options) {
  if (Status s = CheckSweep(store, sectionAngles); !s) return s;
  if (Status s = CheckWritable(session.Format, session.Machine); !s) return s;
  session.SweptMotion.reset();
  // Written aside, so that a sweep that fails leaves `program` as it was.
  NcProgram run;
  NcWriter writer(session.Format, session.Machine, run);
  writer.StartProgram(sectionAngles.front());
  SectionGuard guard(table, store, session.ModelTurnAngle, session.Machine);
  if (Status s = SweepSections(store, session, table, host, sectionAngles, writer, guard, options);
      !s) {
    return s;
  }
  writer.EndProgram();
  NcMotionList motion;
  if (Status s = ReadNcMotion(run, session.Format, session.Machine, motion); !s) return s;
  ProgramReport report = guard.Check(motion);
  if (Status s = CheckPromiseKept(store, report); !s) return s;
  if (options.check != nullptr) *options.check = std::move(report);
  AppendProgram(run, program);
  session.SweptMotion = std::move(motion);
  return Status::Ok();
}

void ClearNcProgram(Session& session) {
  session.Program.Clear();
  session.SweptMotion.reset();
}

Status CarveSweptProgram(const TDataModule1& store, const Session& session,
                         const FacetTable& table, SweptCarving& carving) {
  if (!session.SweptMotion) return Status::Refused(kNoSweptProgram);
  // The stock is square to the frame the model stands in: carved at the set-up's
  // orientation, a program gives the same solid here as from its file.
  std::unique_ptr<FacetTable> model = TurnedAboutZ(table, -session.ModelTurnAngle);
  const SilhouetteTree tree(*model);
  if (Status s = CarveNcProgram(*model, tree, store, 0, *session.SweptMotion, carving.Carved);
      !s) {
    return s;
  }
  // Colours a tenth of a millimetre apart cannot be told apart.
  carving.Colours = ColourCarved(carving.Carved, *model, tree, 0.05);
  carving.Model = std::move(model);
  carving.Feed = session.SweptMotion->Feed;
  return Status::Ok();
}

Status SweepSections(TDataModule1& store, Session& session, FacetTable& table, Host& host,
                     const std::vector<float>& sectionAngles, NcWriter& writer, SectionGuard& guard,
                     const RunOptions& options) {
  if (Status s = CheckSweep(store, sectionAngles); !s) return s;
  const int sections = int(sectionAngles.size());
  bool forward = true;  // sections are written forward and backward by turns
  // The set-up's section is still in the raster; the first section starts clean.
  ClearRaster(store);
  SectionLanes lanes(store, table, sectionAngles, session.ModelTurnAngle, options.lanes);
  bool anyPath = false;
  for (int k = 0; k < sections; ++k) {
    const float a = sectionAngles[std::size_t(k)];
    TraceGuardedSection(store, host, lanes, guard, k, a);
    if (store.PathTolerance > 0) {
      SmoothPath(store.ToolPath, store.PathTolerance,
                 [&](PathPoint p, PathPoint q) { return guard.KeepsOff(a, p, q); });
    }
    anyPath = anyPath || !store.ToolPath.empty();
    if (options.onSection) options.onSection(a);
    if (!store.ToolPath.empty()) {
      guard.Enter(writer, a, store.ToolPath, forward);
      writer.WriteSectionNc(store.ToolPath, a, forward, host, {k + 1, sections});
      guard.Leave(a, store.ToolPath, forward);
    }
    ClearRaster(store);
    lanes.Done(k);
    forward = !forward;
    host.ReportProgress(k + 1, sections);
  }
  // A range or start height may leave single sections without a path; none at all
  // is a program that cuts nothing, which is never what was asked for. The model then
  // stays as it stood.
  if (!anyPath) {
    return Status::Error(ErrorCode::InvalidValue,
                         "No section has a tool path: at resolution " +
                             ShortestFloatText(store.Resolution) +
                             " the model covers no outline, or the start height and range "
                             "lie beside it.");
  }
  lanes.StoreInto(table);
  session.ModelTurnAngle = sectionAngles.back();
  return Status::Ok();
}

}  // namespace vantora
