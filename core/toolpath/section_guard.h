#pragma once

#include <optional>
#include <span>
#include <vector>

#include "core/check/program_check.h"
#include "core/check/silhouette_tree.h"
#include "core/check/wire_motion.h"
#include "core/model/data_module.h"
#include "core/nc/nc_writer.h"
#include "core/model/facet_table.h"

namespace vantora {

// Keeps a sweep's sections and the moves between them off the model, measured against
// the facets (not the raster), and checks the program the sweep wrote.
//
// It tells the sweep which section paths reach into the model (the sweep then fills
// them again), brings a walk that ends in a dead end down outside the model, and
// writes the way around where the program's straight move from one section's last
// point to the next one's first, made while the table turns, would take the wire into
// the model: out along the end's height beyond every silhouette, the table turning
// there, and back in to the next start; where even that way is blocked (another part
// of the model beside the section), over the top of the model; and where that is
// blocked too (the model overhangs the start), out and up beyond every silhouette,
// over, down on one side and in along the start's height. Where all of these are
// blocked, the wire goes back the way it came: along the section's own path to where
// its walk started, out along that height beyond every silhouette, and in the same way
// to the next section (along its path from where its walk started).
//
// Under an indexed table every way it takes turns the table in moves of their own, the
// wire standing still: a move that would turn the table as the wire moves is split into
// the turn where the move starts and the move, or the move and the turn where it ends,
// whichever keeps off the model. Where no way can be split so, it takes the way it
// would take for a table turning with the move.
//
// Every move is judged as the program writes it: its coordinates rounded to the
// profile's decimals, in the machine's frame.
class SectionGuard {
 public:
  // For a sweep on the store's raster (after a tool-path set-up) of the table's facets,
  // which stand at `standAngle`, written for `machine` (which must outlive the guard).
  SectionGuard(const FacetTable& table, const TDataModule1& store, double standAngle,
               const MachineProfile& machine);

  // Whether the wire, walking `path` at `angle`, reaches into the model.
  bool Reaches(float angle, const std::vector<PathPoint>& path) const;

  // Whether the wire moving straight from `from` to `to` at `angle` keeps off the model
  // entirely, not even grazing it, as the move is written.
  bool KeepsOff(float angle, PathPoint from, PathPoint to) const;

  // Replays the motion of a program the sweep wrote against the model, on the machine.
  ProgramReport Check(const NcMotionList& motion) const;

  // A walk that ended in a dead end above the start height: appends the way down to
  // height `endY` outside every silhouette, out to the right (or the left) at the end's
  // height, or over the top of the model; where all are blocked, back along the path
  // and out beyond every silhouette at its start's height.
  void ComeDown(float angle, std::vector<PathPoint>& path, float endY) const;

  // Before the section at `angle` is written along `path` (first to last when
  // `forward`, else last to first): writes the way there when the straight move from
  // the previous section would reach the model.
  void Enter(NcWriter& writer, float angle, const std::vector<PathPoint>& path, bool forward);
  // After that section is written.
  void Leave(float angle, const std::vector<PathPoint>& path, bool forward);

 private:
  AxisPosition AsWritten(AxisPosition p) const;
  bool Clear(AxisPosition from, AxisPosition to) const;
  // Appends the move from `from` to `to`, split into a turn and a move in the order
  // that keeps off the model when it would turn the table as the wire moves; false
  // when it is not clear either way.
  bool AppendIndexed(AxisPosition from, AxisPosition to, std::vector<AxisPosition>& out) const;
  // The first of `ways` (each from `from` up to `to`, which is appended) that can be
  // written with the table turning alone, as written; empty when none can.
  std::vector<AxisPosition> IndexedWay(AxisPosition from, AxisPosition to,
                                       std::span<const std::span<const AxisPosition>> ways) const;
  // Whether every move from `from` through `way` is clear.
  bool ClearWay(AxisPosition from, std::span<const AxisPosition> way) const;
  // From the previous section's last point back along its path, out beyond every
  // silhouette, turning to `angle`, in to the start of `path` and along it to its
  // point written first.
  std::vector<AxisPosition> WayBack(float angle, const std::vector<PathPoint>& path,
                                    bool forward) const;

  SilhouetteTree tree_;
  WireFrame frame_;
  double clearance_;  // mm beyond the axis outside every silhouette
  double top_;        // a height above the model, in the program's Y
  const MachineProfile& machine_;  // the program is written for
  // The section written last: its angle, its path and the way it was written.
  std::optional<float> lastAngle_;
  std::vector<PathPoint> lastPath_;
  bool lastForward_ = true;
};

}  // namespace vantora
