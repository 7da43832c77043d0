#pragma once

#include <array>
#include <optional>
#include <vector>

#include "check/silhouette_tree.h"
#include "check/program_check.h"
#include "check/wire_motion.h"
#include "model/data_module.h"
#include "nc/nc_writer.h"
#include "view3d/facet_table.h"

namespace vantora {

// Keeps a sweep's sections and the moves between them off the model, measured against
// the facets (not the raster).
//
// A section whose path reaches into the model is filled again with every narrow facet
// whole (see FillCoverage). The program's straight move from one
// section's last point to the next one's first turns the table while the wire travels;
// where that would take the wire into the model, the wire goes out instead: along the
// end's height to beyond every silhouette, the table turns there, and the wire comes
// back in to the next start. Where even that way is blocked (another part of the model
// beside the section), it goes over the top of the model instead.
class SectionGuard {
 public:
  // For a sweep on the store's raster (after a tool-path set-up) of the table's facets,
  // which stand at `standAngle`.
  SectionGuard(const FacetTable& table, const TDataModule1& store, double standAngle);

  // Whether the wire, walking `path` at `angle`, reaches into the model.
  bool Reaches(float angle, const std::vector<PathPoint>& path) const;

  // Replays a program the sweep wrote against the model, into `report`.
  Status Check(const NcFormat& format, const NcProgram& program, ProgramReport& report) const;

  // A walk that ended in a dead end above the start height: appends the way down to
  // height `endY` outside every silhouette, out to the right (or the left) at the end's
  // height, or over the top of the model when both are blocked.
  void ComeDown(float angle, std::vector<PathPoint>& path, float endY) const;

  // Before the section at `angle` is written, whose first point is `first`: writes the
  // way around when the straight move from the previous section would reach the model.
  void Enter(NcWriter& writer, float angle, PathPoint first);
  // After the section at `angle` is written, whose last point is `last`.
  void Leave(float angle, PathPoint last) { last_ = AxisPosition{last.X, last.Y, angle}; }

 private:
  bool Clear(AxisPosition from, AxisPosition to) const;
  // Whether every move from `from` through `way` is clear.
  template <std::size_t N>
  bool ClearWay(AxisPosition from, const std::array<AxisPosition, N>& way) const;

  SilhouetteTree tree_;
  WireFrame frame_;
  double clearance_;  // mm beyond the axis outside every silhouette
  double top_;        // a height above the model, in the program's Y
  std::optional<AxisPosition> last_;
};

}  // namespace vantora
